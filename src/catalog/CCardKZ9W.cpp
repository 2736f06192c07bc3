#include "catalog/CCardKZ9W.h"

CCardKZ9W::CCardKZ9W(std::int32_t typeCode) : CRangeResetCard(typeCode, TableKZ9W(), 2) {}
