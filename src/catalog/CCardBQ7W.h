#pragma once
#include "catalog/CTemperatureInputCard.h"

// Four-channel RTD input module.
class CCardBQ7W : public CTemperatureInputCard {
public:
    explicit CCardBQ7W(std::int32_t typeCode);
};
