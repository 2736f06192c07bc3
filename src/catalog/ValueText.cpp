#include "catalog/ValueText.h"

#include "base/CMessageFormatter.h"
#include "base/NumberText.h"
#include "catalog/ParameterDefinition.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace {

constexpr double kPowersOfTen[] = {1.0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};
constexpr std::int32_t kMaxDecimals = 9;

// Typed values are nudged by this much away from zero so that a decimal text
// such as 1.23, which binary floating point holds as 1.2299999..., is not cut
// down to the integer below.
constexpr double kRoundingNudge = 0.00001;

// Largest magnitude a typed real number is taken with (the largest float).
constexpr double kRealLimit = 3.4028234663852886e38;

std::int32_t ClampDecimals(std::int32_t decimals) {
    return decimals < 0 ? 0 : (decimals > kMaxDecimals ? kMaxDecimals : decimals);
}

std::wstring RealFormat(std::int32_t decimals) {
    return CMessageFormatter::Printf(L"%%.%dlf", decimals);
}

// Reads one real number that must fill the whole text (leading blanks and a
// plus sign allowed, as the C library's conversion takes them). The text is
// read independently of the process locale: a module expects a dot.
std::optional<double> ParseWholeReal(std::wstring_view text) {
    std::size_t i = SkipBlanks(text);
    if (i < text.size() && text[i] == L'+') {
        ++i;
        if (i < text.size() && text[i] == L'-') {
            return std::nullopt;
        }
    }
    std::string narrow;
    narrow.reserve(text.size() - i);
    for (; i < text.size(); ++i) {
        if (text[i] <= 0 || text[i] > 0x7F) {
            return std::nullopt;
        }
        narrow.push_back(static_cast<char>(text[i]));
    }
    if (narrow.empty()) {
        return std::nullopt;
    }
    double value = 0.0;
    const char* end = narrow.data() + narrow.size();
    auto [stop, error] = std::from_chars(narrow.data(), end, value);
    if (error != std::errc() || stop != end || std::isnan(value)) {
        return std::nullopt;
    }
    return value;
}

std::int32_t SaturateToInt32(double value) {
    if (value >= 2147483647.0) {
        return std::numeric_limits<std::int32_t>::max();
    }
    if (value <= -2147483648.0) {
        return std::numeric_limits<std::int32_t>::min();
    }
    return static_cast<std::int32_t>(value);
}

// Reads an unsigned decimal part of a date or an address: ASCII digits only.
// Returns the index after the digits; value saturates well above any limit.
std::size_t ReadDigits(std::wstring_view text, std::size_t i, long& value, bool& any) {
    value = 0;
    any = false;
    while (i < text.size() && text[i] >= L'0' && text[i] <= L'9') {
        if (value < 100000) {
            value = value * 10 + (text[i] - L'0');
        }
        any = true;
        ++i;
    }
    return i;
}

} // namespace

std::wstring FormatNumber(std::int32_t value, std::int32_t isSigned, std::int32_t decimals,
                          std::int32_t radix, std::int32_t mode) {
    const std::int32_t places = ClampDecimals(decimals);
    if (mode == KindUnsigned32 || mode == KindNone) {
        const auto number = static_cast<std::uint32_t>(value);
        if (decimals > 0) {
            return CMessageFormatter::Printf(RealFormat(places),
                                             static_cast<double>(number) / kPowersOfTen[places]);
        }
        if (radix == 10) {
            return CMessageFormatter::Printf(L"%lu", number);
        }
        if (radix == 16) {
            return CMessageFormatter::Printf(L"%08X", number);
        }
        return {};
    }
    if (isSigned == 0 && mode != KindSigned32) {
        value &= 0xFFFF;
    }
    if (decimals > 0) {
        return CMessageFormatter::Printf(RealFormat(places),
                                         static_cast<double>(value) / kPowersOfTen[places]);
    }
    if (radix == 10) {
        return CMessageFormatter::Printf(L"%d", value);
    }
    if (radix == 16) {
        return CMessageFormatter::Printf(mode == KindSigned32 ? L"%08X" : L"%04X", value);
    }
    return {};
}

std::wstring FormatIpAddress(std::uint32_t value) {
    return CMessageFormatter::Printf(L"%d.%d.%d.%d", static_cast<int>((value >> 24) & 0xFF),
                                     static_cast<int>((value >> 16) & 0xFF),
                                     static_cast<int>((value >> 8) & 0xFF), static_cast<int>(value & 0xFF));
}

std::wstring FormatSwitches4(std::int32_t value) {
    std::wstring text;
    for (int bit = 0; bit < 4; ++bit) {
        if (bit > 0) {
            text += L",";
        }
        text += (value & (1 << bit)) != 0 ? L"on" : L"off";
    }
    return text;
}

