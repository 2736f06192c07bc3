#pragma once
#include "catalog/CRangeResetCard.h"

// Four-channel analog input module.
class CCardKZ7W : public CRangeResetCard {
public:
    explicit CCardKZ7W(std::int32_t typeCode);
};
