#include "catalog/CCardHK58.h"

CCardHK58::CCardHK58(std::int32_t typeCode) : CCardInterface(typeCode, TableHK58()) {}
