#include "catalog/CCardQB9W.h"

CCardQB9W::CCardQB9W(std::int32_t typeCode) : CCardInterface(typeCode, TableQB9W()) {}
