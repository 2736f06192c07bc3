#include "catalog/CCardBZKJ8W.h"

CCardBZKJ8W::CCardBZKJ8W(std::int32_t typeCode) : CCardInterface(typeCode, TableBZKJ8W()) {}
