#include "catalog/CCardInterface.h"

#include "base/CMessageFormatter.h"
#include "base/CPrivateException.h"
#include "base/CResourceDatabase.h"
#include "base/CXmlReaderWriter.h"
#include "catalog/ValueText.h"

#include <stdexcept>

namespace {

bool IsOneWordKind(std::int32_t kind) {
    return kind == KindList || kind == KindDecimal16 || kind == KindInteger16 || kind == KindSwitches4 ||
           kind == KindDecimal16Raw;
}

bool IsTwoWordKind(std::int32_t kind) {
    return kind == KindSigned32 || kind == KindUnsigned32 || kind == KindIpAddress || kind == KindWord32;
}

// Slots whose default is the "-" placeholder; the login slots 6 to 9 start empty.
bool SlotDefaultsToDash(std::int32_t slot) {
    return slot < 6 || slot > 9;
}

// A list has at most this many options.
constexpr int kMaxListOptions = 1000;

void CheckIndex(int index, int count, const char* what) {
    if (index < 0 || index >= count) {
        throw std::out_of_range(what);
    }
}

int ItemCode(const ParameterDefinition& definition) {
    return definition.page * 256 + definition.item;
}

} // namespace

CCardInterface::CCardInterface(std::int32_t typeCode, std::span<const ParameterDefinition> parameters,
                               std::span<const ChannelDefinition> channels)
    : m_typeCode(typeCode), m_parameters(parameters),
      m_channelCount(static_cast<std::int32_t>(channels.size())) {
    if (channels.size() > kMaxChannels) {
        throw std::invalid_argument("a model has at most 16 channel rows");
    }
    for (std::size_t i = 0; i < channels.size(); ++i) {
        m_channels[i] = channels[i];
    }
    ApplyDefaults();
}

CCardInterface::CCardInterface(std::int32_t typeCode, const ModelTable& table)
    : CCardInterface(typeCode, table.parameters, table.channels) {}

CCardInterface::~CCardInterface() = default;

void CCardInterface::CopyStateFrom(const CCardInterface& other) {
    if (&other == this) {
        return;
    }
    m_registers = other.m_registers;
    m_textSlots = other.m_textSlots;
    m_typeCode = other.m_typeCode;
    m_parameters = other.m_parameters;
    m_channels = other.m_channels;
    m_channelCount = other.m_channelCount;
    m_liveValuesPresent = other.m_liveValuesPresent;
    m_channelSignFlags = other.m_channelSignFlags;
    m_sectionName = other.m_sectionName;
    m_cardName = other.m_cardName;
    m_simulationMode = other.m_simulationMode;
    m_simulationValues = other.m_simulationValues;
    m_adjustmentRead = other.m_adjustmentRead;
    m_lastStatus = other.m_lastStatus;
    m_unreadFileTexts = other.m_unreadFileTexts;
}

void CCardInterface::ApplyDefaults() {
    for (const ParameterDefinition& definition : m_parameters) {
        if (definition.kind == KindText) {
            CheckIndex(definition.textSlot, kTextSlotCount, "text slot");
            m_textSlots[definition.textSlot] = SlotDefaultsToDash(definition.textSlot) ? L"-" : L"";
        } else if (IsOneWordKind(definition.kind)) {
            SetWord(definition.page, definition.item, definition.defaultValue);
        } else if (IsTwoWordKind(definition.kind)) {
            SetDword(definition.page, definition.item, static_cast<std::uint32_t>(definition.defaultValue));
        }
    }
}

const ParameterDefinition& CCardInterface::GetParameter(int row) const {
    CheckIndex(row, GetParameterCount(), "parameter row");
    return m_parameters[static_cast<std::size_t>(row)];
}

const ChannelDefinition& CCardInterface::GetChannelRow(int channel) const {
    CheckIndex(channel, kMaxChannels, "channel row");
    return m_channels[static_cast<std::size_t>(channel)];
}

ChannelDefinition& CCardInterface::ChannelRow(int channel) {
    CheckIndex(channel, kMaxChannels, "channel row");
    return m_channels[static_cast<std::size_t>(channel)];
}

std::size_t CCardInterface::WordIndex(int page, int item) {
    CheckIndex(page, kPageCount, "register page");
    CheckIndex(item, kItemCount, "register item");
    return static_cast<std::size_t>(item);
}

