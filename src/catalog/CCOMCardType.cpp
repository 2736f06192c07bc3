#include "catalog/CCOMCardType.h"

#include "catalog/CardTypeTable.h"

#include "catalog/CCardHJWB8.h"
#include "catalog/CCardHJWQ8.h"
#include "catalog/CCardHQ8.h"
#include "catalog/CCardHQBZ8.h"
#include "catalog/CCardHZKJ8.h"
#include "catalog/CCardQZ52.h"
#include "catalog/CCardUnknown.h"
#include "catalog/CCardWB52.h"

namespace {

// Searched in this order.
constexpr CardTypeEntry kEntries[] = {
    {-1, L"unknown"}, {0, L"K52HQBZ8"}, {1, L"QZ52"},     {2, L"WB52"},
    {3, L"K52HQ8"},   {4, L"K52HJWQ8"}, {5, L"K52HZKJ8"}, {6, L"K52HJWB8"},
};

std::unique_ptr<CCardInterface> NewCard(std::int32_t code) {
    switch (code) {
    case 0:
        return std::make_unique<CCardHQBZ8>(code);
    case 1:
        return std::make_unique<CCardQZ52>(code);
    case 2:
        return std::make_unique<CCardWB52>(code);
    case 3:
        return std::make_unique<CCardHQ8>(code);
    case 4:
        return std::make_unique<CCardHJWQ8>(code);
    case 5:
        return std::make_unique<CCardHZKJ8>(code);
    case 6:
        return std::make_unique<CCardHJWB8>(code);
    default:
        return std::make_unique<CCardUnknown>(-1);
    }
}

} // namespace

std::unique_ptr<CCardInterface> CCOMCardType::CreateByCode(std::int32_t code) const {
    return NameCard(NewCard(code), kEntries);
}

std::unique_ptr<CCardInterface> CCOMCardType::CreateByName(const std::wstring& name) const {
    return CreateByCode(FindCardTypeCode(kEntries, name).value_or(-1));
}

std::wstring CCOMCardType::GetLongNameByCode(std::int32_t code) const {
    return CCardName(CardTypeName(kEntries, code)).GetLongName();
}
