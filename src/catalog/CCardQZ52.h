#pragma once
#include "catalog/CCardInterface.h"

// Communication module: serial field bus.
class CCardQZ52 : public CCardInterface {
public:
    explicit CCardQZ52(std::int32_t typeCode);
};
