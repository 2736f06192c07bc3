#include "catalog/CCardQH7W.h"

CCardQH7W::CCardQH7W(std::int32_t typeCode) : CCardInterface(typeCode, TableQH7W()) {}
