#pragma once
#include <QString>

#include <Qt>

class QWidget;

// Whether a control's text fits it, as the control's own style draws it: the
// text in the control's font plus the margins the style puts around it (a
// button's frame and padding, a check box's indicator, a group box's title
// inset). Texts of other languages are wider than the layout's English, and
// glyphs taken from another font wider still; the layout is measured, not
// trusted.

// The width the control needs to show its whole text, or 0 for a control that
// shows no text of its own or shortens its text to fit by itself.
int NeededWidth(const QWidget* control);

// The text a button, check box, label or group box shows; empty for others.
QString ShownText(const QWidget* control);

// Shows a text that changes as the program runs (a file name, a model name)
// in a button or label, shortened with an ellipsis where it does not fit,
// the whole text then in the tool tip. Such a control does not widen the
// layout, and its text is shortened again when the control is resized.
void SetShortenedText(QWidget* control, const QString& text, Qt::TextElideMode mode = Qt::ElideRight);
bool ShortensItsText(const QWidget* control);
// Shortens the text set with SetShortenedText again for the control's width now.
void RefitShortenedText(QWidget* control);

// A control's text as a window title or message shows it: without the
// access-key mark ("&Upload", "アップロード(&U)" give "Upload", "アップロード").
QString WithoutAccessKey(const QString& text);