std::optional<std::int32_t> ParseDecimalText(std::wstring_view text, std::int32_t decimals) {
    std::optional<double> number = ParseWholeReal(text);
    if (!number) {
        return std::nullopt;
    }
    double value = *number;
    value += value >= 0.0 ? kRoundingNudge : -kRoundingNudge;
    if (value > kRealLimit) {
        value = kRealLimit;
    } else if (value < -kRealLimit) {
        value = -kRealLimit;
    }
    return SaturateToInt32(std::trunc(value * kPowersOfTen[ClampDecimals(decimals)]));
}

std::optional<std::int32_t> ParseIntegerText(std::wstring_view text, std::int32_t radix, bool isSigned) {
    const std::optional<WholeNumber> number = ReadWholeNumber(text, radix);
    if (!number || number->end != text.size()) {
        return std::nullopt;
    }
    if (isSigned) {
        const std::uint64_t limit = number->negative ? 0x8000'0000ULL : 0x7FFF'FFFFULL;
        if (number->magnitude > limit) {
            return std::nullopt;
        }
        return static_cast<std::int32_t>(number->Value());
    }
    if (number->magnitude > 0xFFFF'FFFFULL) {
        return std::nullopt;
    }
    auto value = static_cast<std::uint32_t>(number->magnitude);
    if (number->negative) {
        value = 0u - value;
    }
    return static_cast<std::int32_t>(value);
}

std::optional<std::int64_t> ParseUnsigned32Text(std::wstring_view text) {
    std::optional<double> number = ParseWholeReal(text);
    if (!number) {
        return std::nullopt;
    }
    const double value = std::trunc(*number);
    if (value >= 9.2233720368547758e18) {
        return std::numeric_limits<std::int64_t>::max();
    }
    if (value <= -9.2233720368547758e18) {
        return std::numeric_limits<std::int64_t>::min();
    }
    return static_cast<std::int64_t>(value);
}

std::optional<std::uint32_t> ParseIpAddressText(std::wstring_view text) {
    std::uint32_t address = 0;
    std::size_t i = 0;
    for (int part = 0; part < 4; ++part) {
        long value = 0;
        bool any = false;
        i = ReadDigits(text, i, value, any);
        if (!any || value > 255) {
            return std::nullopt;
        }
        address = (address << 8) | static_cast<std::uint32_t>(value);
        if (part < 3) {
            if (i >= text.size() || text[i] != L'.') {
                return std::nullopt;
            }
            ++i;
        }
    }
    if (i != text.size()) {
        return std::nullopt;
    }
    return address;
}

bool IsValidLoginText(std::wstring_view text) {
    if (text.size() > 16) {
        return false;
    }
    for (wchar_t c : text) {
        const bool letterOrDigit =
            (c >= L'0' && c <= L'9') || (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z');
        if (!letterOrDigit) {
            return false;
        }
    }
    return true;
}

const PlainMessageKey* CheckDateTimeText(std::wstring_view text) {
    struct Part {
        long minimum;
        long maximum;
        const PlainMessageKey* error;    // the part is empty or out of range
        wchar_t separator;               // 0: the end of the text
        const PlainMessageKey* sepError; // what follows the part is wrong
    };
    static constexpr Part kParts[] = {
        {2001, 2099, &Msg::yearErr, L'/', &Msg::dateErr}, {1, 12, &Msg::monthErr, L'/', &Msg::dateErr},
        {1, 31, &Msg::dayErr, L' ', &Msg::dateErr},       {0, 23, &Msg::timeErr, L':', &Msg::timeErr},
        {0, 59, &Msg::minErr, L':', &Msg::timeErr},       {0, 59, &Msg::secErr, 0, &Msg::timeErr},
    };
    std::size_t i = 0;
    for (const Part& part : kParts) {
        long value = 0;
        bool any = false;
        i = ReadDigits(text, i, value, any);
        if (!any || value < part.minimum || value > part.maximum) {
            return part.error;
        }
        if (part.separator == 0) {
            if (i != text.size()) {
                return part.sepError;
            }
        } else {
            if (i >= text.size() || text[i] != part.separator) {
                return part.sepError;
            }
            ++i;
        }
    }
    return nullptr;
}

std::wstring FormatMacText(const std::wstring& text) {
    if (text.size() != 12) {
        return text;
    }
    std::wstring formatted = text;
    for (std::size_t position : {10u, 8u, 6u, 4u, 2u}) {
        formatted.insert(position, 1, L'-');
    }
    return formatted;
}

const PlainMessageKey* UnitTextKey(std::int32_t unitCode) {
    static constexpr const PlainMessageKey* kUnitKeys[] = {&Msg::unitv,    &Msg::unitp,    &Msg::unitma,
                                                           &Msg::unitdegc, &Msg::unitdegf, &Msg::unitk,
                                                           &Msg::unitsec,  &Msg::unitmsec};
    if (unitCode < 0 || unitCode > 7) {
        return nullptr;
    }
    return kUnitKeys[unitCode];
}