std::int16_t CCardInterface::GetWord(int page, int item) const {
    const std::size_t low = WordIndex(page, item);
    return static_cast<std::int16_t>(m_registers[static_cast<std::size_t>(page)][low]);
}

std::uint32_t CCardInterface::GetDword(int page, int item) const {
    const std::size_t low = WordIndex(page, item);
    const auto& words = m_registers[static_cast<std::size_t>(page)];
    return static_cast<std::uint32_t>(words[low + kItemCount]) << 16 | words[low];
}

void CCardInterface::SetWord(int page, int item, std::int32_t value) {
    const std::size_t low = WordIndex(page, item);
    if (!m_unreadFileTexts.empty()) {
        m_unreadFileTexts.erase(page * 256 + item);
    }
    m_registers[static_cast<std::size_t>(page)][low] = static_cast<std::uint16_t>(value & 0xFFFF);
}

void CCardInterface::ResetOnRangeChange(int row, int channels, bool withBase) {
    const ParameterDefinition& definition = GetParameter(row);
    const int n = definition.item - 0x42;
    if (definition.page != 1 || n < 0 || n >= channels) {
        return;
    }
    if (withBase) {
        SetWord(1, 0x2a + 2 * n, 0);
        SetWord(1, 0x2b + 2 * n, 0);
    }
    SetWord(1, 0x0a + 2 * n, 0);
    SetWord(1, 0x0b + 2 * n, 10000);
}

void CCardInterface::SetDword(int page, int item, std::uint32_t value) {
    const std::size_t low = WordIndex(page, item);
    if (!m_unreadFileTexts.empty()) {
        m_unreadFileTexts.erase(page * 256 + item);
    }
    auto& words = m_registers[static_cast<std::size_t>(page)];
    words[low] = static_cast<std::uint16_t>(value & 0xFFFF);
    words[low + kItemCount] = static_cast<std::uint16_t>(value >> 16);
}

const std::wstring& CCardInterface::GetTextSlot(int slot) const {
    CheckIndex(slot, kTextSlotCount, "text slot");
    return m_textSlots[static_cast<std::size_t>(slot)];
}

void CCardInterface::SetTextSlot(int slot, std::wstring text) {
    CheckIndex(slot, kTextSlotCount, "text slot");
    m_textSlots[static_cast<std::size_t>(slot)] = std::move(text);
}

std::int32_t CCardInterface::GetRowDecimals(int row) const {
    return GetParameter(row).decimals;
}

std::wstring CCardInterface::GetCaption(int row) const {
    return Database().GetParameterText(m_sectionName, GetParameter(row).textKey);
}

std::int32_t CCardInterface::GetListData(int row, int n) const {
    const ParameterDefinition& definition = GetParameter(row);
    if (definition.kind != KindList) {
        return -2;
    }
    try {
        return Database().GetListData(m_sectionName, definition.fileKey, n);
    } catch (const std::exception&) {
        // The option does not exist: the end of the list.
        return -2;
    }
}

std::wstring CCardInterface::GetListText(int row, int n) const {
    const ParameterDefinition& definition = GetParameter(row);
    if (definition.kind != KindList) {
        return {};
    }
    return TextOr([&] { return Database().GetListText(m_sectionName, definition.fileKey, n); });
}

std::wstring CCardInterface::GetValueText(int row, std::int32_t value) const {
    const ParameterDefinition& definition = GetParameter(row);
    switch (definition.kind) {
    case KindText:
        return GetTextSlot(definition.textSlot);
    case KindList:
        for (int n = 0; n < kMaxListOptions; ++n) {
            std::int32_t data = 0;
            try {
                data = Database().GetListData(m_sectionName, definition.fileKey, n);
            } catch (const std::exception&) {
                return {};
            }
            if (data == -2) {
                return {};
            }
            if (data == value) {
                return GetListText(row, n);
            }
        }
        return {};
    case KindSigned32:
    case KindUnsigned32:
    case KindWord32:
        return FormatNumber(value, definition.isSigned, GetRowDecimals(row), definition.radix,
                            definition.kind);
    case KindDecimal16:
    case KindInteger16:
    case KindDecimal16Raw:
        return FormatNumber(value, definition.isSigned, GetRowDecimals(row), definition.radix, KindDecimal16);
    case KindIpAddress:
        return FormatIpAddress(static_cast<std::uint32_t>(value));
    case KindSwitches4:
        return FormatSwitches4(value);
    default:
        return {};
    }
}

