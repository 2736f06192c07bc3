#include "catalog/CCardDIO.h"

CCardDIO::CCardDIO(std::int32_t typeCode) : CCardInterface(typeCode, TableDIO()) {}
