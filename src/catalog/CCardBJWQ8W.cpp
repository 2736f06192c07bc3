#include "catalog/CCardBJWQ8W.h"

CCardBJWQ8W::CCardBJWQ8W(std::int32_t typeCode) : CCardInterface(typeCode, TableBJWQ8W()) {}
