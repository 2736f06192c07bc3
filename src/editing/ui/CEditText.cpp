#include "editing/ui/CEditText.h"

#include "base/ui/ControlId.h"

#include <QFocusEvent>
#include <QKeyEvent>

CEditText::CEditText(QWidget* parent) : QLineEdit(parent) {
    SetControlId(this, kControlId);
    setGeometry(0, 0, 100, 100);
    setFrame(false);
    hide();
}

CEditText::~CEditText() = default;

void CEditText::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // Stays visible: the list takes the focus back, and the focus loss
        // that follows hides it.
        event->accept();
        Report(true, MoveNone);
        return;
    case Qt::Key_Down:
        event->accept();
        Report(true, MoveNext);
        return;
    case Qt::Key_Up:
        event->accept();
        Report(true, MovePrevious);
        return;
    default:
        QLineEdit::keyPressEvent(event);
        return;
    }
}

void CEditText::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    // The editor's own context menu takes the focus only for a moment.
    if (event->reason() == Qt::PopupFocusReason || !isVisible()) {
        return;
    }
    hide();
    Report(false, MoveNone);
}

void CEditText::Report(bool committed, int move) {
    m_committed = committed;
    m_move = move;
    NotifyObservers();
}
