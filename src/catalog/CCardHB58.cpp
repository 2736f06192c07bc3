#include "catalog/CCardHB58.h"

CCardHB58::CCardHB58(std::int32_t typeCode) : CCardInterface(typeCode, TableHB58()) {}
