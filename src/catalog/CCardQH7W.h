#pragma once
#include "catalog/CCardInterface.h"

// Four-channel analog output module.
class CCardQH7W : public CCardInterface {
public:
    explicit CCardQH7W(std::int32_t typeCode);
};
