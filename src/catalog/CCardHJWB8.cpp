#include "catalog/CCardHJWB8.h"

CCardHJWB8::CCardHJWB8(std::int32_t typeCode) : CCardInterface(typeCode, TableHJWB8()) {}
