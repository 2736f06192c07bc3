#include "app/ui/CDialogUnits.h"

#include "app/ui/ControlId.h"
#include "app/ui/ControlTextFit.h"

#include <QFontMetrics>
#include <QVariant>
#include <QWidget>

#include <algorithm>
#include <functional>

namespace {

constexpr const char* kPlaceProperty = "k52dlurect";
constexpr const char* kWindowSizeProperty = "k52dlusize";
constexpr const char* kPartSizeProperty = "k52dlupartsize";

// A window is laid out at most this much wider than its font asks for; a
// language file with an absurdly long text must not make it absurdly wide.
constexpr int kMostWidening = 4;

// Rounds value * numerator / denominator to the nearest integer, halves away
// from zero, so that a layout does not drift by a pixel per control.
int Scale(int value, int numerator, int denominator) {
    long long product = static_cast<long long>(value) * numerator;
    long long half = denominator / 2;
    return static_cast<int>(product >= 0 ? (product + half) / denominator : (product - half) / denominator);
}

// Every widget of the window that is not a window of its own (menus, other
// dialogs), parts and the controls inside them included.
void ForEachPart(QWidget* widget, const std::function<void(QWidget*)>& visit) {
    for (QObject* child : widget->children()) {
        auto* part = qobject_cast<QWidget*>(child);
        if (part == nullptr || part->isWindow()) {
            continue;
        }
        visit(part);
        ForEachPart(part, visit);
    }
}

} // namespace

CDialogUnits::CDialogUnits(const QFont& font) {
    QFontMetrics metrics(font);
    // The width of the alphabet gives a steadier average than the font's own
    // figure, which some fonts leave at 0 or set from a few wide glyphs.
    static const QString alphabet = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    int width = metrics.horizontalAdvance(alphabet);
    // The average is rounded to whole pixels first, as a layout made with the
    // font alone has always been.
    m_charWidth16 = 16 * std::max(1, Scale(width, 1, static_cast<int>(alphabet.size())));
    m_charHeight = std::max(1, metrics.height());
}

CDialogUnits::CDialogUnits(int charWidthSixteenths, int charHeight)
    : m_charWidth16(charWidthSixteenths), m_charHeight(charHeight) {}

CDialogUnits CDialogUnits::FittingTexts(const QWidget* window) {
    const CDialogUnits own(window->font());
    int width16 = own.m_charWidth16;
    // The narrowest unit at which every control shows its whole text. A
    // control's pixel width follows from its two edges, each rounded; the
    // search starts from the unit that fits it without rounding and steps up
    // until the rounding agrees.
    ForEachPart(const_cast<QWidget*>(window), [&](QWidget* control) {
        const QVariant place = control->property(kPlaceProperty);
        const int need = NeededWidth(control);
        if (!place.isValid() || need <= 0) {
            return;
        }
        const QRect dlu = place.toRect();
        if (dlu.width() <= 0) {
            return;
        }
        const int most = own.m_charWidth16 * kMostWidening;
        int candidate = std::max(width16, static_cast<int>((64LL * need + dlu.width() - 1) / dlu.width()));
        while (candidate < most && CDialogUnits(candidate, own.m_charHeight)
                                           .ToPixels(dlu.x(), dlu.y(), dlu.width(), dlu.height())
                                           .width() < need) {
            ++candidate;
        }
        width16 = std::max(width16, std::min(candidate, most));
    });
    return CDialogUnits(width16, own.m_charHeight);
}

int CDialogUnits::ToPixelsX(int dlu) const {
    return Scale(dlu, m_charWidth16, 64);
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

int CDialogUnits::AverageCharWidth() const {
    return Scale(m_charWidth16, 1, 16);
}

void CDialogUnits::Place(QWidget* control, int id, int x, int y, int width, int height) const {
    control->setProperty(kPlaceProperty, QRect(x, y, width, height));
    control->setGeometry(ToPixels(x, y, width, height));
    SetControlId(control, id);
}

void CDialogUnits::SizeWindow(QWidget* window, int width, int height) const {
    window->setProperty(kWindowSizeProperty, QSize(width, height));
    window->setFixedSize(ToPixels(width, height));
}

void CDialogUnits::SizePart(QWidget* part, int width, int height) const {
    part->setProperty(kPartSizeProperty, QSize(width, height));
    part->resize(ToPixels(width, height));
}

void CDialogUnits::LayOut(QWidget* window) const {
    const QVariant size = window->property(kWindowSizeProperty);
    if (size.isValid()) {
        window->setFixedSize(ToPixels(size.toSize().width(), size.toSize().height()));
    }
    ForEachPart(window, [&](QWidget* control) {
        const QVariant place = control->property(kPlaceProperty);
        if (place.isValid()) {
            const QRect dlu = place.toRect();
            control->setGeometry(ToPixels(dlu.x(), dlu.y(), dlu.width(), dlu.height()));
        }
        const QVariant partSize = control->property(kPartSizeProperty);
        if (partSize.isValid()) {
            control->resize(ToPixels(partSize.toSize().width(), partSize.toSize().height()));
        }
        RefitShortenedText(control);
    });
}

void FitWindowToTexts(QWidget* window) {
    CDialogUnits::FittingTexts(window).LayOut(window);
}
