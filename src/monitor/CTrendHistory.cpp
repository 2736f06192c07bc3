#include "monitor/CTrendHistory.h"

#include "base/CResourceManager.h"
#include "catalog/CCardInterface.h"
#include "catalog/CMonitorUnit.h"
#include "rack/CCardSlot.h"

#include <algorithm>
#include <charconv>

static_assert(CCardSlot::kSlotCount == CTrendHistory::kSlots);

namespace {

const std::wstring kNoText;

} // namespace

CTrendHistory::CTrendHistory(std::chrono::milliseconds span, std::chrono::milliseconds spacing)
    : m_span(span), m_spacing(spacing),
      // One more than the span holds at the spacing, so that the oldest
      // sample still lies at or beyond the span's start.
      m_capacity(static_cast<std::size_t>(span.count() / (spacing.count() > 0 ? spacing.count() : 1)) + 2) {}

bool CTrendHistory::ParseValue(const std::wstring& text, double& value) {
    std::string narrow;
    narrow.reserve(text.size());
    for (const wchar_t c : text) {
        if (c > 0x7F) {
            return false;
        }
        narrow += static_cast<char>(c);
    }
    const char* first = narrow.data();
    const char* last = first + narrow.size();
    while (first < last && *first == ' ') {
        ++first;
    }
    if (first < last && *first == '+') {
        ++first;
    }
    const auto [end, problem] = std::from_chars(first, last, value);
    return problem == std::errc() && end == last && first != last;
}

void CTrendHistory::Rebuild(Slot& slot, const CCardInterface& card, const std::wstring& model) const {
    slot = Slot{};
    slot.model = model;
    for (int channel = 0; channel < card.GetChannelCount() && static_cast<int>(slot.curves.size()) < kMaxCurves;
         ++channel) {
        CMonitorUnit unit;
        card.FillMonitorUnit(channel, unit);
        if (unit.kind != CMonitorUnit::KindAnalog && unit.kind != CMonitorUnit::KindCounter) {
            continue;
        }
        Curve curve;
        // Named as the monitor's list names the channel, in the language in use.
        try {
            curve.name = CResourceManager::FormatMessage(Msg::channel, channel + 1);
        } catch (const std::exception&) {
            curve.name = unit.name;
        }
        curve.channel = channel;
        curve.ring.resize(m_capacity);
        slot.curves.push_back(std::move(curve));
    }
}

void CTrendHistory::Add(const CCardSlot& rack, std::chrono::system_clock::time_point when) {
    const double time =
        static_cast<double>(std::chrono::duration_cast<std::chrono::milliseconds>(when.time_since_epoch()).count());
    for (int index = 0; index < kSlots; ++index) {
        Slot& slot = m_slots[static_cast<std::size_t>(index)];
        const auto card = rack.GetCard(index);
        if (!card || card->GetTypeCode() == 0) {
            if (card && !slot.model.empty()) {
                slot = Slot{};
            }
            continue;
        }
        if (!card->HasLiveValues()) {
            continue;
        }
        const std::wstring& model = card->GetCardName().GetModelName();
        if (slot.model != model) {
            Rebuild(slot, *card, model);
        }
        if (slot.sampled && time - slot.lastTime < static_cast<double>(m_spacing.count()) &&
            time >= slot.lastTime) {
            continue;
        }
        bool added = false;
        for (Curve& curve : slot.curves) {
            CMonitorUnit unit;
            card->FillMonitorUnit(curve.channel, unit);
            double value = 0.0;
            if (!ParseValue(unit.mainValue, value)) {
                continue;
            }
            curve.ring[curve.next] = Sample{time, value};
            curve.next = (curve.next + 1) % curve.ring.size();
            curve.count = std::min(curve.count + 1, curve.ring.size());
            added = true;
        }
        if (added) {
            slot.lastTime = time;
            slot.sampled = true;
        }
    }
}

void CTrendHistory::Clear() {
    m_slots = {};
}

const std::wstring& CTrendHistory::GetModel(int slotIndex) const {
    if (slotIndex < 0 || slotIndex >= kSlots) {
        return kNoText;
    }
    return m_slots[static_cast<std::size_t>(slotIndex)].model;
}

int CTrendHistory::GetCurveCount(int slotIndex) const {
    if (slotIndex < 0 || slotIndex >= kSlots) {
        return 0;
    }
    return static_cast<int>(m_slots[static_cast<std::size_t>(slotIndex)].curves.size());
}

const std::wstring& CTrendHistory::GetCurveName(int slotIndex, int curve) const {
    if (curve < 0 || curve >= GetCurveCount(slotIndex)) {
        return kNoText;
    }
    return m_slots[static_cast<std::size_t>(slotIndex)].curves[static_cast<std::size_t>(curve)].name;
}

void CTrendHistory::CopySamples(int slotIndex, int curve, double fromTime, std::vector<Sample>& out) const {
    if (curve < 0 || curve >= GetCurveCount(slotIndex)) {
        return;
    }
    const Curve& ring = m_slots[static_cast<std::size_t>(slotIndex)].curves[static_cast<std::size_t>(curve)];
    const std::size_t size = ring.ring.size();
    const std::size_t first = (ring.next + size - ring.count) % size;
    for (std::size_t i = 0; i < ring.count; ++i) {
        const Sample& sample = ring.ring[(first + i) % size];
        if (sample.time >= fromTime) {
            out.push_back(sample);
        }
    }
}

std::size_t CTrendHistory::GetSampleCount() const {
    std::size_t count = 0;
    for (const Slot& slot : m_slots) {
        for (const Curve& curve : slot.curves) {
            count += curve.count;
        }
    }
    return count;
}
