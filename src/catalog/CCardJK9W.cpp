#include "catalog/CCardJK9W.h"

CCardJK9W::CCardJK9W(std::int32_t typeCode) : CUniversalInputCard(typeCode, TableJK9W(), 2) {}