std::int32_t CCardInterface::GetStoredValue(int row) const {
    const ParameterDefinition& definition = GetParameter(row);
    if (IsOneWordKind(definition.kind)) {
        return GetWord(definition.page, definition.item);
    }
    if (IsTwoWordKind(definition.kind)) {
        return static_cast<std::int32_t>(GetDword(definition.page, definition.item));
    }
    return 0;
}

std::wstring CCardInterface::GetStoredValueText(int row) const {
    return GetValueText(row, GetStoredValue(row));
}

std::wstring CCardInterface::GetDisplayText(int row) const {
    const ParameterDefinition& definition = GetParameter(row);
    // A file's text the row could not take is shown as it stands, marked as
    // a list value outside the options is, so that the user sees what to mend.
    const std::wstring* unread = GetUnreadFileText(row);
    if (IsPasswordRow(definition)) {
        // Whatever shows it (the list, k52ctl, a report) shows the mask only,
        // set or refused: not even that much is told about a password.
        if (unread != nullptr) {
            return std::wstring(L"?") + kPasswordMask;
        }
        return GetTextSlot(definition.textSlot).empty() ? std::wstring() : std::wstring(kPasswordMask);
    }
    if (unread != nullptr) {
        return L"?" + *unread;
    }
    std::wstring text = GetStoredValueText(row);
    // A text the module would refuse is marked as a refused number is.
    if (definition.kind == KindText && !GetTextRefusal(row).empty()) {
        text.insert(0, 1, L'?');
    }
    if (definition.kind == KindList && text.empty()) {
        text = CMessageFormatter::Printf(L"?%d", GetStoredValue(row));
    }
    const std::wstring unit = GetUnitText(row);
    if (!unit.empty()) {
        text += L" (" + unit + L")";
    }
    return text;
}

void CCardInterface::StoreValue(const ParameterDefinition& definition, std::int32_t value) {
    if (IsOneWordKind(definition.kind)) {
        SetWord(definition.page, definition.item, value);
    } else if (IsTwoWordKind(definition.kind)) {
        SetDword(definition.page, definition.item, static_cast<std::uint32_t>(value));
    }
}

void CCardInterface::SetTextRow(const ParameterDefinition& definition, const std::wstring& text) {
    if (definition.textSlot == 3) {
        SetTextSlot(3, FormatMacText(text));
        return;
    }
    CheckTextRow(definition, text);
    SetTextSlot(definition.textSlot, text);
}

void CCardInterface::SetFromText(int row, const std::wstring& text) {
    const ParameterDefinition& definition = GetParameter(row);
    switch (definition.kind) {
    case KindSigned32:
    case KindDecimal16:
    case KindInteger16:
    case KindWord32:
    case KindSwitches4:
    case KindDecimal16Raw:
        StoreValue(definition, static_cast<std::int32_t>(ParseCheckedNumber(row, text)));
        AfterSet(row);
        return;
    case KindUnsigned32:
        SetDword(definition.page, definition.item, static_cast<std::uint32_t>(ParseCheckedNumber(row, text)));
        return;
    case KindIpAddress: {
        std::optional<std::uint32_t> address = ParseIpAddressText(text);
        if (!address) {
            throw NotANumber(row);
        }
        CheckBeforeSet(row, static_cast<std::int32_t>(*address));
        SetDword(definition.page, definition.item, *address);
        AfterSet(row);
        return;
    }
    case KindText:
        SetTextRow(definition, text);
        return;
    default:
        // Headings hold nothing; a list value is chosen by option (SetCheckedValue).
        return;
    }
}

void CCardInterface::SetCheckedValue(int row, std::int32_t value) {
    const ParameterDefinition& definition = GetParameter(row);
    CheckBeforeSet(row, value);
    if (definition.kind == KindUnsigned32) {
        // The limits of these rows are unsigned; a signed comparison would
        // refuse every value of "upCount" (maximum 4294967295, i.e. -1).
        CheckRangeUnsigned(row, static_cast<std::uint32_t>(value), definition.minimum, definition.maximum);
    } else {
        CheckRange(row, value, definition.minimum, definition.maximum);
    }
    if (definition.kind != KindIpAddress) {
        StoreValue(definition, value);
    }
    AfterSet(row);
}

