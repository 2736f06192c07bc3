#include "catalog/CCardHQBZ8.h"

CCardHQBZ8::CCardHQBZ8(std::int32_t typeCode) : CCardInterface(typeCode, TableHQBZ8()) {}
