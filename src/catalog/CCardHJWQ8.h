#pragma once
#include "catalog/CCardInterface.h"

// Communication module: field network.
class CCardHJWQ8 : public CCardInterface {
public:
    explicit CCardHJWQ8(std::int32_t typeCode);
};
