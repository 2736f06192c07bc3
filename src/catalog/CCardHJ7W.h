#pragma once
#include "catalog/CCardInterface.h"

// Four-channel analog input module with fixed base values.
class CCardHJ7W : public CCardInterface {
public:
    explicit CCardHJ7W(std::int32_t typeCode);
};
