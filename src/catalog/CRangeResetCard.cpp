#include "catalog/CRangeResetCard.h"

CRangeResetCard::CRangeResetCard(std::int32_t typeCode, const ModelTable& table, int rangeChannels)
    : CCardInterface(typeCode, table), m_rangeChannels(rangeChannels) {}

void CRangeResetCard::AfterSet(int row) {
    const ParameterDefinition& definition = GetParameter(row);
    const int n = definition.item - 0x42;
    if (definition.page != 1 || n < 0 || n >= m_rangeChannels) {
        return;
    }
    SetWord(1, 0x0a + 2 * n, 0);
    SetWord(1, 0x0b + 2 * n, 10000);
}
