#include "app/ui/TranslateWindow.h"

#include "app/ui/ControlId.h"
#include "base/CResourceManager.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QWidget>

namespace {

void SetControlText(QWidget* control, const QString& text) {
    if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        button->setText(text);
    } else if (auto* label = qobject_cast<QLabel*>(control)) {
        label->setText(text);
    } else if (auto* group = qobject_cast<QGroupBox*>(control)) {
        group->setTitle(text);
    }
    // Lists, drop-downs, bars and the like show no text of their own; their
    // entry is still required, as for every control.
}

} // namespace

// A widget without an identifier is a container of the Qt layout, with no
// counterpart among the window's controls: its children are walked as if
// they were the window's own. A control's inner parts are its own business.
void ForEachTranslatedControl(const QWidget* window, const std::function<void(QWidget*, int)>& visit) {
    // children() keeps the order in which the children were given their parent.
    for (QObject* child : window->children()) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (widget == nullptr || widget->isWindow()) {
            continue;
        }
        if (std::optional<int> id = GetControlId(widget)) {
            visit(widget, *id);
        } else {
            ForEachTranslatedControl(widget, visit);
        }
    }
}

void TranslateWindow(int window, QWidget* widget, const CResourceDatabase& database) {
    std::wstring caption = database.GetGuiText(window, 0);
    if (!caption.empty()) {
        widget->setWindowTitle(QString::fromStdWString(caption));
    }
    ForEachTranslatedControl(widget, [&](QWidget* control, int id) {
        std::wstring text = database.GetGuiText(window, id);
        if (!text.empty()) {
            SetControlText(control, QString::fromStdWString(text));
        }
    });
}

void TranslateWindow(int window, QWidget* widget) {
    TranslateWindow(window, widget, CResourceManager::Database());
}
