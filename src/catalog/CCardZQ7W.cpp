#include "catalog/CCardZQ7W.h"

CCardZQ7W::CCardZQ7W(std::int32_t typeCode) : CTemperatureInputCard(typeCode, TableZQ7W(), 12) {}

void CCardZQ7W::ExchangeLiveValues(std::int32_t slotNumber, CJX5COMInterface& link, bool simulate) {
    CTemperatureInputCard::ExchangeLiveValues(slotNumber, link, simulate);
}
