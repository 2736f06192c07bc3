#pragma once
#include "catalog/CCardInterface.h"

// Communication module: serial field bus.
class CCardWB52 : public CCardInterface {
public:
    explicit CCardWB52(std::int32_t typeCode);
};
