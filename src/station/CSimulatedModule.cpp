#include "station/CSimulatedModule.h"

#include "base/LocalTime.h"
#include "catalog/ModelRegistry.h"
#include "catalog/tables/ModelTables.h"
#include "station/StationText.h"

#include <cstdio>
#include <ctime>
#include <cwctype>
#include <stdexcept>

namespace {

// Longest reply text: the payload holds 255 bytes, four of them the header.
constexpr std::size_t kMaxReplyText = 251;

// The row of a model a station can hold, in either registry.
const ModelRow* ModuleModel(std::wstring_view model) {
    for (const ModelRow& row : AllModelRows()) {
        if (IsModule(row) && model == row.name) {
            return &row;
        }
    }
    return nullptr;
}

} // namespace

// A 16-point digital module is built from its own table whatever the station
// attribute says; the generic layout is added to it below.
const ModelTable& CSimulatedModule::TableOf(const std::wstring& model) {
    const ModelRow* row = ModuleModel(model);
    if (row == nullptr) {
        throw std::invalid_argument("no simulated module of this model");
    }
    return row->table();
}

namespace {

std::wstring Upper(std::wstring_view text) {
    std::wstring result(text);
    for (wchar_t& c : result) {
        c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
    }
    return result;
}

std::wstring Hex4(std::uint32_t value) {
    wchar_t buffer[8];
    std::swprintf(buffer, 8, L"%04X", value & 0xFFFF);
    return buffer;
}

std::int64_t FloorDiv(std::int64_t value, std::int64_t divisor) {
    return value >= 0 ? value / divisor : (value - divisor + 1) / divisor;
}

// A triangle between 0 and 10000 that takes 20 s to go up and down.
std::int64_t Triangle(std::int64_t ms) {
    const std::int64_t phase = ms - FloorDiv(ms, 20000) * 20000;
    return phase < 10000 ? phase : 20000 - phase;
}

// Seconds of the computer's local time now, counted as if it were UTC, so that
// a fresh module clock shows the time of day the user expects.
std::int64_t LocalSecondsNow() {
    const std::time_t now = std::time(nullptr);
    return static_cast<std::int64_t>(now) + UtcOffsetSeconds(now);
}

bool IsControlText(std::wstring_view text) {
    return text == L"0" || text == L"1";
}

} // namespace

CSimulatedModule::CSimulatedModule(std::wstring model, int slot) : m_model(std::move(model)), m_slot(slot) {
    const ModelRow* row = ModuleModel(m_model);
    m_digital16 = row != nullptr && row->traits.digital16 != Digital16::None;
    AddParameters();
    // The edit switch of pages 0 and 1: the tool sets it to "1" before it
    // writes a module's values and back to "0" after.
    for (int page : {0, 1}) {
        Item control;
        control.role = Role::Control;
        control.word = L"EDIT";
        control.text = L"0";
        m_items.try_emplace(Key{page, 1}, control);
    }
    if (m_slot == 0) {
        Item enable;
        enable.role = Role::Control;
        enable.word = L"EDIT";
        enable.text = L"0";
        m_items.try_emplace(Key{2, 1}, enable);
        Item select;
        select.role = Role::Select;
        select.word = L"SLOT";
        select.text = L"0";
        m_items.try_emplace(Key{2, 4}, select);
    }
    AddChannels();
    m_clockOffset = LocalSecondsNow();
}

void CSimulatedModule::AddParameters() {
    for (const ParameterDefinition& row : TableOf(m_model).parameters) {
        const bool stored = row.kind >= KindText && row.kind <= KindDecimal16Raw && row.kind != KindWord32 &&
                            row.kind != KindNone && row.kind != KindSwitches4;
        if (!stored) {
            continue;
        }
        Item item;
        item.role = Role::Parameter;
        item.row = &row;
        item.word = Upper(row.fileKey != nullptr && row.fileKey[0] != 0 ? row.fileKey : row.textKey);
        item.text = DefaultItemText(row, m_slot);
        m_items.try_emplace(Key{row.page, row.item}, item);
    }
}

void CSimulatedModule::AddLive(int page, int item, Role role, int channel, int half) {
    Item live;
    live.role = role;
    live.word = role == Role::Status ? L"STAT" : L"DATA";
    live.channel = channel;
    live.half = half;
    m_items.try_emplace(Key{page, item}, live);
}

void CSimulatedModule::AddChannels() {
    const auto addTable = [this](const ModelTable& table) {
        int pointSet = 0;
        int channel = 0;
        for (const ChannelDefinition& row : table.channels) {
            switch (row.channelKind) {
            case ChannelAnalog:
                AddLive(row.valuePage, row.valueItem, Role::Analog, channel);
                if (row.statusItem != 0) {
                    AddLive(row.valuePage, row.statusItem, Role::Status, channel);
                }
                if (row.secondItem != 0) {
                    AddLive(row.secondPage, row.secondItem, Role::Second, channel);
                }
                break;
            case ChannelDigital:
                AddLive(row.valuePage, row.valueItem, Role::Digital, pointSet, 0);
                if (row.valueDecimals > 16) {
                    AddLive(row.valuePage, row.valueItem + 1, Role::Digital, pointSet, 1);
                }
                ++pointSet;
                break;
            case ChannelCounter:
                AddLive(row.valuePage, row.valueItem, Role::Counter, channel);
                break;
            case ChannelSwitch: {
                // The switch is the module's "simu" parameter where it has one.
                const Key key{row.valuePage, row.valueItem};
                if (!m_items.contains(key)) {
                    Item control;
                    control.role = Role::Control;
                    control.word = L"SIMU";
                    control.text = L"0";
                    m_items.emplace(key, control);
                }
                m_switch = key;
                break;
            }
            case ChannelDateTime: {
                Item& clock = m_items[Key{row.valuePage, row.valueItem}];
                clock.role = Role::DateTime;
                clock.word = L"DATETIME";
                break;
            }
            default:
                break;
            }
            ++channel;
        }
    };
    addTable(TableOf(m_model));
    if (m_digital16) {
        // The same points in the generic two-channel layout on page 2, which
        // the tool uses for these modules while the station attribute is 0.
        addTable(TableDIO());
    }
}

