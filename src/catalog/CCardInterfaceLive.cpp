#include "catalog/CCardInterface.h"

#include "base/CMessageFormatter.h"
#include "catalog/CMonitorUnit.h"
#include "catalog/ModelRegistry.h"
#include "catalog/ValueText.h"
#include "link/CGICommandParser.h"
#include "link/CJX5COMInterface.h"
#include "link/Protocol.h"

#include <stdexcept>
#include <vector>

namespace {

constexpr std::int32_t kDateTimeSlot = 10;

// The communication module passes on the points of a 16-point digital module
// on page 2: item 1 switches the read-through on, item 4 chooses the slot,
// items 20/21 and 29/30 carry the two point sets as low and high word.

// Channel status codes the card tells apart: after 3 the value is shown
// unsigned, after 8 signed, both without a unit; after any other code signed
// in the unit the module reports.
constexpr std::int32_t kStatusUnsignedRaw = 3;
constexpr std::int32_t kStatusSignedRaw = 8;
constexpr std::int32_t kUnitRaw = 1;
constexpr std::int32_t kUnitEngineering = -1;

constexpr std::int32_t kDigitalWordPoints = 16;

// A channel value has at most three (page, item) pairs, fields 6 to 8 and 9 to 11.
constexpr int kMaxChannelValues = 3;

std::uint32_t Word(std::uint32_t value) {
    return value & 0xFFFF;
}

class ItemList {
public:
    void Add(std::int32_t page, std::int32_t item) {
        m_pages.push_back(static_cast<std::uint32_t>(page));
        m_items.push_back(static_cast<std::uint32_t>(item));
    }
    void Add(std::int32_t page, std::int32_t item, std::wstring text) {
        Add(page, item);
        m_texts.push_back(std::move(text));
    }
    const std::vector<std::uint32_t>& Pages() const { return m_pages; }
    const std::vector<std::uint32_t>& Items() const { return m_items; }
    const std::vector<std::wstring>& Texts() const { return m_texts; }

private:
    std::vector<std::uint32_t> m_pages;
    std::vector<std::uint32_t> m_items;
    std::vector<std::wstring> m_texts;
};

// The replies of one ReadItems, taken in the order they were asked for.
class ReplyCursor {
public:
    explicit ReplyCursor(const std::vector<std::wstring>& texts) : m_texts(texts) {}
    CGICommandParser Next() {
        if (m_next >= m_texts.size()) {
            throw std::logic_error("fewer replies than items asked for");
        }
        return CGICommandParser(m_texts[m_next++]);
    }

private:
    const std::vector<std::wstring>& m_texts;
    std::size_t m_next = 0;
};

} // namespace

void CCardInterface::ExchangeLiveValues(std::int32_t slotNumber, CJX5COMInterface& link, bool simulate,
                                        StationAttribute attribute) {
    if (slotNumber == 0 || slotNumber > 16) {
        if (FindModel(CardRegistry::Com, m_typeCode).traits.clockRow && !simulate) {
            ItemList list;
            for (int channel = 0; channel < m_channelCount; ++channel) {
                const ChannelDefinition& row = GetChannelRow(channel);
                if (row.channelKind == ChannelDateTime) {
                    list.Add(row.valuePage, row.valueItem);
                }
            }
            std::vector<std::wstring> texts;
            link.ReadItems(static_cast<std::uint32_t>(slotNumber), list.Pages(), list.Items(), texts);
            if (!texts.empty()) {
                SetTextSlot(kDateTimeSlot, CGICommandParser(texts.front()).GetValue());
            }
        }
    } else if (FindModel(CardRegistry::Io, m_typeCode).traits.digital16 != Digital16::None &&
               !attribute.AddressesDigital16()) {
        ExchangeThroughCommunicationModule(slotNumber, link);
    } else if (!simulate) {
        ReadChannels(slotNumber, link);
    } else {
        WriteSimulation(slotNumber, link);
    }
    // Not reached when the exchange fails: a card that never completed one
    // shows no values rather than defaults taken for readings.
    SetLiveValuesPresent();
}

