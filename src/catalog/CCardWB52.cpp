#include "catalog/CCardWB52.h"

CCardWB52::CCardWB52(std::int32_t typeCode) : CCardInterface(typeCode, TableWB52()) {}
