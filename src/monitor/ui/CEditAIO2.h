#pragma once
#include "monitor/ui/CAnalogSimulationPanel.h"

// Simulation panel of the two-channel modules (window 135). Their channels
// may be 32-bit counters, so status 4 allows the whole unsigned 32-bit range.
class CEditAIO2 : public CAnalogSimulationPanel {
    Q_OBJECT

public:
    static constexpr int kTemplateId = 135;

    explicit CEditAIO2(QWidget* parent);
    ~CEditAIO2() override;

    Limits LimitsForStatus(std::int32_t status) const override;
};
