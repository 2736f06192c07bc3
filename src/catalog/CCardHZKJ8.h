#pragma once
#include "catalog/CCardInterface.h"

// Communication module: server with login and time settings; its one
// live value is the module's date and time.
class CCardHZKJ8 : public CCardInterface {
public:
    explicit CCardHZKJ8(std::int32_t typeCode);

    // Channel 0 is the module's clock, named after its settings group.
    void FillMonitorUnit(std::int32_t channel, CMonitorUnit& unit) const override;
};
