#include "monitor/ui/CEditAIO2.h"

CEditAIO2::CEditAIO2(QWidget* parent) : CAnalogSimulationPanel(parent, kTemplateId, 2, 175, 95) {
    for (int channel = 0; channel < 2; ++channel) {
        PlaceCaption(channel, 7 + 84 * channel, 14);
        PlaceEdit(channel, 7 + 84 * channel, 24);
    }
    PlaceSetButton(7, 74);
}

CEditAIO2::~CEditAIO2() = default;

CAnalogSimulationPanel::Limits CEditAIO2::LimitsForStatus(std::int32_t status) const {
    switch (status) {
    case 3:
        return {0, 65535};
    case 4:
        return {0, 4294967295LL};
    default:
        return {-32768, 32767};
    }
}
