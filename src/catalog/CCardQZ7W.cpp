#include "catalog/CCardQZ7W.h"

CCardQZ7W::CCardQZ7W(std::int32_t typeCode) : CRangeResetCard(typeCode, TableQZ7W(), 4) {}
