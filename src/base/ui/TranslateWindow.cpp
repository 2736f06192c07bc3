#include "base/ui/TranslateWindow.h"

#include "base/CResourceManager.h"
#include "base/ui/ControlId.h"

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
        if (widget == nullptr || widget->isWindow() || GetOwnWindowNumber(widget)) {
            continue;
        }
        if (std::optional<int> id = GetControlId(widget)) {
            visit(widget, *id);
        } else {
            ForEachTranslatedControl(widget, visit);
        }
    }
}

void TranslateWindow(int window, QWidget* widget, const CResourceDatabase& database, MissingText missing) {
    // The entry of an identifier; empty where the file lacks it and may.
    auto textOf = [&](int id, std::optional<int> fallback, bool addedLater) -> std::wstring {
        try {
            return database.GetGuiText(window, id);
        } catch (const std::exception&) {
            if (fallback) {
                try {
                    return database.GetGuiText(window, *fallback);
                } catch (const std::exception&) {
                    // Neither: as if the fallback had not been asked.
                }
            }
            if (missing == MissingText::KeepLayoutText || addedLater) {
                return {};
            }
            throw;
        }
    };
    std::wstring caption = textOf(0, std::nullopt, false);
    if (!caption.empty()) {
        widget->setWindowTitle(QString::fromStdWString(caption));
    }
    ForEachTranslatedControl(widget, [&](QWidget* control, int id) {
        std::wstring text = textOf(id, GetFallbackControlId(control), IsAddedLater(control));
        if (!text.empty()) {
            SetControlText(control, QString::fromStdWString(text));
        }
    });
}

void TranslateWindow(int window, QWidget* widget, MissingText missing) {
    TranslateWindow(window, widget, CResourceManager::Database(), missing);
}
