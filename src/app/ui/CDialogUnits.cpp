#include "app/ui/CDialogUnits.h"

#include "app/ui/ControlId.h"

#include <QFontMetrics>
#include <QWidget>

#include <algorithm>

namespace {

// Rounds value * numerator / denominator to the nearest integer, halves away
// from zero, so that a layout does not drift by a pixel per control.
int Scale(int value, int numerator, int denominator) {
    long long product = static_cast<long long>(value) * numerator;
    long long half = denominator / 2;
    return static_cast<int>(product >= 0 ? (product + half) / denominator : (product - half) / denominator);
}

} // namespace

CDialogUnits::CDialogUnits(const QFont& font) {
    QFontMetrics metrics(font);
    // The width of the alphabet gives a steadier average than the font's own
    // figure, which some fonts leave at 0 or set from a few wide glyphs.
    static const QString alphabet = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    int width = metrics.horizontalAdvance(alphabet);
    m_charWidth = std::max(1, Scale(width, 1, static_cast<int>(alphabet.size())));
    m_charHeight = std::max(1, metrics.height());
}

int CDialogUnits::ToPixelsX(int dlu) const {
    return Scale(dlu, m_charWidth, 4);
}

int CDialogUnits::ToPixelsY(int dlu) const {
    return Scale(dlu, m_charHeight, 8);
}

QSize CDialogUnits::ToPixels(int width, int height) const {
    return QSize(ToPixelsX(width), ToPixelsY(height));
}

QRect CDialogUnits::ToPixels(int x, int y, int width, int height) const {
    // Both edges are mapped, so that neighbouring controls stay flush.
    int left = ToPixelsX(x);
    int top = ToPixelsY(y);
    return QRect(left, top, ToPixelsX(x + width) - left, ToPixelsY(y + height) - top);
}

void CDialogUnits::Place(QWidget* control, int id, int x, int y, int width, int height) const {
    control->setGeometry(ToPixels(x, y, width, height));
    SetControlId(control, id);
}
