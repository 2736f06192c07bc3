#pragma once
#include "catalog/tables/ModelTables.h"

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace k52test {

// Every table, with the language sections whose cards use it (the digital
// tables serve two sections each, and the 16-point ones one of them).
struct ModelEntry {
    const char* model;
    const ModelTable& (*table)();
    std::vector<std::wstring> sections;
};

inline const std::vector<ModelEntry>& AllModels() {
    static const std::vector<ModelEntry> models = {
        {"KB7HW", TableKB7HW, {L"KB7HW"}},    {"HB58", TableHB58, {L"BJ58W"}},
        {"HK58", TableHK58, {L"QJ58W"}},      {"DIO", TableDIO, {L"BJ58W", L"QJ58W"}},
        {"WB52", TableWB52, {L"WB52"}},       {"QZ52", TableQZ52, {L"QZ52"}},
        {"BJWQ8W", TableBJWQ8W, {L"BJWQ8W"}}, {"BHQB8W", TableBHQB8W, {L"BHQB8W"}},
        {"BZKJ8W", TableBZKJ8W, {L"BZKJ8W"}}, {"ZKH7JW", TableZKH7JW, {L"ZKH7JW"}},
        {"HJ7W", TableHJ7W, {L"HJ7W"}},       {"QB9W", TableQB9W, {L"QB9W"}},
        {"BQ7W", TableBQ7W, {L"BQ7W"}},       {"ZQ7W", TableZQ7W, {L"ZQ7W"}},
        {"KZ9W", TableKZ9W, {L"KZ9W"}},       {"KZ7W", TableKZ7W, {L"KZ7W"}},
        {"JZB7W", TableJZB7W, {L"JZB7W"}},    {"JK9W", TableJK9W, {L"JK9W"}},
        {"JK7W", TableJK7W, {L"JK7W"}},       {"QH7W", TableQH7W, {L"QH7W"}},
        {"QZ7W", TableQZ7W, {L"QZ7W"}},       {"HQ8", TableHQ8, {L"K52HQ8"}},
        {"HQBZ8", TableHQBZ8, {L"K52HQBZ8"}}, {"HJWQ8", TableHJWQ8, {L"K52HJWQ8"}},
        {"HJWB8", TableHJWB8, {L"K52HJWB8"}}, {"HZKJ8", TableHZKJ8, {L"K52HZKJ8"}},
    };
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

inline std::string Narrow(std::wstring_view text) {
    std::string narrow;
    for (wchar_t c : text) {
        narrow += c < 0x80 ? static_cast<char>(c) : '?';
    }
    return narrow;
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
