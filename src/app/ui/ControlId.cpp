#include "app/ui/ControlId.h"

#include <QVariant>
#include <QWidget>

namespace {

constexpr const char* kControlIdProperty = "k52id";

} // namespace

void SetControlId(QWidget* control, int id) {
    control->setProperty(kControlIdProperty, id);
}

std::optional<int> GetControlId(const QWidget* control) {
    QVariant value = control->property(kControlIdProperty);
    if (!value.isValid()) {
        return std::nullopt;
    }
    bool ok = false;
    int id = value.toInt(&ok);
    if (!ok) {
        return std::nullopt;
    }
    return id;
}

QWidget* FindControl(const QWidget* window, int id) {
    const QList<QWidget*> widgets = window->findChildren<QWidget*>();
    for (QWidget* widget : widgets) {
        if (GetControlId(widget) == id) {
            return widget;
        }
    }
    return nullptr;
}
