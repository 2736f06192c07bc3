#pragma once
#include "catalog/CCardInterface.h"

// Communication module: time-sensitive field network.
class CCardHJWB8 : public CCardInterface {
public:
    explicit CCardHJWB8(std::int32_t typeCode);
};
