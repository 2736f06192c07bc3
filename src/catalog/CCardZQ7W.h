#pragma once
#include "catalog/CTemperatureInputCard.h"

// Four-channel thermocouple input module.
class CCardZQ7W : public CTemperatureInputCard {
public:
    explicit CCardZQ7W(std::int32_t typeCode);

    // The same exchange as any card's; the model keeps its own entry for it.
    void ExchangeLiveValues(std::int32_t slotNumber, CJX5COMInterface& link, bool simulate) override;
};
