#pragma once
#include "base/CResourceDatabase.h"

#include <functional>

class QWidget;

// What a translation does where the language file lacks a control's entry.
enum class MissingText {
    // The windows of the first language files: their files hold every entry,
    // and a file that lacks one is found out at once.
    Raise,
    // Windows whose texts were added to the language files later: a file
    // written before keeps the layout's own (English) texts.
    KeepLayoutText,
};

// Visits the controls a translation looks up, in its order: every identified
// descendant, searched through the unidentified layout containers, never into
// another window, a part translated as a window of its own, or a control's
// own inner parts.
void ForEachTranslatedControl(const QWidget* window, const std::function<void(QWidget*, int)>& visit);

// Replaces a window's caption and control texts with those of the language
// file's section for the window number: identifier 0 is the caption, every
// control is looked up under its own identifier (all controls with the shared
// identifier -1 get the same text), in the order of the window's child list:
// the order of creation, unless a control was raised or lowered since. An
// empty text keeps the layout's own text. A language file must hold an entry
// for every control: the first missing one raises, and the controls after it
// keep their texts. A control with a fallback identifier whose own entry is
// missing takes the fallback's entry. With KeepLayoutText a missing entry
// keeps the layout's text instead of raising.
void TranslateWindow(int window, QWidget* widget, const CResourceDatabase& database,
                     MissingText missing = MissingText::Raise);

// The same with the application's language database.
void TranslateWindow(int window, QWidget* widget, MissingText missing = MissingText::Raise);
