#pragma once
#include "catalog/CRangeResetCard.h"

// Two-channel analog input module.
class CCardKZ9W : public CRangeResetCard {
public:
    explicit CCardKZ9W(std::int32_t typeCode);
};
