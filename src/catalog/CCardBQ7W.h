#pragma once
#include "catalog/CTemperatureInputCard.h"

// Four-channel RTD input module.
class CCardBQ7W : public CTemperatureInputCard {
public:
    explicit CCardBQ7W(std::int32_t typeCode);

    // The same exchange as any card's; the model keeps its own entry for it.
    void ExchangeLiveValues(std::int32_t slotNumber, CJX5COMInterface& link, bool simulate) override;
};
