#pragma once
#include "catalog/CCardInterface.h"

// Communication module: serial field bus (the default communication card).
class CCardHQBZ8 : public CCardInterface {
public:
    explicit CCardHQBZ8(std::int32_t typeCode);
};
