// Reply texts of the form "COMMAND:value" through every conversion of the
// parser. Input: a power of ten for the scaled conversion, a flag byte, then
// the text (one character per byte, or UTF-8 when the flag's low bit is set).
#include "FuzzSupport.h"

#include "base/CPrivateException.h"
#include "base/TextConvert.h"
#include "link/CGICommandParser.h"

#include <cmath>
#include <cwchar>
#include <limits>
#include <optional>
#include <string>

namespace {

template <class F>
auto Converted(F&& convert) -> std::optional<decltype(convert())> {
    try {
        return convert();
    } catch (const CPrivateException& error) {
        if (error.IsCancellation()) {
            k52fuzz::Finding("a conversion failed with the empty text of a cancellation");
        }
        return std::nullopt;
    }
}

// Plain decimal digits, no sign, blanks or point.
bool IsPlainDecimal(const std::wstring& text) {
    if (text.empty() || text.size() > 9) {
        return false;
    }
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9') {
            return false;
        }
    }
    return true;
}

// The scaled value the C library's own reading gives, for texts it reads the
// same way; empty when it reads the text otherwise or the result is too
// large to compare.
std::optional<double> ReferenceScaled(const std::wstring& text, int power) {
    for (wchar_t c : text) {
        // Letters would let the C library take "inf", "nan" or hexadecimal numbers.
        if (!(c == L'.' || c == L'+' || c == L'-' || c == L'e' || c == L'E' || (c >= L'0' && c <= L'9'))) {
            return std::nullopt;
        }
    }
    wchar_t* end = nullptr;
    const double value = std::wcstod(text.c_str(), &end);
    if (end != text.c_str() + text.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    const double scaled = value * std::pow(10.0, power);
    if (!(std::fabs(scaled) < 1e9)) {
        return std::nullopt;
    }
    return scaled;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    // Mostly small powers as the callers use them, now and then extreme ones.
    const auto power = static_cast<std::int32_t>(static_cast<std::int8_t>(data[0]));
    const std::int32_t usedPower = (data[1] & 0x80) != 0 ? power * 16777216 : power % 16;
    const std::wstring text = (data[1] & 1) != 0
                                  ? FromUtf8(std::string(reinterpret_cast<const char*>(data + 2), size - 2))
                                  : k52fuzz::Latin1(data + 2, size - 2);

    CGICommandParser parser(text);
    const std::size_t colon = text.find(L':');
    if ((colon == std::wstring::npos ? std::wstring() : text.substr(0, colon)) != parser.GetCommand() ||
        parser.GetCommand().size() + (colon == std::wstring::npos ? 0 : 1) + parser.GetValue().size() != text.size()) {
        k52fuzz::Finding("the split into command and value lost or moved characters");
    }

    const auto hex = Converted([&] { return parser.GetHexValue(); });
    const auto dec = Converted([&] { return parser.GetDecValue(); });
    const auto optional = Converted([&] { return parser.GetOptionalDecValue(); });
    const auto scaled = Converted([&] { return parser.GetScaledValue(usedPower); });
    const auto unscaled = Converted([&] { return parser.GetScaledValue(0); });

    const std::wstring& value = parser.GetValue();
    if (IsPlainDecimal(value)) {
        const auto expected = static_cast<std::uint32_t>(std::stoul(value));
        if (dec != expected || optional != static_cast<std::int64_t>(expected) ||
            unscaled != static_cast<std::int32_t>(expected)) {
            k52fuzz::Finding("a plain decimal number was read as another value: " + k52fuzz::Printable(value));
        }
        if (!hex) {
            k52fuzz::Finding("decimal digits were refused as a hexadecimal number");
        }
    }
    if (dec && !hex) {
        k52fuzz::Finding("a text read as decimal was refused as hexadecimal: " + k52fuzz::Printable(value));
    }
    if (optional && *optional != -1 && (!dec || *optional != static_cast<std::int64_t>(*dec))) {
        k52fuzz::Finding("the optional value disagrees with the decimal value");
    }
    if (!value.empty() && value.front() == L'-' && optional != -1) {
        k52fuzz::Finding("a value beginning with '-' did not read as 'no value'");
    }
    if (scaled.has_value() != unscaled.has_value()) {
        k52fuzz::Finding("whether a number is accepted depended on the power of ten");
    }
    if (scaled) {
        if (const std::optional<double> reference = ReferenceScaled(value, usedPower)) {
            if (std::fabs(static_cast<double>(*scaled) - std::trunc(*reference)) > 1.0) {
                k52fuzz::Finding("the scaled value " + std::to_string(*scaled) + " of \"" +
                                 k52fuzz::Printable(value) + "\" at power " + std::to_string(usedPower) +
                                 " is far from " + std::to_string(*reference));
            }
        }
    }
    return 0;
}
