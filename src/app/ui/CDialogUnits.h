#pragma once
#include <QFont>
#include <QRect>
#include <QSize>

class QWidget;

// Window layouts are written in dialog units so that they scale with the
// font: a horizontal unit is a quarter of the font's average character width,
// a vertical unit an eighth of its character height.
class CDialogUnits {
public:
    explicit CDialogUnits(const QFont& font);

    int ToPixelsX(int dlu) const;
    int ToPixelsY(int dlu) const;
    QSize ToPixels(int width, int height) const;
    QRect ToPixels(int x, int y, int width, int height) const;

    // Puts a control at its place in the layout and gives it its identifier.
    void Place(QWidget* control, int id, int x, int y, int width, int height) const;

    int AverageCharWidth() const { return m_charWidth; }
    int CharHeight() const { return m_charHeight; }

private:
    int m_charWidth;
    int m_charHeight;
};
