#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

// How every number in a text is read, whether typed, from a file, from a
// station's reply or from a language file: one idea of a blank (the six ASCII
// white-space characters, whatever the process locale), one table of digits,
// and whole numbers read as the C library's conversions read them. What may
// follow a number, and what a number beyond 32 bits becomes, each caller
// decides.

// Space, tab, line feed, vertical tab, form feed, carriage return.
bool IsNumberBlank(wchar_t c);

// The index of the first character at or after at that is not a blank.
std::size_t SkipBlanks(std::wstring_view text, std::size_t at = 0);

// The text without blanks at either end.
std::wstring_view TrimBlanks(std::wstring_view text);

// Steps over a sign at at, if there is one; true for a minus.
bool ReadSign(std::wstring_view text, std::size_t& at);

// The value of a digit in bases up to 36 (0-9, then a-z or A-Z); 99 for any
// other character.
int DigitValue(wchar_t c);

// A whole number's sign and magnitude. The magnitude is held at kCap, just
// above 32 bits: enough to tell every overflow of a 32-bit number.
struct WholeNumber {
    static constexpr std::uint64_t kCap = 0x1'0000'0000ULL;
    bool negative = false;
    std::uint64_t magnitude = 0;
    // Index just after the last digit.
    std::size_t end = 0;

    // The signed value (within the held magnitude).
    std::int64_t Value() const {
        const auto value = static_cast<std::int64_t>(magnitude);
        return negative ? -value : value;
    }
};

// Blanks, a sign, for base 16 an "0x" (a prefix only when a hexadecimal
// digit follows it), then the digits of the base; base 0 lets the prefix
// decide ("0x" hexadecimal, a leading 0 octal, otherwise decimal). Empty when
// no digit follows or the base is not 2 to 36. Reads no further than the
// digits.
std::optional<WholeNumber> ReadWholeNumber(std::wstring_view text, int base);
