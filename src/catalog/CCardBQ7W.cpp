#include "catalog/CCardBQ7W.h"

CCardBQ7W::CCardBQ7W(std::int32_t typeCode) : CTemperatureInputCard(typeCode, TableBQ7W(), 11) {}
