#pragma once
#include "catalog/CCardInterface.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>

// One (type code, model name) pair of a card registry's table.
struct CardTypeEntry {
    std::int32_t code;
    const wchar_t* name;
};

// The code of the first entry whose name equals the given one exactly.
std::optional<std::int32_t> FindCardTypeCode(std::span<const CardTypeEntry> table, const std::wstring& name);

// The model name of the first entry with the code, or "unknown".
const wchar_t* CardTypeName(std::span<const CardTypeEntry> table, std::int32_t code);

// Names a new card after its type code: section name and card name.
std::unique_ptr<CCardInterface> NameCard(std::unique_ptr<CCardInterface> card,
                                         std::span<const CardTypeEntry> table);
