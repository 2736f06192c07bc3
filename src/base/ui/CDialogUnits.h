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
    // The units a window was last laid out with (LayOut keeps them).
    static CDialogUnits FromStored(int charWidthSixteenths, int charHeight);

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
    // A window that the user may make larger: its layout is the size it
    // opens with and the least it takes, unless the screen is smaller. Its
    // anchored controls follow its edges (Anchor).
    void SizeResizableWindow(QWidget* window, int width, int height) const;
    void SizePart(QWidget* part, int width, int height) const;

    // Puts the window and every control placed in it (parts included) where
    // these units say. Controls that shorten their texts shorten them anew.
    void LayOut(QWidget* window) const;

    // How a placed control follows the edges of a resizable window: each of
    // its edges moves by a share (in percent) of what the window has grown
    // beyond its layout (or shrunk below it, on a small screen). A list that
    // takes the room below it has {0, 0, 100, 100}; a button at the bottom
    // right {100, 100, 100, 100}.
    struct Anchors {
        int left = 0;
        int top = 0;
        int right = 0;
        int bottom = 0;
    };
    static void Anchor(QWidget* control, Anchors anchors);
    // Room in pixels that a window keeps at its bottom beyond its layout,
    // for a line that is not part of it (the main window's status line).
    static void ReserveBottom(QWidget* window, int pixels);

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

// Makes Tab go through the window's placed controls as they are seen: row by
// row from the top, left to right within a row (controls whose heights
// overlap the row's first control share its row). LayOut does this; a window
// that moves parts after it does it again.
void SetTabOrderByPlace(QWidget* window);

// The part of the screen a window may take: the available area of the
// screen it is on, less the frame the window system adds around it.
QRect RoomOnScreen(const QWidget* window);

// Keeps a window within its screen's available area: no larger, and moved
// inside it. Every window laid out in dialog units does this when it opens;
// another window (the trend's) calls it itself, again once shown.
void KeepOnScreen(QWidget* window);
