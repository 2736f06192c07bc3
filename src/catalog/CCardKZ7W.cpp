#include "catalog/CCardKZ7W.h"

CCardKZ7W::CCardKZ7W(std::int32_t typeCode) : CRangeResetCard(typeCode, TableKZ7W(), 4) {}
