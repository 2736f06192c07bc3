#include "base/TextConvert.h"

#include <pugixml.hpp>

std::string ToUtf8(std::wstring_view text) {
    return pugi::as_utf8(std::wstring(text));
}

std::wstring FromUtf8(std::string_view text) {
    return pugi::as_wide(std::string(text));
}
