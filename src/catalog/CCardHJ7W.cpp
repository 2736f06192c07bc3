#include "catalog/CCardHJ7W.h"

CCardHJ7W::CCardHJ7W(std::int32_t typeCode) : CCardInterface(typeCode, TableHJ7W()) {}
