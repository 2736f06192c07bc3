#include "catalog/CCardJZB7W.h"

CCardJZB7W::CCardJZB7W(std::int32_t typeCode) : CRangeResetCard(typeCode, TableJZB7W(), 4) {}
