#pragma once
#include "catalog/ModelRegistry.h"
#include "catalog/tables/ModelTables.h"

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace k52test {

inline std::string Narrow(std::wstring_view text) {
    std::string narrow;
    for (wchar_t c : text) {
        narrow += c < 0x80 ? static_cast<char>(c) : '?';
    }
    return narrow;
}

// Every table a model uses, with the language sections of the cards made
// from it: a model's own table, and the generic digital table for the 16-point
// digital models, which use it while the station attribute word is 0.
// Entries are named after their table ("HB58", "HQ8", "DIO").
struct ModelEntry {
    std::string model;
    const ModelTable& (*table)();
    std::vector<std::wstring> sections;
};

inline const std::vector<ModelEntry>& AllModels() {
    static const std::vector<ModelEntry> models = [] {
        std::vector<ModelEntry> entries;
        const auto add = [&entries](const ModelTable& (*table)(), const wchar_t* section) {
            for (ModelEntry& entry : entries) {
                if (entry.table == table) {
                    entry.sections.emplace_back(section);
                    return;
                }
            }
            entries.push_back({Narrow(table().name), table, {section}});
        };
        for (const ModelRow& row : AllModelRows()) {
            if (IsModule(row)) {
                add(row.table, row.name);
            }
        }
        for (const ModelRow& row : AllModelRows()) {
            if (row.traits.digital16 != Digital16::None) {
                add(TableDIO, row.name);
            }
        }
        return entries;
    }();
    return models;
}

inline const ModelEntry& Model(std::string_view name) {
    for (const ModelEntry& entry : AllModels()) {
        if (name == entry.model) {
            return entry;
        }
    }
    throw std::invalid_argument("no such model");
}

// Index of the row with this text key, or -1.
inline int RowIndex(const ModelTable& table, std::wstring_view key) {
    for (std::size_t i = 0; i < table.parameters.size(); ++i) {
        if (key == table.parameters[i].textKey) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

} // namespace k52test
