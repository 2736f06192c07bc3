#include "catalog/CCardBHQB8W.h"

CCardBHQB8W::CCardBHQB8W(std::int32_t typeCode) : CCardInterface(typeCode, TableBHQB8W()) {}
