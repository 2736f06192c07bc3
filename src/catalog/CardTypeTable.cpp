#include "catalog/CardTypeTable.h"

std::optional<std::int32_t> FindCardTypeCode(std::span<const CardTypeEntry> table, const std::wstring& name) {
    for (const CardTypeEntry& entry : table) {
        if (name == entry.name) {
            return entry.code;
        }
    }
    return std::nullopt;
}

const wchar_t* CardTypeName(std::span<const CardTypeEntry> table, std::int32_t code) {
    for (const CardTypeEntry& entry : table) {
        if (entry.code == code) {
            return entry.name;
        }
    }
    return L"unknown";
}

std::unique_ptr<CCardInterface> NameCard(std::unique_ptr<CCardInterface> card,
                                         std::span<const CardTypeEntry> table) {
    const std::wstring name = CardTypeName(table, card->GetTypeCode());
    card->SetSectionName(name);
    card->SetCardName(CCardName(name));
    return card;
}
