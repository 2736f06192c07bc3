#include "catalog/CCardJK7W.h"

CCardJK7W::CCardJK7W(std::int32_t typeCode) : CUniversalInputCard(typeCode, TableJK7W(), 4) {}
