#pragma once
#include <string>
#include <string_view>

// Conversions between the core's wide texts and UTF-8 (files, terminals, XML).
std::string ToUtf8(std::wstring_view text);
std::wstring FromUtf8(std::string_view text);
