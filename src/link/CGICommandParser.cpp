#include "link/CGICommandParser.h"

#include "base/CPrivateException.h"
#include "base/NumberText.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <optional>
#include <string>

namespace {

const wchar_t* const kHexError = L"gi hex value error";
const wchar_t* const kDecError = L"gi dec value error";
const wchar_t* const kScaledError = L"gi decp value error";

// An unsigned 32-bit number as the C library's strtoul reads one where long is
// 32 bits wide: blanks, a sign, for base 16 an optional "0x", the digits; a
// minus negates modulo 2^32 and an overflow gives all bits set. Empty when
// anything other than the number is in the text.
std::optional<std::uint32_t> ParseUnsigned(const std::wstring& text, int base) {
    const std::optional<WholeNumber> number = ReadWholeNumber(text, base);
    if (!number || number->end != text.size()) {
        return std::nullopt;
    }
    if (number->magnitude > std::numeric_limits<std::uint32_t>::max()) {
        return std::numeric_limits<std::uint32_t>::max();
    }
    const auto value = static_cast<std::uint32_t>(number->magnitude);
    return number->negative ? static_cast<std::uint32_t>(0u - value) : value;
}

// A decimal floating-point number: blanks, a sign, digits with an optional
// point, an optional exponent; nothing may follow. Numbers beyond the range of
// a double become infinite or zero, as the C library would give them.
std::optional<double> ParseReal(const std::wstring& text) {
    std::size_t at = SkipBlanks(text);
    const bool negative = ReadSign(text, at);
    std::string digits;
    bool anyDigit = false;
    long long leadingScale = 0; // decimal exponent of the first significant digit, roughly
    bool seenSignificant = false;
    bool inFraction = false;
    for (; at < text.size(); ++at) {
        const wchar_t c = text[at];
        if (c >= L'0' && c <= L'9') {
            anyDigit = true;
            if (c != L'0' && !seenSignificant) {
                seenSignificant = true;
            }
            if (!inFraction && seenSignificant) {
                ++leadingScale;
            } else if (inFraction && !seenSignificant) {
                --leadingScale;
            }
            digits.push_back(static_cast<char>(c));
        } else if (c == L'.' && !inFraction) {
            inFraction = true;
            digits.push_back('.');
        } else {
            break;
        }
    }
    if (!anyDigit) {
        return std::nullopt;
    }
    long long exponent = 0;
    if (at < text.size() && (text[at] == L'e' || text[at] == L'E')) {
        std::size_t look = at + 1;
        const bool exponentNegative = ReadSign(text, look);
        if (look < text.size() && text[look] >= L'0' && text[look] <= L'9') {
            std::string exponentDigits;
            while (look < text.size() && text[look] >= L'0' && text[look] <= L'9') {
                if (exponentDigits.empty() && text[look] == L'0') {
                    // leading zeros carry no size
                } else if (exponentDigits.size() < 9) {
                    exponentDigits.push_back(static_cast<char>(text[look]));
                } else {
                    exponentDigits = "999999999"; // far beyond any double
                }
                ++look;
            }
            exponent = exponentDigits.empty() ? 0 : std::stoll(exponentDigits);
            if (exponentNegative) {
                exponent = -exponent;
            }
            digits += 'e';
            digits += std::to_string(exponent);
            at = look;
        }
    }
    if (at != text.size()) {
        return std::nullopt;
    }
    double value = 0.0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error == std::errc::result_out_of_range) {
        const bool huge = seenSignificant && leadingScale + exponent > 0;
        value = huge ? std::numeric_limits<double>::infinity() : 0.0;
    } else if (error != std::errc() || end != digits.data() + digits.size()) {
        return std::nullopt;
    }
    return negative ? -value : value;
}

