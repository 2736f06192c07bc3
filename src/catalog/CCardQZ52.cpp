#include "catalog/CCardQZ52.h"

CCardQZ52::CCardQZ52(std::int32_t typeCode) : CCardInterface(typeCode, TableQZ52()) {}
