#pragma once
#include <QFont>
#include <QRect>
#include <QSize>

class QWidget;

// Window layouts are written in dialog units so that they scale with the
// font: a horizontal unit is a quarter of the font's average character width,
// a vertical unit an eighth of its character height.
//
// The average width is that of Latin letters, while texts of other languages,
// and the padding the style puts around a control's text, need more: a
// window's units are widened until every control's text fits
// (FittingTexts), and the window is laid out again with them (LayOut), so
// that the arrangement stays that of the layout whatever the language.
class CDialogUnits {
public:
    explicit CDialogUnits(const QFont& font);

    // The units of the window's font, widened as far as the texts its placed
    // controls show now need (ControlTextFit).
    static CDialogUnits FittingTexts(const QWidget* window);

    int ToPixelsX(int dlu) const;
    int ToPixelsY(int dlu) const;
    QSize ToPixels(int width, int height) const;
    QRect ToPixels(int x, int y, int width, int height) const;

    // Puts a control at its place in the layout and gives it its identifier;
    // the place is kept with the control for LayOut.
    void Place(QWidget* control, int id, int x, int y, int width, int height) const;
    // Gives a window its fixed size, or a part of a window (a panel placed
    // at run time) its size, kept for LayOut in the same way.
    void SizeWindow(QWidget* window, int width, int height) const;
    void SizePart(QWidget* part, int width, int height) const;

    // Puts the window and every control placed in it (parts included) where
    // these units say. Controls that shorten their texts shorten them anew.
    void LayOut(QWidget* window) const;

    // In pixels, rounded.
    int AverageCharWidth() const;
    int CharHeight() const { return m_charHeight; }

private:
    CDialogUnits(int charWidthSixteenths, int charHeight);

    // The average character width in sixteenths of a pixel, so that a layout
    // can be widened by less than a whole pixel per character.
    int m_charWidth16;
    int m_charHeight;
};

// Lays the window out with units that fit its texts; run after every change
// of its texts (a translation).
void FitWindowToTexts(QWidget* window);
