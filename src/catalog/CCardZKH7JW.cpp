#include "catalog/CCardZKH7JW.h"

CCardZKH7JW::CCardZKH7JW(std::int32_t typeCode) : CCardInterface(typeCode, TableZKH7JW()) {}
