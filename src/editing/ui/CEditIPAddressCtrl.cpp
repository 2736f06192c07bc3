#include "editing/ui/CEditIPAddressCtrl.h"

#include "base/ui/ControlId.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QRegularExpressionValidator>

#include <algorithm>

namespace {

constexpr int kFieldCount = 4;

} // namespace

CEditIPAddressCtrl::CEditIPAddressCtrl(QWidget* parent) : QLineEdit(parent) {
    SetControlId(this, kControlId);
    setGeometry(0, 0, 100, 200);
    const QString number = QStringLiteral("(25[0-5]|2[0-4][0-9]|1[0-9]{2}|[1-9]?[0-9])");
    setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("%1(\\.%1){3}").arg(number)), this));
    hide();
}

CEditIPAddressCtrl::~CEditIPAddressCtrl() = default;

std::uint32_t CEditIPAddressCtrl::GetAddress() const {
    const QStringList fields = text().split(QLatin1Char('.'));
    std::uint32_t address = 0;
    for (int i = 0; i < kFieldCount; ++i) {
        const unsigned field = i < fields.size() ? fields.at(i).toUInt() : 0U;
        // The validator lets nothing larger in; a text set from outside must
        // still not spill into the neighbouring number.
        address = (address << 8) | std::min(field, 0xFFU);
    }
    return address;
}

void CEditIPAddressCtrl::SetAddress(std::uint32_t address) {
    setText(QStringLiteral("%1.%2.%3.%4")
                .arg(address >> 24)
                .arg((address >> 16) & 0xFFU)
                .arg((address >> 8) & 0xFFU)
                .arg(address & 0xFFU));
}

void CEditIPAddressCtrl::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        Report(true);
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void CEditIPAddressCtrl::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    if (event->reason() == Qt::PopupFocusReason || !isVisible()) {
        return;
    }
    hide();
    Report(false);
}

void CEditIPAddressCtrl::Report(bool committed) {
    m_committed = committed;
    NotifyObservers();
}
