#include "catalog/CCardZQ7W.h"

CCardZQ7W::CCardZQ7W(std::int32_t typeCode) : CTemperatureInputCard(typeCode, TableZQ7W(), 12) {}
