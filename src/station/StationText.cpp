#include "station/StationText.h"

#include <array>
#include <cwchar>

namespace {

// 16-bit kinds keep the low word of the default; signed rows read it as two's complement.
std::int64_t Word(const ParameterDefinition& row, std::int64_t value) {
    const auto low = static_cast<std::uint16_t>(value & 0xFFFF);
    return row.isSigned != 0 ? static_cast<std::int64_t>(static_cast<std::int16_t>(low)) : low;
}

std::wstring Hex(std::uint32_t value, int digits) {
    wchar_t buffer[16];
    std::swprintf(buffer, 16, L"%0*X", digits, value);
    return buffer;
}

std::wstring Dotted(std::uint32_t address) {
    return std::to_wstring(address >> 24) + L'.' + std::to_wstring((address >> 16) & 0xFF) + L'.' +
           std::to_wstring((address >> 8) & 0xFF) + L'.' + std::to_wstring(address & 0xFF);
}

// Texts of the text rows, by the card's text slot.
std::wstring DefaultSlotText(int textSlot, int slot) {
    switch (textSlot) {
    case 0:
        return L"1.00"; // firmware version
    case 3:
        return L"0052C0A8" + Hex(static_cast<std::uint32_t>(0x1000 + slot), 4); // MAC address, undivided
    case 4:
        return L"1"; // station number
    case 5:
        return L"0"; // link status
    case 6:
    case 7:
    case 8:
    case 9:
        return L""; // login names and passwords
    case 10:
        return FormatStationDateTime(0);
    default:
        return L"-";
    }
}

bool HasVariableDecimals(const ParameterDefinition& row) {
    const std::wstring_view key = row.textKey != nullptr ? row.textKey : L"";
    return key.starts_with(L"zbase") || key.starts_with(L"fbase");
}

bool InRange(const ParameterDefinition& row, std::int64_t value) {
    return value >= row.minimum && value <= row.maximum;
}

bool InUnsignedRange(const ParameterDefinition& row, std::int64_t value) {
    return value >= 0 && value <= 0xFFFFFFFFLL && value >= static_cast<std::uint32_t>(row.minimum) &&
           value <= static_cast<std::uint32_t>(row.maximum);
}

constexpr std::int64_t DaysFromCivil(std::int64_t year, unsigned month, unsigned day) {
    year -= month <= 2 ? 1 : 0;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const auto yearOfEra = static_cast<unsigned>(year - era * 400);
    const unsigned dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + static_cast<std::int64_t>(dayOfEra) - 719468;
}

unsigned DaysInMonth(std::int64_t year, unsigned month) {
    static constexpr std::array<unsigned, 12> kDays = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

// Reads digits up to a separator; false when there are none.
bool ReadField(std::wstring_view& text, std::int64_t& value) {
    std::size_t length = 0;
    value = 0;
    while (length < text.size() && length < 4 && text[length] >= L'0' && text[length] <= L'9') {
        value = value * 10 + (text[length] - L'0');
        ++length;
    }
    text.remove_prefix(length);
    return length > 0;
}

bool Expect(std::wstring_view& text, wchar_t separator) {
    if (text.empty() || text.front() != separator) {
        return false;
    }
    text.remove_prefix(1);
    return true;
}

} // namespace

bool ParseDecimalText(std::wstring_view text, int decimals, std::int64_t& scaled) {
    constexpr std::int64_t kMax = 1'000'000'000'000'000'000LL;
    std::int64_t value = 0;
    const auto push = [&value](std::int64_t digit) {
        if (value > (kMax - digit) / 10) {
            return false;
        }
        value = value * 10 + digit;
        return true;
    };
    const auto isDigit = [](wchar_t c) { return c >= L'0' && c <= L'9'; };

    bool negative = false;
    if (!text.empty() && text.front() == L'-') {
        negative = true;
        text.remove_prefix(1);
    }
    if (text.empty() || !isDigit(text.front())) {
        return false;
    }
    while (!text.empty() && isDigit(text.front())) {
        if (!push(text.front() - L'0')) {
            return false;
        }
        text.remove_prefix(1);
    }
    int fraction = 0;
    if (!text.empty() && text.front() == L'.') {
        text.remove_prefix(1);
        if (text.empty()) {
            return false;
        }
        while (!text.empty() && isDigit(text.front())) {
            if (fraction < decimals) {
                if (!push(text.front() - L'0')) {
                    return false;
                }
                ++fraction;
            }
            text.remove_prefix(1);
        }
    }
    if (!text.empty()) {
        return false;
    }
    for (; fraction < decimals; ++fraction) {
        if (!push(0)) {
            return false;
        }
    }
    scaled = negative ? -value : value;
    return true;
}

bool ParseIntegerText(std::wstring_view text, int radix, std::int64_t& value) {
    bool negative = false;
    if (radix == 10 && !text.empty() && text.front() == L'-') {
        negative = true;
        text.remove_prefix(1);
    }
    if (text.empty() || text.size() > 12) {
        return false;
    }
    std::int64_t result = 0;
    for (wchar_t c : text) {
        int digit;
        if (c >= L'0' && c <= L'9') {
            digit = c - L'0';
        } else if (radix == 16 && c >= L'A' && c <= L'F') {
            digit = c - L'A' + 10;
        } else if (radix == 16 && c >= L'a' && c <= L'f') {
            digit = c - L'a' + 10;
        } else {
            return false;
        }
        result = result * radix + digit;
    }
    if (result >= (1LL << 40)) {
        return false;
    }
    value = negative ? -result : result;
    return true;
}

bool ParseIpText(std::wstring_view text, std::uint32_t& address) {
    std::uint32_t result = 0;
    for (int part = 0; part < 4; ++part) {
        if (part > 0 && !Expect(text, L'.')) {
            return false;
        }
        std::size_t length = 0;
        std::uint32_t octet = 0;
        while (length < text.size() && length < 3 && text[length] >= L'0' && text[length] <= L'9') {
            octet = octet * 10 + static_cast<std::uint32_t>(text[length] - L'0');
            ++length;
        }
        if (length == 0 || octet > 255) {
            return false;
        }
        text.remove_prefix(length);
        result = (result << 8) | octet;
    }
    if (!text.empty()) {
        return false;
    }
    address = result;
    return true;
}

std::wstring FormatDecimal(std::int64_t scaled, int decimals) {
    const bool negative = scaled < 0;
    std::wstring digits = std::to_wstring(negative ? -scaled : scaled);
    if (decimals > 0) {
        if (digits.size() <= static_cast<std::size_t>(decimals)) {
            digits.insert(0, static_cast<std::size_t>(decimals) + 1 - digits.size(), L'0');
        }
        digits.insert(digits.size() - static_cast<std::size_t>(decimals), 1, L'.');
    }
    return negative ? L"-" + digits : digits;
}

std::wstring DefaultItemText(const ParameterDefinition& row, int slot) {
    switch (row.kind) {
    case KindText:
        return DefaultSlotText(row.textSlot, slot);
    case KindList:
    case KindInteger16:
        return std::to_wstring(Word(row, row.defaultValue));
    case KindDecimal16:
        return FormatDecimal(Word(row, row.defaultValue), row.decimals);
    case KindDecimal16Raw:
        // The module keeps these as the raw number and reports it unscaled.
        return std::to_wstring(Word(row, row.defaultValue));
    case KindSigned32:
        return row.radix == 10 ? std::to_wstring(row.defaultValue)
                               : Hex(static_cast<std::uint32_t>(row.defaultValue), 8);
    case KindUnsigned32:
        return row.radix == 10 ? std::to_wstring(static_cast<std::uint32_t>(row.defaultValue))
                               : Hex(static_cast<std::uint32_t>(row.defaultValue), 8);
    case KindIpAddress:
        return Dotted(static_cast<std::uint32_t>(row.defaultValue));
    default:
        return L"";
    }
}

std::optional<std::wstring> AcceptItemText(const ParameterDefinition& row, std::wstring_view text) {
    if ((row.flags & FlagReadOnly) != 0) {
        return std::nullopt;
    }
    std::int64_t value = 0;
    switch (row.kind) {
    case KindText:
        return std::wstring(text);
    case KindList:
    case KindInteger16:
        if (ParseIntegerText(text, 10, value) && InRange(row, value)) {
            return std::wstring(text);
        }
        return std::nullopt;
    case KindDecimal16:
        // The decimals of the base values follow the channel's range and unit,
        // which the module learns from other items; their range is therefore
        // not checked against the table's decimals, only their form.
        if (ParseDecimalText(text, row.decimals, value) &&
            (HasVariableDecimals(row) || InRange(row, value))) {
            return std::wstring(text);
        }
        return std::nullopt;
    case KindDecimal16Raw:
        if (ParseDecimalText(text, row.decimals, value) && InRange(row, value)) {
            return std::to_wstring(value);
        }
        return std::nullopt;
    case KindSigned32:
        if (ParseIntegerText(text, row.radix == 10 ? 10 : 16, value) && value >= INT32_MIN &&
            value <= (row.radix == 10 ? INT32_MAX : 0xFFFFFFFFLL)) {
            return std::wstring(text);
        }
        return std::nullopt;
    case KindUnsigned32:
        if (!text.empty() && text.front() != L'-' &&
            ParseIntegerText(text, row.radix == 10 ? 10 : 16, value) && InUnsignedRange(row, value)) {
            return std::wstring(text);
        }
        return std::nullopt;
    case KindIpAddress: {
        std::uint32_t address = 0;
        if (ParseIpText(text, address)) {
            return std::wstring(text);
        }
        return std::nullopt;
    }
    default:
        return std::nullopt;
    }
}

std::wstring FormatStationDateTime(std::int64_t seconds) {
    std::int64_t days = seconds >= 0 ? seconds / 86400 : (seconds - 86399) / 86400;
    const std::int64_t secondOfDay = seconds - days * 86400;
    // Civil date of a day count (days since 1970-01-01).
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const auto dayOfEra = static_cast<unsigned>(days - era * 146097);
    const unsigned yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const unsigned monthIndex = (5 * dayOfYear + 2) / 153;
    const unsigned day = dayOfYear - (153 * monthIndex + 2) / 5 + 1;
    const unsigned month = monthIndex < 10 ? monthIndex + 3 : monthIndex - 9;
    const std::int64_t year = static_cast<std::int64_t>(yearOfEra) + era * 400 + (month <= 2 ? 1 : 0);

    wchar_t buffer[40];
    std::swprintf(buffer, 40, L"%04lld/%02u/%02u %02lld:%02lld:%02lld", static_cast<long long>(year), month,
                  day, static_cast<long long>(secondOfDay / 3600),
                  static_cast<long long>(secondOfDay / 60 % 60), static_cast<long long>(secondOfDay % 60));
    return buffer;
}

std::optional<std::int64_t> ParseStationDateTime(std::wstring_view text) {
    std::int64_t year, month, day, hour, minute, second;
    if (!ReadField(text, year) || !Expect(text, L'/') || !ReadField(text, month) || !Expect(text, L'/') ||
        !ReadField(text, day) || !Expect(text, L' ') || !ReadField(text, hour) || !Expect(text, L':') ||
        !ReadField(text, minute) || !Expect(text, L':') || !ReadField(text, second) || !text.empty()) {
        return std::nullopt;
    }
    if (year < 2001 || year > 2099 || month < 1 || month > 12 || day < 1 ||
        day > DaysInMonth(year, static_cast<unsigned>(month)) || hour > 23 || minute > 59 || second > 59) {
        return std::nullopt;
    }
    return DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) * 86400 +
           hour * 3600 + minute * 60 + second;
}
