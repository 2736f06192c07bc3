// The checks a card's stored values go through before a download writes
// them, and the reading of a configuration file's number texts. A file may be
// edited by hand; what it holds reaches a module only if the parameter list
// would have taken it.
#include "catalog/CCardInterface.h"

#include "base/CPrivateException.h"
#include "base/NumberText.h"
#include "catalog/ValueText.h"
#include "link/WireFormat.h"

#include <cstddef>
#include <limits>

namespace {

// Login names, passwords, date and time and the server address are the text
// slots a download writes; the others hold what the module reports.
constexpr std::int32_t kFirstWrittenTextSlot = 6;
constexpr std::int32_t kLastWrittenTextSlot = 11;
constexpr std::int32_t kFirstLoginSlot = 6;
constexpr std::int32_t kLastLoginSlot = 9;
constexpr std::int32_t kDateTimeSlot = 10;

// The parameter list offers at most this many options of a list.
constexpr int kMaxListOptions = 1000;

bool HasFlag(const ParameterDefinition& definition, std::int32_t flag) {
    return (definition.flags & flag) != 0;
}

bool IsWrittenTextSlot(std::int32_t slot) {
    return slot >= kFirstWrittenTextSlot && slot <= kLastWrittenTextSlot;
}

bool IsOneWordKind(std::int32_t kind) {
    return kind == KindList || kind == KindDecimal16 || kind == KindInteger16 || kind == KindSwitches4 ||
           kind == KindDecimal16Raw;
}

// Rows whose words are read as an unsigned number: a file may give their
// value either way, as the program writes it (signed) or as a user would.
bool IsUnsignedView(const ParameterDefinition& definition) {
    return definition.isSigned == 0 || definition.kind == KindUnsigned32 ||
           definition.kind == KindIpAddress || definition.kind == KindWord32;
}

// A whole decimal number with an optional sign, blanks around it allowed;
// nothing else.
std::optional<std::int64_t> FileNumber(std::wstring_view text) {
    text = TrimBlanks(text);
    const std::optional<WholeNumber> number = ReadWholeNumber(text, 10);
    if (!number || number->end != text.size()) {
        return std::nullopt;
    }
    return number->Value();
}

} // namespace

std::optional<std::int32_t> CCardInterface::FileNumberForRow(const ParameterDefinition& definition,
                                                             std::wstring_view text) {
    const std::optional<std::int64_t> number = FileNumber(text);
    if (!number) {
        return std::nullopt;
    }
    const bool oneWord = IsOneWordKind(definition.kind);
    const std::int64_t lowest =
        oneWord ? std::numeric_limits<std::int16_t>::min() : std::numeric_limits<std::int32_t>::min();
    const std::int64_t highest =
        oneWord ? (IsUnsignedView(definition) ? std::numeric_limits<std::uint16_t>::max()
                                              : std::numeric_limits<std::int16_t>::max())
                : (IsUnsignedView(definition) ? std::numeric_limits<std::uint32_t>::max()
                                              : std::numeric_limits<std::int32_t>::max());
    if (*number < lowest || *number > highest) {
        return std::nullopt;
    }
    // The low 32 bits, as the words hold them.
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(*number & 0xFFFFFFFF));
}

const std::wstring* CCardInterface::GetUnreadFileText(int row) const {
    const ParameterDefinition& definition = GetParameter(row);
    if (m_unreadFileTexts.empty()) {
        return nullptr;
    }
    const auto found = m_unreadFileTexts.find(definition.page * 256 + definition.item);
    return found != m_unreadFileTexts.end() ? &found->second : nullptr;
}

bool CCardInterface::IsWrittenByDownload(int row) const {
    const ParameterDefinition& definition = GetParameter(row);
    // As DownloadParameters chooses its rows for a normal download.
    if (HasFlag(definition, FlagOnDemand) || HasFlag(definition, FlagReadOnly) || definition.item == 0 ||
        IsDisabled(row)) {
        return false;
    }
    switch (definition.kind) {
    case KindText:
        return IsWrittenTextSlot(definition.textSlot);
    case KindList:
    case KindSigned32:
    case KindUnsigned32:
    case KindDecimal16:
    case KindInteger16:
    case KindIpAddress:
    case KindDecimal16Raw:
        return true;
    default:
        return false;
    }
}

