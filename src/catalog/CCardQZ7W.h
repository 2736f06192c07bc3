#pragma once
#include "catalog/CRangeResetCard.h"

// Four-channel analog output module with output ranges.
class CCardQZ7W : public CRangeResetCard {
public:
    explicit CCardQZ7W(std::int32_t typeCode);
};
