#include "monitor/ui/CSimulationPanel.h"

#include "base/ui/CDialogUnits.h"
#include "base/ui/ControlId.h"

#include <QKeyEvent>
#include <QPushButton>

CSimulationPanel::CSimulationPanel(QWidget* parent, int windowNumber, int widthDlu, int heightDlu)
    : QWidget(parent), m_windowNumber(windowNumber) {
    SetOwnWindowNumber(this, windowNumber);
    const CDialogUnits units(font());
    units.SizePart(this, widthDlu, heightDlu);
    m_setButton = new QPushButton(QStringLiteral("SET"), this);
    connect(m_setButton, &QPushButton::clicked, this, &CSimulationPanel::OnSet);
    hide();
}

CSimulationPanel::~CSimulationPanel() = default;

void CSimulationPanel::PlaceSetButton(int x, int y) {
    // The button is made before the inputs of the panel but is the last stop
    // of Tab after them: put back into the panel now, it joins the end of the
    // focus chain.
    m_setButton->setParent(nullptr);
    m_setButton->setParent(this);
    m_setButton->show();
    CDialogUnits(font()).Place(m_setButton, kSetButtonId, x, y, 50, 14);
}

void CSimulationPanel::EnableInputs(bool enable) {
    m_enabled = enable;
    ApplyInputEnabling();
    UpdateSetButton();
}

void CSimulationPanel::ClearBusy() {
    m_busy = false;
    UpdateSetButton();
}

void CSimulationPanel::ShowInput() {
    LoadControls();
    ApplyInputEnabling();
    UpdateSetButton();
}

void CSimulationPanel::UpdateSetButton() {
    m_setButton->setEnabled(m_enabled && !m_busy);
}

void CSimulationPanel::OnSet() {
    // A click that was queued before the button was disabled must not send
    // a second request.
    if (m_busy || !m_enabled) {
        return;
    }
    if (!TakeInput()) {
        return;
    }
    m_busy = true;
    UpdateSetButton();
    emit SetConfirmed();
}

void CSimulationPanel::Cancel() {
    m_busy = false;
    UpdateSetButton();
    hide();
    emit Cancelled();
}

void CSimulationPanel::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Escape:
        Cancel();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // Enter in a panel means "SET", as the default button of a dialog.
        if (m_setButton->isEnabled()) {
            OnSet();
        }
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}
