#include "catalog/CCardBQ7W.h"

CCardBQ7W::CCardBQ7W(std::int32_t typeCode) : CTemperatureInputCard(typeCode, TableBQ7W(), 11) {}

void CCardBQ7W::ExchangeLiveValues(std::int32_t slotNumber, CJX5COMInterface& link, bool simulate) {
    CTemperatureInputCard::ExchangeLiveValues(slotNumber, link, simulate);
}