bool CSimulatedModule::IsSimulating() const {
    if (!m_switch) {
        return false;
    }
    const auto found = m_items.find(*m_switch);
    std::int64_t value = 0;
    return found != m_items.end() && ParseIntegerText(found->second.text, 10, value) && value > 0;
}

std::wstring CSimulatedModule::LiveValue(const Item& item, std::int64_t nowMs) const {
    const std::int64_t phase = static_cast<std::int64_t>(m_slot * 5 + item.channel) * 1700;
    switch (item.role) {
    case Role::Analog:
        return std::to_wstring(Triangle(nowMs + phase));
    case Role::Second:
        return std::to_wstring(Triangle(nowMs + phase) / 2);
    case Role::Status:
        return L"0";
    case Role::Digital:
        // A point that walks along the first sixteen points, one step each half second.
        if (item.channel == 0 && item.half == 0) {
            return Hex4(1U << static_cast<unsigned>((FloorDiv(nowMs, 500) + m_slot) % 16));
        }
        return L"0000";
    case Role::Counter:
        return std::to_wstring(
            static_cast<std::uint32_t>(FloorDiv(nowMs, 100) + item.channel * 10000LL + m_slot * 100000LL));
    case Role::DateTime:
        return FormatStationDateTime(m_clockOffset + FloorDiv(nowMs, 1000));
    default:
        return item.text;
    }
}

std::wstring CSimulatedModule::ValueOf(const Item& item, std::int64_t nowMs) const {
    if (item.pinned) {
        return *item.pinned;
    }
    switch (item.role) {
    case Role::Analog:
    case Role::Second:
    case Role::Counter:
        if (IsSimulating() && !item.text.empty()) {
            return item.text;
        }
        return LiveValue(item, nowMs);
    case Role::Digital:
        if (const auto simulated = m_simulatedPoints.find(Key{item.channel, item.half});
            IsSimulating() && simulated != m_simulatedPoints.end()) {
            return simulated->second;
        }
        return LiveValue(item, nowMs);
    case Role::Status:
    case Role::DateTime:
        return LiveValue(item, nowMs);
    default:
        return item.text;
    }
}

std::optional<std::wstring> CSimulatedModule::GetValue(int page, int item, std::int64_t nowMs) const {
    const auto found = m_items.find(Key{page, item});
    if (found == m_items.end()) {
        return std::nullopt;
    }
    return ValueOf(found->second, nowMs);
}

CSimulatedModule::Access CSimulatedModule::Read(int page, int item, std::int64_t nowMs,
                                                std::wstring& reply) const {
    const auto found = m_items.find(Key{page, item});
    if (found == m_items.end()) {
        return Access::NoSuchItem;
    }
    reply = found->second.word + L':' + ValueOf(found->second, nowMs);
    if (reply.size() > kMaxReplyText) {
        reply.resize(kMaxReplyText);
    }
    return Access::Ok;
}

CSimulatedModule::Access CSimulatedModule::Write(int page, int item, std::wstring_view text,
                                                 std::int64_t nowMs) {
    const auto found = m_items.find(Key{page, item});
    if (found == m_items.end()) {
        return Access::NoSuchItem;
    }
    Item& target = found->second;
    std::int64_t value = 0;
    switch (target.role) {
    case Role::Parameter: {
        std::optional<std::wstring> kept = AcceptItemText(*target.row, text);
        // A text the module could not report back whole is not taken either.
        if (!kept || target.word.size() + 1 + kept->size() > kMaxReplyText) {
            return Access::Refused;
        }
        target.text = std::move(*kept);
        return Access::Ok;
    }
    case Role::Control:
        if (!IsControlText(text)) {
            return Access::Refused;
        }
        target.text = text;
        return Access::Ok;
    case Role::Select:
        if (!ParseIntegerText(text, 10, value) || value < 0 || value > 16) {
            return Access::Refused;
        }
        target.text = text;
        return Access::Ok;
    case Role::Analog:
    case Role::Second:
    case Role::Counter:
        // An empty text takes the simulated value back: the channel shows its
        // own value again even while the module simulates.
        if (!text.empty() &&
            (!ParseIntegerText(text, 10, value) || value < INT32_MIN || value > UINT32_MAX)) {
            return Access::Refused;
        }
        target.text = text;
        return Access::Ok;
    case Role::Digital:
        if (text.empty()) {
            m_simulatedPoints.erase(Key{target.channel, target.half});
            return Access::Ok;
        }
        if (text.size() > 4 || !ParseIntegerText(text, 16, value)) {
            return Access::Refused;
        }
        m_simulatedPoints[Key{target.channel, target.half}] = text;
        return Access::Ok;
    case Role::DateTime: {
        const std::optional<std::int64_t> seconds = ParseStationDateTime(text);
        if (!seconds) {
            return Access::Refused;
        }
        m_clockOffset = *seconds - FloorDiv(nowMs, 1000);
        return Access::Ok;
    }
    case Role::Status:
        return Access::Refused;
    }
    return Access::Refused;
}

void CSimulatedModule::PinValue(int page, int item, std::optional<std::wstring> text) {
    const auto found = m_items.find(Key{page, item});
    if (found == m_items.end()) {
        throw std::invalid_argument("the module has no such item");
    }
    found->second.pinned = std::move(text);
}
