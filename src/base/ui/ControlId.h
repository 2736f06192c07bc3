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

// A control added to a layout after language files were first written looks
// up its own identifier, and where a file lacks it, the identifier it had
// before (the shared -1 of the main window's group boxes), so that an older
// file still gives it the text it gave.
void SetFallbackControlId(QWidget* control, int id);
std::optional<int> GetFallbackControlId(const QWidget* control);

// A control new to a window that older language files already cover (the
// main window's Compare and Report): where a file lacks its entry, it keeps
// the text it was made with instead of failing the whole window.
void SetAddedLater(QWidget* control);
bool IsAddedLater(const QWidget* control);

// A part of a window whose texts come from a window section of its own (the
// monitor's simulation panels): the window's translation passes it by, and
// it is translated under its own number.
void SetOwnWindowNumber(QWidget* part, int windowNumber);
std::optional<int> GetOwnWindowNumber(const QWidget* part);

// The first descendant of window carrying the identifier, or nullptr.
QWidget* FindControl(const QWidget* window, int id);

template <class T> T* FindControlAs(const QWidget* window, int id) {
    return dynamic_cast<T*>(FindControl(window, id));
}
