#pragma once
#include "base/CResourceDatabase.h"

#include <functional>

class QWidget;

// Visits the controls a translation looks up, in its order: every identified
// descendant, searched through the unidentified layout containers, never into
// another window or into a control's own inner parts.
void ForEachTranslatedControl(const QWidget* window, const std::function<void(QWidget*, int)>& visit);

// Replaces a window's caption and control texts with those of the language
// file's section for the window number: identifier 0 is the caption, every
// control is looked up under its own identifier (all controls with the shared
// identifier -1 get the same text), in the order of the window's child list:
// the order of creation, unless a control was raised or lowered since. An
// empty text keeps the layout's own text. A language file must hold an entry
// for every control: the first missing one raises, and the controls after it
// keep their texts.
void TranslateWindow(int window, QWidget* widget, const CResourceDatabase& database);

// The same with the application's language database.
void TranslateWindow(int window, QWidget* widget);