// Multiplies a checked decimal text by 10 to the given power and cuts the
// result toward zero, exactly: value = digits x 10^exponent. Results beyond the
// 32-bit range are held at its limits.
std::int32_t ScaleDecimalText(const std::wstring& text, std::int32_t power) {
    std::size_t at = SkipBlanks(text);
    const bool negative = ReadSign(text, at);
    std::string digits;
    long long exponent = 0;
    bool inFraction = false;
    for (; at < text.size(); ++at) {
        const wchar_t c = text[at];
        if (c >= L'0' && c <= L'9') {
            if (!(digits.empty() && c == L'0')) {
                digits.push_back(static_cast<char>(c));
            }
            if (inFraction) {
                --exponent;
            }
        } else if (c == L'.' && !inFraction) {
            inFraction = true;
        } else {
            break;
        }
    }
    if (at < text.size() && (text[at] == L'e' || text[at] == L'E')) {
        ++at;
        const bool exponentNegative = ReadSign(text, at);
        long long written = 0;
        for (; at < text.size() && text[at] >= L'0' && text[at] <= L'9'; ++at) {
            written = written < 1000000000LL ? written * 10 + (text[at] - L'0') : written;
        }
        exponent += exponentNegative ? -written : written;
    }
    if (digits.empty()) {
        return 0;
    }
    const long long shift = exponent + power;
    if (shift < 0) {
        const long long drop = -shift;
        if (drop >= static_cast<long long>(digits.size())) {
            return 0;
        }
        digits.resize(digits.size() - static_cast<std::size_t>(drop));
    } else {
        if (shift + static_cast<long long>(digits.size()) > 11) {
            return negative ? std::numeric_limits<std::int32_t>::min()
                            : std::numeric_limits<std::int32_t>::max();
        }
        digits.append(static_cast<std::size_t>(shift), '0');
    }
    if (digits.size() > 11) {
        return negative ? std::numeric_limits<std::int32_t>::min() : std::numeric_limits<std::int32_t>::max();
    }
    long long magnitude = std::stoll(digits);
    long long result = negative ? -magnitude : magnitude;
    if (result > std::numeric_limits<std::int32_t>::max()) {
        return std::numeric_limits<std::int32_t>::max();
    }
    if (result < std::numeric_limits<std::int32_t>::min()) {
        return std::numeric_limits<std::int32_t>::min();
    }
    return static_cast<std::int32_t>(result);
}

} // namespace

CGICommandParser::CGICommandParser(const std::wstring& text) {
    Parse(text);
}

CGICommandParser::~CGICommandParser() = default;

CGICommandParser& CGICommandParser::Parse(const std::wstring& text) {
    const std::size_t colon = text.find(L':');
    if (colon == std::wstring::npos) {
        m_command.clear();
        m_value = text;
    } else {
        m_command = text.substr(0, colon);
        m_value = text.substr(colon + 1);
    }
    return *this;
}

std::uint32_t CGICommandParser::GetHexValue() const {
    const std::optional<std::uint32_t> value = m_value.empty() ? std::nullopt : ParseUnsigned(m_value, 16);
    if (!value) {
        throw CPrivateException(FailureKind::InvalidReply, kHexError);
    }
    return *value;
}

std::uint32_t CGICommandParser::GetDecValue() const {
    const std::optional<std::uint32_t> value = m_value.empty() ? std::nullopt : ParseUnsigned(m_value, 10);
    if (!value) {
        throw CPrivateException(FailureKind::InvalidReply, kDecError);
    }
    return *value;
}

std::int32_t CGICommandParser::GetScaledValue(std::int32_t power) const {
    const std::optional<double> value = m_value.empty() ? std::nullopt : ParseReal(m_value);
    if (!value) {
        throw CPrivateException(FailureKind::InvalidReply, kScaledError);
    }
    // The syntax was checked above; the scaling itself is done on the decimal
    // digits, not in binary floating point, where "0.29" times 100 would come
    // out as 28.999... and be cut to 28.
    return ScaleDecimalText(m_value, power);
}

std::int64_t CGICommandParser::GetOptionalDecValue() const {
    if (m_value.empty()) {
        throw CPrivateException(FailureKind::InvalidReply, kDecError);
    }
    if (m_value.front() == L'-') {
        return -1;
    }
    return static_cast<std::int64_t>(GetDecValue());
}
