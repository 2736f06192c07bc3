#include "catalog/CCardHQ8.h"

CCardHQ8::CCardHQ8(std::int32_t typeCode) : CCardInterface(typeCode, TableHQ8()) {}
