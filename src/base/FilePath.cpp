#include "base/FilePath.h"

#include "base/TextConvert.h"

#include <system_error>

namespace {

#ifndef _WIN32
// The length of the valid UTF-8 sequence at the start of bytes, 0 for none.
// Overlong forms, surrogates and values beyond U+10FFFF are not valid.
std::size_t ValidSequenceLength(std::string_view bytes, char32_t& decoded) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) {
        decoded = lead;
        return 1;
    }
    std::size_t length = 0;
    char32_t value = 0;
    char32_t smallest = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2, value = lead & 0x1F, smallest = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, value = lead & 0x0F, smallest = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, value = lead & 0x07, smallest = 0x10000;
    } else {
        return 0;
    }
    if (bytes.size() < length) {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) {
            return 0;
        }
        value = (value << 6) | (byte(i) & 0x3F);
    }
    if (value < smallest || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        return 0;
    }
    decoded = value;
    return length;
}
#endif

} // namespace

std::filesystem::path PathFromArgument(const std::string& argument) {
#ifdef _WIN32
    return std::filesystem::path(FromUtf8(argument));
#else
    return std::filesystem::path(argument);
#endif
}

std::filesystem::path PathFromText(std::wstring_view text) {
#ifdef _WIN32
    return std::filesystem::path(std::wstring(text));
#else
    return std::filesystem::path(ToUtf8(text));
#endif
}

std::wstring DisplayPath(const std::filesystem::path& path) {
#ifdef _WIN32
    return path.native();
#else
    const std::string& bytes = path.native();
    std::wstring shown;
    shown.reserve(bytes.size());
    std::string_view rest(bytes);
    while (!rest.empty()) {
        char32_t decoded = 0;
        const std::size_t length = ValidSequenceLength(rest, decoded);
        if (length == 0) {
            static const wchar_t kDigits[] = L"0123456789ABCDEF";
            const auto byte = static_cast<unsigned char>(rest.front());
            shown += L"\\x";
            shown += kDigits[byte >> 4];
            shown += kDigits[byte & 0x0F];
            rest.remove_prefix(1);
            continue;
        }
        shown += FromUtf8(rest.substr(0, length));
        rest.remove_prefix(length);
    }
    return shown;
#endif
}

bool IsSameFile(const std::filesystem::path& first, const std::filesystem::path& second) {
    std::error_code error;
    const bool same = std::filesystem::equivalent(first, second, error);
    return !error && same;
}
