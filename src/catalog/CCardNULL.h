#pragma once
#include "catalog/CCardInterface.h"

// The empty slot: no parameters, no live values.
class CCardNULL : public CCardInterface {
public:
    explicit CCardNULL(std::int32_t typeCode);
};
