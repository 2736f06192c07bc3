#include "catalog/CCardHJWQ8.h"

CCardHJWQ8::CCardHJWQ8(std::int32_t typeCode) : CCardInterface(typeCode, TableHJWQ8()) {}