void CCardInterface::StepValue(int row, std::int32_t delta) {
    const ParameterDefinition& definition = GetParameter(row);
    if (IsOneWordKind(definition.kind)) {
        // Unsigned rows step from their unsigned word, so 40000 on a 0..64000
        // row is not mistaken for a negative number and clamped to 0.
        const std::int64_t current =
            definition.isSigned != 0 ? GetWord(definition.page, definition.item)
                                     : static_cast<std::uint16_t>(GetWord(definition.page, definition.item));
        std::int64_t next = current + delta;
        if (next < definition.minimum) {
            next = definition.minimum;
        }
        if (next > definition.maximum) {
            next = definition.maximum;
        }
        SetWord(definition.page, definition.item, static_cast<std::int32_t>(next));
    } else if (IsTwoWordKind(definition.kind) && definition.kind != KindIpAddress) {
        const bool isUnsigned = definition.kind == KindUnsigned32;
        const std::uint32_t stored = GetDword(definition.page, definition.item);
        const std::int64_t current = isUnsigned
                                         ? static_cast<std::int64_t>(stored)
                                         : static_cast<std::int64_t>(static_cast<std::int32_t>(stored));
        const std::int64_t minimum =
            isUnsigned ? static_cast<std::uint32_t>(definition.minimum) : definition.minimum;
        const std::int64_t maximum =
            isUnsigned ? static_cast<std::uint32_t>(definition.maximum) : definition.maximum;
        std::int64_t next = current + delta;
        next = next < minimum ? minimum : (next > maximum ? maximum : next);
        SetDword(definition.page, definition.item, static_cast<std::uint32_t>(next));
    }
}

void CCardInterface::CheckRange(int row, std::int32_t value, std::int32_t minimum,
                                std::int32_t maximum) const {
    if (value >= minimum && value <= maximum) {
        return;
    }
    throw CPrivateException(FailureKind::Input,
                            FormatNumberedMessage(Msg::rangeerr, GetCaption(row), GetValueText(row, minimum),
                                                  GetValueText(row, maximum)));
}

CPrivateException CCardInterface::NotANumber(int row) const {
    // The message names the row and, for a number, the range it takes, as
    // the range check's message does.
    const ParameterDefinition& definition = GetParameter(row);
    if (definition.kind == KindIpAddress) {
        return CPrivateException(FailureKind::Input,
                                 FormatNumberedMessage(Msg::fielderr, GetCaption(row), GetMessage(Msg::iperr)));
    }
    const bool decimal = definition.kind != KindUnsigned32 && GetRowDecimals(row) > 0;
    return CPrivateException(FailureKind::Input,
                             FormatNumberedMessage(decimal ? Msg::inperr_named : Msg::inpierr_named,
                                                   GetCaption(row), GetValueText(row, definition.minimum),
                                                   GetValueText(row, definition.maximum)));
}

void CCardInterface::CheckRangeExcept(int row, std::int32_t value, std::int32_t exceptValue,
                                      std::int32_t minimum, std::int32_t maximum) const {
    if (value == exceptValue || (value >= minimum && value <= maximum)) {
        return;
    }
    throw CPrivateException(FailureKind::Input,
                            FormatNumberedMessage(Msg::rangeerr2, GetCaption(row),
                                                  GetValueText(row, exceptValue), GetValueText(row, minimum),
                                                  GetValueText(row, maximum)));
}

void CCardInterface::CheckRangeUnsigned(int row, std::int64_t value, std::int32_t minimum,
                                        std::int32_t maximum) const {
    const std::int64_t low = static_cast<std::uint32_t>(minimum);
    const std::int64_t high = static_cast<std::uint32_t>(maximum);
    if (value >= 0 && value >= low && value <= high) {
        return;
    }
    throw CPrivateException(FailureKind::Input,
                            FormatNumberedMessage(Msg::rangeerr, GetCaption(row), GetValueText(row, minimum),
                                                  GetValueText(row, maximum)));
}

void CCardInterface::WriteToXml(CXmlReaderWriter& writer, const std::wstring& slotPath) const {
    writer.AppendTextElement(slotPath, L"type", m_cardName.GetModelName());
    for (int row = 0; row < GetParameterCount(); ++row) {
        const ParameterDefinition& definition = GetParameter(row);
        if ((definition.flags & FlagOnDemand) != 0) {
            continue;
        }
        std::wstring text;
        if (definition.kind == KindText) {
            text = GetTextSlot(definition.textSlot);
        } else if (const std::wstring* unread = GetUnreadFileText(row)) {
            // Saved as it was opened: a save must not turn "abc" into a value.
            text = *unread;
        } else if (IsOneWordKind(definition.kind) || IsTwoWordKind(definition.kind)) {
            text = CMessageFormatter::Printf(L"%d", GetStoredValue(row));
        } else {
            continue;
        }
        writer.AppendTextElementWithAttribute(slotPath, L"parameter", text, L"item",
                                              CMessageFormatter::Printf(L"%04x", ItemCode(definition)));
    }
}