void CCardInterface::CheckTextRow(const ParameterDefinition& definition, const std::wstring& text) const {
    const std::int32_t slot = definition.textSlot;
    if (slot >= kFirstLoginSlot && slot <= kLastLoginSlot && !IsValidLoginText(text)) {
        throw CPrivateException(FailureKind::Input, GetMessage(Msg::passwordErr));
    }
    if (slot == kDateTimeSlot) {
        if (const PlainMessageKey* error = CheckDateTimeText(text); error != nullptr) {
            throw CPrivateException(FailureKind::Input, GetMessage(*error));
        }
    }
    if (!IsWrittenTextSlot(slot)) {
        return;
    }
    // A text goes to the module in one frame, one Latin-1 byte per
    // character; anything else would arrive as another text than the one typed.
    if (text.size() > kMaxItemWriteText) {
        throw CPrivateException(FailureKind::Input,
                                FormatMessage(Msg::textlenerr, static_cast<int>(kMaxItemWriteText)));
    }
    for (const wchar_t c : text) {
        if (static_cast<std::uint32_t>(c) > 0xFF) {
            throw CPrivateException(FailureKind::Input, GetMessage(Msg::textcharerr));
        }
    }
}

void CCardInterface::CheckListOption(int row, std::int32_t value) const {
    // The options of the list as the parameter list's drop-down offers them:
    // an option without data stands for its position.
    for (int option = 0; option < kMaxListOptions; ++option) {
        if (GetListText(row, option).empty()) {
            if (option == 0) {
                return; // no option list at all: the range alone decides
            }
            break;
        }
        std::int32_t data = GetListData(row, option);
        if (data == -2) {
            data = option;
        }
        if (data == value) {
            return;
        }
    }
    const ParameterDefinition& definition = GetParameter(row);
    throw CPrivateException(FailureKind::Input, FormatNumberedMessage(Msg::rangeerr, GetCaption(row),
                                                                      GetValueText(row, definition.minimum),
                                                                      GetValueText(row, definition.maximum)));
}

std::wstring CCardInterface::GetTextRefusal(int row) const {
    if (GetParameter(row).kind != KindText || !IsWrittenByDownload(row)) {
        return {};
    }
    try {
        CheckStoredValue(row);
    } catch (const std::exception& error) {
        return GetExceptionMessage(error);
    }
    return {};
}

void CCardInterface::CheckStoredValue(int row) const {
    const ParameterDefinition& definition = GetParameter(row);
    if (GetUnreadFileText(row) != nullptr) {
        throw NotANumber(row);
    }
    switch (definition.kind) {
    case KindText:
        CheckTextRow(definition, GetTextSlot(definition.textSlot));
        return;
    case KindList: {
        // As a choice in the drop-down: model checks, range, then the options.
        const std::int32_t value = GetStoredValue(row);
        CheckBeforeSet(row, value);
        CheckRange(row, value, definition.minimum, definition.maximum);
        CheckListOption(row, value);
        return;
    }
    case KindIpAddress:
        CheckBeforeSet(row, GetStoredValue(row));
        return;
    case KindUnsigned32:
    case KindSigned32:
    case KindDecimal16:
    case KindInteger16:
    case KindWord32:
    case KindSwitches4:
    case KindDecimal16Raw:
        // The value as the list shows it, typed back in.
        ParseCheckedNumber(row, GetStoredValueText(row));
        return;
    default:
        return;
    }
}

std::int64_t CCardInterface::ParseCheckedNumber(int row, const std::wstring& text) const {
    const ParameterDefinition& definition = GetParameter(row);
    if (definition.kind == KindUnsigned32) {
        const std::optional<std::int64_t> value = ParseUnsigned32Text(text);
        if (!value) {
            throw NotANumber(row);
        }
        CheckRangeUnsigned(row, *value, definition.minimum, definition.maximum);
        return *value;
    }
    const std::int32_t decimals = GetRowDecimals(row);
    const std::optional<std::int32_t> value = decimals > 0
                                                  ? ParseDecimalText(text, decimals)
                                                  : ParseIntegerText(text, definition.radix, definition.isSigned == 1);
    if (!value) {
        throw NotANumber(row);
    }
    CheckBeforeSet(row, *value);
    CheckRange(row, *value, definition.minimum, definition.maximum);
    return *value;
}
