#include "editing/ui/CDropDownEditor.h"

#include <QAbstractItemView>
#include <QFocusEvent>
#include <QTimer>

CDropDownEditor::CDropDownEditor(QWidget* parent) : QComboBox(parent) {
    hide();
    // activated, unlike a change of the current index, comes only from the
    // user's choice, and also when the choice is the entry already shown.
    connect(this, &QComboBox::activated, this, [this] { m_confirmed = true; });
}

CDropDownEditor::~CDropDownEditor() = default;

void CDropDownEditor::Open() {
    m_open = true;
    show();
    raise();
    setFocus(Qt::OtherFocusReason);
    showPopup();
}

void CDropDownEditor::Dismiss() {
    m_open = false;
    hidePopup();
    hide();
}

void CDropDownEditor::showPopup() {
    m_confirmed = false;
    QComboBox::showPopup();
}

void CDropDownEditor::hidePopup() {
    QComboBox::hidePopup();
    // The choice is announced after the list has closed, so the outcome is
    // known only once the events of the closing have been handled.
    if (m_open && !m_finishPending) {
        m_finishPending = true;
        QTimer::singleShot(0, this, &CDropDownEditor::FinishPopup);
    }
}

void CDropDownEditor::focusOutEvent(QFocusEvent* event) {
    QComboBox::focusOutEvent(event);
    // Dropping the list down takes the focus to the list's own window.
    if (event->reason() == Qt::PopupFocusReason || (view() != nullptr && view()->isVisible())) {
        return;
    }
    if (!m_open || !isVisible() || m_finishPending) {
        return;
    }
    m_open = false;
    hide();
    Report(false);
}

void CDropDownEditor::FinishPopup() {
    m_finishPending = false;
    if (!m_open) {
        return;
    }
    const bool committed = m_confirmed;
    m_open = false;
    m_confirmed = false;
    hide();
    Report(committed);
}

void CDropDownEditor::Report(bool committed) {
    m_committed = committed;
    NotifyObservers();
}
