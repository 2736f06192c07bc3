#include "catalog/CCardKB7HW.h"

CCardKB7HW::CCardKB7HW(std::int32_t typeCode) : CRangeResetCard(typeCode, TableKB7HW(), 4) {}
