#include "monitor/ui/CEditAIO4_2.h"

#include "base/ui/CDialogUnits.h"

#include <QLabel>

#include <exception>
#include <string_view>

CEditAIO4_2::CEditAIO4_2(QWidget* parent)
    : CAnalogSimulationPanel(parent, kTemplateId, 8, 186, 93), m_inputLabel(new QLabel(this)),
      m_outputLabel(new QLabel(this)) {
    const CDialogUnits units(font());
    units.Place(m_inputLabel, kInputLabelId, 7, 4, 60, 8);
    units.Place(m_outputLabel, kOutputLabelId, 7, 36, 60, 8);
    for (int channel = 0; channel < 8; ++channel) {
        const int line = channel / 4;
        const int x = 7 + 40 * (channel % 4);
        PlaceCaption(channel, x, 13 + 32 * line);
        PlaceEdit(channel, x, 22 + 32 * line);
    }
    PlaceSetButton(7, 72);
}

CEditAIO4_2::~CEditAIO4_2() = default;

void CEditAIO4_2::LoadControls() {
    // A language file without these texts leaves the labels empty; the panel
    // is opened from a selection, where nothing may be thrown.
    const auto label = [](const PlainMessageKey& key) {
        return QString::fromStdWString(TextOr([&] { return GetMessage(key); }));
    };
    m_inputLabel->setText(label(Msg::siminput));
    m_outputLabel->setText(label(Msg::simoutput));
    CAnalogSimulationPanel::LoadControls();
}
