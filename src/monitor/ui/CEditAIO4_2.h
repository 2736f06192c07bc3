#pragma once
#include "base/CResourceManager.h"
#include "monitor/ui/CAnalogSimulationPanel.h"

class QLabel;

// Simulation panel of the eight-channel modules (window 136): four inputs on
// the first line and four outputs on the second.
class CEditAIO4_2 : public CAnalogSimulationPanel, protected CResourceManager {
    Q_OBJECT

public:
    static constexpr int kTemplateId = 136;
    static constexpr int kInputLabelId = 1036;
    static constexpr int kOutputLabelId = 1037;

    explicit CEditAIO4_2(QWidget* parent);
    ~CEditAIO4_2() override;

protected:
    void LoadControls() override;

private:
    QLabel* m_inputLabel;
    QLabel* m_outputLabel;
};
