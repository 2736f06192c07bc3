#pragma once
#include "monitor/ui/CAnalogSimulationPanel.h"

// Simulation panel of the four-channel analog modules (window 134).
class CEditAIO4 : public CAnalogSimulationPanel {
    Q_OBJECT

public:
    static constexpr int kTemplateId = 134;

    explicit CEditAIO4(QWidget* parent);
    ~CEditAIO4() override;
};
