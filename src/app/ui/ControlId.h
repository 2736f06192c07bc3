#pragma once
#include <optional>

class QWidget;

// Every control of a window carries its numeric identifier, so that the
// language texts and the window's own code find it without a pointer.
// Identifier -1 is shared by static labels that need no individual text.
constexpr int kSharedControlId = -1;

void SetControlId(QWidget* control, int id);

// The identifier of a control, or nothing for a widget that carries none
// (layout containers and the inner parts of Qt's own widgets).
std::optional<int> GetControlId(const QWidget* control);

// The first descendant of window carrying the identifier, or nullptr.
QWidget* FindControl(const QWidget* window, int id);

template <class T> T* FindControlAs(const QWidget* window, int id) {
    return dynamic_cast<T*>(FindControl(window, id));
}
