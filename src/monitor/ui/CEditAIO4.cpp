#include "monitor/ui/CEditAIO4.h"

CEditAIO4::CEditAIO4(QWidget* parent) : CAnalogSimulationPanel(parent, kTemplateId, 4, 175, 95) {
    for (int channel = 0; channel < 4; ++channel) {
        PlaceCaption(channel, 7 + 40 * channel, 14);
        PlaceEdit(channel, 7 + 40 * channel, 24);
    }
    PlaceSetButton(7, 74);
}

CEditAIO4::~CEditAIO4() = default;
