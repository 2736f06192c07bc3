#include "catalog/CIOCardType.h"

#include "catalog/CardTypeTable.h"

#include "catalog/CCardBHQB8W.h"
#include "catalog/CCardBJWQ8W.h"
#include "catalog/CCardBQ7W.h"
#include "catalog/CCardBZKJ8W.h"
#include "catalog/CCardDIO.h"
#include "catalog/CCardHB58.h"
#include "catalog/CCardHJ7W.h"
#include "catalog/CCardHK58.h"
#include "catalog/CCardJK7W.h"
#include "catalog/CCardJK9W.h"
#include "catalog/CCardJZB7W.h"
#include "catalog/CCardKB7HW.h"
#include "catalog/CCardKZ7W.h"
#include "catalog/CCardKZ9W.h"
#include "catalog/CCardNULL.h"
#include "catalog/CCardQB9W.h"
#include "catalog/CCardQH7W.h"
#include "catalog/CCardQZ7W.h"
#include "catalog/CCardUnknown.h"
#include "catalog/CCardZKH7JW.h"
#include "catalog/CCardZQ7W.h"
#include "catalog/StationAttribute.h"

namespace {

// Searched in this order.
constexpr CardTypeEntry kEntries[] = {
    {-1, L"unknown"}, {0, L"null"},    {1, L"BJ58W"},   {2, L"QJ58W"},   {3, L"KZ7W"},
    {4, L"KZ9W"},     {5, L"QZ7W"},    {6, L"QH7W"},    {7, L"JK7W"},    {8, L"JK9W"},
    {9, L"ZQ7W"},     {10, L"BQ7W"},   {11, L"HJ7W"},   {12, L"KB7HW"},  {13, L"JZB7W"},
    {14, L"QB9W"},    {15, L"ZKH7JW"}, {16, L"BJWQ8W"}, {17, L"BHQB8W"}, {18, L"BZKJ8W"},
};

std::unique_ptr<CCardInterface> NewCard(std::int32_t code) {
    const bool sixteenPointCards = GetStationAttribute() != 0;
    switch (code) {
    case 0:
        return std::make_unique<CCardNULL>(code);
    case 1:
        return sixteenPointCards ? std::unique_ptr<CCardInterface>(std::make_unique<CCardHB58>(code))
                                 : std::make_unique<CCardDIO>(code);
    case 2:
        return sixteenPointCards ? std::unique_ptr<CCardInterface>(std::make_unique<CCardHK58>(code))
                                 : std::make_unique<CCardDIO>(code);
    case 3:
        return std::make_unique<CCardKZ7W>(code);
    case 4:
        return std::make_unique<CCardKZ9W>(code);
    case 5:
        return std::make_unique<CCardQZ7W>(code);
    case 6:
        return std::make_unique<CCardQH7W>(code);
    case 7:
        return std::make_unique<CCardJK7W>(code);
    case 8:
        return std::make_unique<CCardJK9W>(code);
    case 9:
        return std::make_unique<CCardZQ7W>(code);
    case 10:
        return std::make_unique<CCardBQ7W>(code);
    case 11:
        return std::make_unique<CCardHJ7W>(code);
    case 12:
        return std::make_unique<CCardKB7HW>(code);
    case 13:
        return std::make_unique<CCardJZB7W>(code);
    case 14:
        return std::make_unique<CCardQB9W>(code);
    case 15:
        return std::make_unique<CCardZKH7JW>(code);
    case 16:
        return std::make_unique<CCardBJWQ8W>(code);
    case 17:
        return std::make_unique<CCardBHQB8W>(code);
    case 18:
        return std::make_unique<CCardBZKJ8W>(code);
    default:
        return std::make_unique<CCardUnknown>(-1);
    }
}

} // namespace

std::int32_t CIOCardType::CodeFromName(const std::wstring& name) const {
    return FindCardTypeCode(kEntries, name).value_or(0);
}

std::unique_ptr<CCardInterface> CIOCardType::CreateByCode(std::int32_t code) const {
    return NameCard(NewCard(code), kEntries);
}

std::unique_ptr<CCardInterface> CIOCardType::CreateByName(const std::wstring& name) const {
    return CreateByCode(FindCardTypeCode(kEntries, name).value_or(-1));
}

std::wstring CIOCardType::GetLongNameByCode(std::int32_t code) const {
    return CCardName(CardTypeName(kEntries, code)).GetLongName();
}
