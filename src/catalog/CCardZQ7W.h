#pragma once
#include "catalog/CTemperatureInputCard.h"

// Four-channel thermocouple input module.
class CCardZQ7W : public CTemperatureInputCard {
public:
    explicit CCardZQ7W(std::int32_t typeCode);
};