void CCardInterface::ExchangeThroughCommunicationModule(std::int32_t slotNumber, CJX5COMInterface& link) {
    ItemList select;
    select.Add(kThroughPage, kThroughEnableItem, L"1");
    select.Add(kThroughPage, kThroughSlotItem, CMessageFormatter::Printf(L"%d", slotNumber));
    link.WriteItems(0, select.Pages(), select.Items(), select.Texts());

    ItemList points;
    for (std::int32_t item : {20, 21, 29, 30}) {
        points.Add(kThroughPage, item);
    }
    std::vector<std::wstring> texts;
    link.ReadItems(0, points.Pages(), points.Items(), texts);
    ReplyCursor replies(texts);
    const std::uint32_t firstLow = Word(replies.Next().GetHexValue());
    const std::uint32_t firstHigh = Word(replies.Next().GetHexValue());
    const std::uint32_t secondLow = Word(replies.Next().GetHexValue());
    const std::uint32_t secondHigh = Word(replies.Next().GetHexValue());
    SetDword(kThroughPage, 20, firstHigh << 16 | firstLow);
    SetDword(kThroughPage, 29, secondHigh << 16 | secondLow);

    ItemList release;
    release.Add(kThroughPage, kThroughEnableItem, L"0");
    link.WriteItems(0, release.Pages(), release.Items(), release.Texts());
}

void CCardInterface::ReadChannels(std::int32_t slotNumber, CJX5COMInterface& link) {
    ItemList list;
    for (int channel = 0; channel < m_channelCount; ++channel) {
        const ChannelDefinition& row = GetChannelRow(channel);
        switch (row.channelKind) {
        case ChannelAnalog:
        case ChannelCounter:
            if (row.valueItem != 0) {
                list.Add(row.valuePage, row.valueItem);
            }
            if (row.statusItem != 0) {
                list.Add(row.valuePage, row.statusItem);
            }
            if (row.channelKind == ChannelAnalog && row.secondItem != 0) {
                list.Add(row.secondPage, row.secondItem);
            }
            break;
        case ChannelDigital:
            list.Add(row.valuePage, row.valueItem);
            if (row.valueDecimals > kDigitalWordPoints) {
                list.Add(row.valuePage, row.valueItem + 1);
            }
            break;
        case ChannelSwitch:
            list.Add(row.valuePage, row.valueItem);
            break;
        default:
            break;
        }
    }
    std::vector<std::wstring> texts;
    link.ReadItems(static_cast<std::uint32_t>(slotNumber), list.Pages(), list.Items(), texts);

    ReplyCursor replies(texts);
    for (int channel = 0; channel < m_channelCount; ++channel) {
        ChannelDefinition& row = ChannelRow(channel);
        switch (row.channelKind) {
        case ChannelAnalog:
        case ChannelCounter:
            if (row.valueItem != 0) {
                const std::uint32_t value = replies.Next().GetDecValue();
                if (row.channelKind == ChannelCounter) {
                    SetDword(row.valuePage, row.valueItem, value);
                } else {
                    SetWord(row.valuePage, row.valueItem, static_cast<std::int32_t>(Word(value)));
                }
            }
            if (row.statusItem != 0) {
                // The status says how the module reports the value now: the
                // monitor shows it raw, unsigned or signed, without decimals.
                const auto status = static_cast<std::int32_t>(replies.Next().GetDecValue());
                m_lastStatus = status;
                row.valueDecimals = 0;
                row.valueUnit = (status == kStatusUnsignedRaw || status == kStatusSignedRaw)
                                    ? kUnitRaw
                                    : kUnitEngineering;
                SetChannelSignFlag(channel, status == kStatusUnsignedRaw ? 0 : 1);
            }
            if (row.channelKind == ChannelAnalog && row.secondItem != 0) {
                SetWord(row.secondPage, row.secondItem,
                        static_cast<std::int32_t>(Word(replies.Next().GetDecValue())));
            }
            break;
        case ChannelDigital: {
            std::uint32_t points = Word(replies.Next().GetHexValue());
            if (row.valueDecimals > kDigitalWordPoints) {
                points |= Word(replies.Next().GetHexValue()) << 16;
            }
            SetDword(row.valuePage, row.valueItem, points);
            break;
        }
        case ChannelSwitch:
            SetWord(row.valuePage, row.valueItem,
                    static_cast<std::int32_t>(Word(replies.Next().GetDecValue())));
            break;
        default:
            break;
        }
    }
}

