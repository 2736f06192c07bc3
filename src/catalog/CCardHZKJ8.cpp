#include "catalog/CCardHZKJ8.h"

CCardHZKJ8::CCardHZKJ8(std::int32_t typeCode) : CCardInterface(typeCode, TableHZKJ8()) {}
