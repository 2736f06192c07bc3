#include "base/FileFilter.h"

std::vector<FileFilterEntry> ParseFileFilter(std::wstring_view text) {
    std::vector<std::wstring_view> parts;
    while (true) {
        std::size_t bar = text.find(L'|');
        parts.push_back(text.substr(0, bar));
        if (bar == std::wstring_view::npos) {
            break;
        }
        text.remove_prefix(bar + 1);
    }
    std::vector<FileFilterEntry> entries;
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].empty()) {
            break; // the closing "||"
        }
        if (parts[i + 1].empty()) {
            continue;
        }
        entries.push_back({std::wstring(parts[i]), std::wstring(parts[i + 1])});
    }
    return entries;
}