void CCardInterface::WriteSimulation(std::int32_t slotNumber, CJX5COMInterface& link) {
    ItemList list;
    list.Add(0, 1, L"1");
    if (!LeavesPageOneAlone(slotNumber)) {
        list.Add(1, 1, L"1");
    }
    const auto mode = static_cast<std::uint32_t>(m_simulationMode);
    for (int channel = 0; channel < m_channelCount; ++channel) {
        const ChannelDefinition& row = GetChannelRow(channel);
        switch (row.channelKind) {
        case ChannelAnalog: {
            // Until a status has set the channel's unit there is no form to
            // send the value in: the empty text hands the channel back to the module.
            std::wstring text;
            if (row.valueUnit == kUnitEngineering || row.valueUnit == kUnitRaw) {
                text = CMessageFormatter::Printf(
                    L"%d", static_cast<int>(static_cast<std::int16_t>(
                               Word(static_cast<std::uint32_t>(GetSimulationValue(channel))))));
            }
            list.Add(row.valuePage, row.valueItem, std::move(text));
            break;
        }
        case ChannelDigital:
            list.Add(row.valuePage, row.valueItem, CMessageFormatter::Printf(L"%04X", Word(mode)));
            if (row.valueDecimals > kDigitalWordPoints) {
                list.Add(row.valuePage, row.valueItem + 1, CMessageFormatter::Printf(L"%04X", mode >> 16));
            }
            break;
        case ChannelCounter: {
            // The counter models carry unit 0 and so always hand the counter
            // back; only a unit set by a status chooses a text.
            const auto value = static_cast<std::uint32_t>(GetSimulationValue(channel));
            std::wstring text;
            if (row.valueUnit == kUnitEngineering) {
                text = CMessageFormatter::Printf(L"%lu", static_cast<unsigned long>(value));
            } else if (row.valueUnit == kUnitRaw) {
                text = CMessageFormatter::Printf(L"%d",
                                                 static_cast<int>(static_cast<std::int16_t>(Word(value))));
            }
            list.Add(row.valuePage, row.valueItem, std::move(text));
            break;
        }
        default:
            break;
        }
    }
    list.Add(0, 1, L"0");
    if (!LeavesPageOneAlone(slotNumber)) {
        list.Add(1, 1, L"0");
    }
    link.WriteItems(static_cast<std::uint32_t>(slotNumber), list.Pages(), list.Items(), list.Texts());
}

void CCardInterface::FillMonitorUnit(std::int32_t channel, CMonitorUnit& unit) const {
    if (channel < 0 || channel >= m_channelCount || !HasLiveValues()) {
        return;
    }
    const ChannelDefinition& row = GetChannelRow(channel);
    const auto fillValues = [&](bool counter) {
        std::wstring values;
        for (int j = 0; j < kMaxChannelValues; ++j) {
            const std::int32_t page = row.Field(6 + j);
            const std::int32_t item = row.Field(9 + j);
            if (item == 0) {
                break;
            }
            const std::wstring text =
                counter ? FormatNumber(static_cast<std::int32_t>(GetDword(page, item)), 0, 0, 10, KindNone)
                        : FormatNumber(GetWord(page, item), GetChannelSignFlag(channel, 0), row.Field(12 + j),
                                       10, KindDecimal16);
            if (j == 0) {
                unit.mainValue = text;
            } else {
                values += L"\n";
            }
            values += text;
        }
        unit.values = std::move(values);
        unit.status = m_lastStatus;
    };

    unit.name = CMessageFormatter::Printf(L"Ch %d", channel + 1);
    switch (row.channelKind) {
    case ChannelAnalog:
        unit.kind = CMonitorUnit::KindAnalog;
        fillValues(false);
        break;
    case ChannelDigital:
        unit.kind = CMonitorUnit::KindDigital;
        unit.bits = GetDword(row.valuePage, row.valueItem);
        unit.pointCount = row.valueDecimals;
        break;
    case ChannelSwitch:
        unit.kind = CMonitorUnit::KindSwitch;
        unit.switchValue = GetWord(row.valuePage, row.valueItem);
        break;
    case ChannelCounter:
        unit.kind = CMonitorUnit::KindCounter;
        fillValues(true);
        break;
    default:
        break;
    }
}

bool CCardInterface::IsSimulating() const {
    if (!HasLiveValues()) {
        return false;
    }
    for (int channel = 0; channel < m_channelCount; ++channel) {
        const ChannelDefinition& row = GetChannelRow(channel);
        if (row.channelKind == ChannelSwitch) {
            return GetWord(row.valuePage, row.valueItem) > 0;
        }
    }
    return false;
}

std::int32_t CCardInterface::ParseSimulationValue(std::int32_t channel, const std::wstring& text) const {
    // The rows beyond the model's channels are empty, not analog channels.
    if (channel < 0 || channel >= m_channelCount) {
        return 0;
    }
    switch (GetChannelRow(channel).channelKind) {
    case ChannelAnalog:
        // The module takes whole numbers: a typed fraction is cut off.
        return CGICommandParser(text).GetScaledValue(0);
    case ChannelCounter:
        return static_cast<std::int32_t>(CGICommandParser(text).GetDecValue());
    default:
        return 0;
    }
}
