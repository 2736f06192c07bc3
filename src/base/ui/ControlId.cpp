#include "base/ui/ControlId.h"

#include <QVariant>
#include <QWidget>

namespace {

constexpr const char* kControlIdProperty = "k52id";
constexpr const char* kFallbackIdProperty = "k52fallbackid";
constexpr const char* kWindowNumberProperty = "k52window";
constexpr const char* kAddedLaterProperty = "k52addedlater";

std::optional<int> IntProperty(const QWidget* widget, const char* name) {
    QVariant value = widget->property(name);
    if (!value.isValid()) {
        return std::nullopt;
    }
    bool ok = false;
    int number = value.toInt(&ok);
    if (!ok) {
        return std::nullopt;
    }
    return number;
}

} // namespace

void SetControlId(QWidget* control, int id) {
    control->setProperty(kControlIdProperty, id);
}

std::optional<int> GetControlId(const QWidget* control) {
    return IntProperty(control, kControlIdProperty);
}

void SetFallbackControlId(QWidget* control, int id) {
    control->setProperty(kFallbackIdProperty, id);
}

std::optional<int> GetFallbackControlId(const QWidget* control) {
    return IntProperty(control, kFallbackIdProperty);
}

void SetAddedLater(QWidget* control) {
    control->setProperty(kAddedLaterProperty, true);
}

bool IsAddedLater(const QWidget* control) {
    return control->property(kAddedLaterProperty).toBool();
}

void SetOwnWindowNumber(QWidget* part, int windowNumber) {
    part->setProperty(kWindowNumberProperty, windowNumber);
}

std::optional<int> GetOwnWindowNumber(const QWidget* part) {
    return IntProperty(part, kWindowNumberProperty);
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
