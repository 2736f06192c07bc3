#include "base/NumberText.h"

bool IsNumberBlank(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\n' || c == L'\v' || c == L'\f' || c == L'\r';
}

std::size_t SkipBlanks(std::wstring_view text, std::size_t at) {
    while (at < text.size() && IsNumberBlank(text[at])) {
        ++at;
    }
    return at;
}

std::wstring_view TrimBlanks(std::wstring_view text) {
    text.remove_prefix(SkipBlanks(text));
    while (!text.empty() && IsNumberBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

bool ReadSign(std::wstring_view text, std::size_t& at) {
    if (at >= text.size() || (text[at] != L'+' && text[at] != L'-')) {
        return false;
    }
    return text[at++] == L'-';
}

int DigitValue(wchar_t c) {
    if (c >= L'0' && c <= L'9') {
        return c - L'0';
    }
    if (c >= L'a' && c <= L'z') {
        return c - L'a' + 10;
    }
    if (c >= L'A' && c <= L'Z') {
        return c - L'A' + 10;
    }
    return 99;
}

std::optional<WholeNumber> ReadWholeNumber(std::wstring_view text, int base) {
    WholeNumber number;
    std::size_t at = SkipBlanks(text);
    number.negative = ReadSign(text, at);
    const bool hexPrefix = at + 2 < text.size() && text[at] == L'0' &&
                           (text[at + 1] == L'x' || text[at + 1] == L'X') && DigitValue(text[at + 2]) < 16;
    if (base == 0) {
        base = hexPrefix ? 16 : (at < text.size() && text[at] == L'0' ? 8 : 10);
    }
    if (base < 2 || base > 36) {
        return std::nullopt;
    }
    if (base == 16 && hexPrefix) {
        at += 2;
    }
    const std::size_t first = at;
    for (; at < text.size() && DigitValue(text[at]) < base; ++at) {
        number.magnitude = number.magnitude * static_cast<std::uint64_t>(base) +
                           static_cast<std::uint64_t>(DigitValue(text[at]));
        if (number.magnitude > WholeNumber::kCap) {
            number.magnitude = WholeNumber::kCap;
        }
    }
    if (at == first) {
        return std::nullopt;
    }
    number.end = at;
    return number;
}
