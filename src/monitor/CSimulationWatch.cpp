#include "monitor/CSimulationWatch.h"

#include "catalog/CCardInterface.h"
#include "catalog/CMonitorUnit.h"
#include "rack/CCardSlot.h"

#include <exception>

static_assert(CCardSlot::kSlotCount == 17);

namespace {

// A language file is outside input: without its slot texts the slot is
// still named, by its number.
std::wstring SlotName(const CCardSlot& rack, int index) {
    return TextOr([&] { return rack.GetSlotCaption(index); }, std::to_wstring(CCardSlot::GetSlotNumber(index)));
}

} // namespace

bool CSimulationWatch::IsSimulating(const CCardInterface& card) {
    if (!card.HasLiveValues()) {
        return false;
    }
    for (int channel = 0; channel < card.GetChannelCount(); ++channel) {
        CMonitorUnit unit;
        card.FillMonitorUnit(channel, unit);
        if (unit.kind == CMonitorUnit::KindSwitch && unit.switchValue != 0) {
            return true;
        }
    }
    return false;
}

void CSimulationWatch::Update(const CCardSlot& rack) {
    for (int index = 0; index < kSlots; ++index) {
        const auto slot = static_cast<std::size_t>(index);
        const auto card = rack.GetCard(index);
        if (!card || card->GetTypeCode() == 0) {
            // Only an I/O slot can be found empty; the COM slot's card is
            // never the empty one, and a rack without cards says nothing.
            if (card) {
                m_simulating[slot] = false;
            }
            continue;
        }
        if (!card->HasLiveValues()) {
            continue; // not read in this cycle: what was known stands
        }
        m_simulating[slot] = IsSimulating(*card);
        if (m_simulating[slot]) {
            m_modules[slot] = Module{index, SlotName(rack, index), card->GetCardName().GetModelName()};
        }
    }
}

void CSimulationWatch::Clear() {
    m_simulating.fill(false);
}

std::vector<CSimulationWatch::Module> CSimulationWatch::GetModules() const {
    std::vector<Module> modules;
    for (std::size_t slot = 0; slot < m_simulating.size(); ++slot) {
        if (m_simulating[slot]) {
            modules.push_back(m_modules[slot]);
        }
    }
    return modules;
}

bool CSimulationWatch::Any() const {
    for (const bool simulating : m_simulating) {
        if (simulating) {
            return true;
        }
    }
    return false;
}

std::wstring CSimulationWatch::Describe() const {
    return Describe(GetModules());
}

std::wstring CSimulationWatch::Describe(const std::vector<Module>& modules) {
    std::wstring text;
    for (const Module& module : modules) {
        if (!text.empty()) {
            text += L", ";
        }
        text += module.caption + L" " + module.model;
    }
    return text;
}