void CCardInterface::ReadFromXml(const CXmlReaderWriter& reader, const std::wstring& slotPath,
                                 bool withModuleInformation) {
    for (int row = 0; row < GetParameterCount(); ++row) {
        const ParameterDefinition& definition = GetParameter(row);
        const bool moduleInformation = (definition.flags & FlagReadOnly) != 0 && definition.item != 0;
        if ((moduleInformation && !withModuleInformation) || (definition.flags & FlagOnDemand) != 0) {
            continue;
        }
        if (definition.kind != KindText && !IsOneWordKind(definition.kind) &&
            !IsTwoWordKind(definition.kind)) {
            continue;
        }
        const std::wstring path =
            CMessageFormatter::Printf(L"%s/parameter[@item='%04x']", slotPath, ItemCode(definition));
        std::wstring text;
        try {
            text = reader.GetText(path);
        } catch (const std::exception&) {
            // Only the values an open takes must be in the file.
            if (moduleInformation) {
                continue;
            }
            throw;
        }
        if (definition.kind == KindText) {
            SetTextSlot(definition.textSlot, text);
        } else if (const std::optional<std::int32_t> value = FileNumberForRow(definition, text)) {
            // Stored files are taken as they are: no range checks here; a
            // download checks every value before it writes one.
            StoreValue(definition, *value);
        } else {
            // Not a number the row holds: opened all the same, so that the
            // user can mend it in the list, but kept apart from the value.
            StoreValue(definition, ParseLeadingInteger(text));
            m_unreadFileTexts[ItemCode(definition)] = text;
        }
    }
}

std::wstring CCardInterface::UnitText(std::int32_t unitCode) const {
    const PlainMessageKey* key = UnitTextKey(unitCode);
    return key != nullptr ? GetMessage(*key) : std::wstring();
}

std::wstring CCardInterface::GetUnitText(int row) const {
    return UnitText(GetParameter(row).unitCode);
}

void CCardInterface::CheckBeforeSet(int /*row*/, std::int32_t /*value*/) const {}

void CCardInterface::AfterSet(int /*row*/) {}

void CCardInterface::PrepareForWrite(int /*row*/) {}

bool CCardInterface::QueryFlag() const {
    return false;
}

bool CCardInterface::IsDisabled(int row) const {
    if (row < 0 || row >= GetParameterCount()) {
        return false;
    }
    return (GetParameter(row).flags & FlagReadOnly) != 0;
}

std::int32_t CCardInterface::GetChannelField(int channel, int k) const {
    return GetChannelRow(channel).Field(12 + k);
}

std::int32_t CCardInterface::GetChannelSignFlag(int channel, int /*k*/) const {
    CheckIndex(channel, kMaxChannels, "channel");
    return m_channelSignFlags[static_cast<std::size_t>(channel)];
}

std::int32_t CCardInterface::GetLastStatus() const {
    return m_lastStatus;
}

std::wstring CCardInterface::GetChannelUnitText(int channel, int k) const {
    const std::int32_t unitCode = GetChannelRow(channel).Field(15 + k);
    // Code 1 marks a value shown raw by the module's status: no unit.
    if (unitCode == 1) {
        return {};
    }
    const std::wstring unit = UnitText(unitCode);
    return unit.empty() ? unit : L" (" + unit + L")";
}

void CCardInterface::SetChannelSignFlag(int channel, std::int32_t flag) {
    CheckIndex(channel, kMaxChannels, "channel");
    m_channelSignFlags[static_cast<std::size_t>(channel)] = flag;
}

std::int32_t CCardInterface::GetSimulationValue(int index) const {
    CheckIndex(index, kSimulationValueCount, "simulation value");
    return m_simulationValues[static_cast<std::size_t>(index)];
}

void CCardInterface::SetSimulationValue(int index, std::int32_t value) {
    CheckIndex(index, kSimulationValueCount, "simulation value");
    m_simulationValues[static_cast<std::size_t>(index)] = value;
}
