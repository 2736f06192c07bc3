#include "catalog/CRangeResetCard.h"

CRangeResetCard::CRangeResetCard(std::int32_t typeCode, const ModelTable& table, int rangeChannels)
    : CCardInterface(typeCode, table), m_rangeChannels(rangeChannels) {}

CCardKB7HW::CCardKB7HW(std::int32_t typeCode) : CRangeResetCard(typeCode, TableKB7HW(), 4) {}
CCardKZ9W::CCardKZ9W(std::int32_t typeCode) : CRangeResetCard(typeCode, TableKZ9W(), 2) {}
CCardKZ7W::CCardKZ7W(std::int32_t typeCode) : CRangeResetCard(typeCode, TableKZ7W(), 4) {}
CCardJZB7W::CCardJZB7W(std::int32_t typeCode) : CRangeResetCard(typeCode, TableJZB7W(), 4) {}
CCardQZ7W::CCardQZ7W(std::int32_t typeCode) : CRangeResetCard(typeCode, TableQZ7W(), 4) {}

void CRangeResetCard::AfterSet(int row) {
    ResetOnRangeChange(row, m_rangeChannels, false);
}
