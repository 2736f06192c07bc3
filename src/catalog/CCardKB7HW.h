#pragma once
#include "catalog/CRangeResetCard.h"

// Four-channel analog input module with a dropout setting.
class CCardKB7HW : public CRangeResetCard {
public:
    explicit CCardKB7HW(std::int32_t typeCode);
};
