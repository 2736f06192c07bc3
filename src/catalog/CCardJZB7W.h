#pragma once
#include "catalog/CRangeResetCard.h"

// Four-channel averaging analog input module.
class CCardJZB7W : public CRangeResetCard {
public:
    explicit CCardJZB7W(std::int32_t typeCode);
};
