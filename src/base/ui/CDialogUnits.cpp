#include "base/ui/CDialogUnits.h"

#include "base/ui/ControlId.h"
#include "base/ui/ControlTextFit.h"

#include <QApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QScreen>
#include <QStyle>
#include <QVariant>
#include <QWidget>

#include <algorithm>
#include <vector>
#include <functional>

namespace {

constexpr const char* kPlaceProperty = "k52dlurect";
constexpr const char* kWindowSizeProperty = "k52dlusize";
constexpr const char* kPartSizeProperty = "k52dlupartsize";
constexpr const char* kResizableProperty = "k52dluresizable";
constexpr const char* kAnchorProperty = "k52dluanchors";
constexpr const char* kUnitsProperty = "k52dluunits";
constexpr const char* kReservedProperty = "k52dlureserved";
constexpr const char* kSizedProperty = "k52dlusized";
constexpr const char* kFollowerName = "k52windowfollower";

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

QSize LayoutPixels(const QWidget* window, const CDialogUnits& units) {
    const QSize dlu = window->property(kWindowSizeProperty).toSize();
    return units.ToPixels(dlu.width(), dlu.height()) + QSize(0, window->property(kReservedProperty).toInt());
}

// Where every placed control goes at the window's present size: its place in
// the layout, its anchored edges moved by their share of the window's growth.
void PlaceControls(QWidget* window, const CDialogUnits& units) {
    QSize grown(0, 0);
    if (window->property(kResizableProperty).toBool()) {
        grown = window->size() - LayoutPixels(window, units);
    }
    ForEachPart(window, [&](QWidget* control) {
        const QVariant place = control->property(kPlaceProperty);
        if (place.isValid()) {
            const QRect dlu = place.toRect();
            QRect pixels = units.ToPixels(dlu.x(), dlu.y(), dlu.width(), dlu.height());
            const QVariant anchors = control->property(kAnchorProperty);
            if (anchors.isValid() && control->parentWidget() == window) {
                const QRect share = anchors.toRect();
                const int left = pixels.left() + grown.width() * share.left() / 100;
                const int top = pixels.top() + grown.height() * share.top() / 100;
                const int right = pixels.left() + pixels.width() + grown.width() * share.right() / 100;
                const int bottom = pixels.top() + pixels.height() + grown.height() * share.bottom() / 100;
                // A window shrunk to a small screen squeezes a list, never
                // turns it inside out.
                pixels = QRect(left, top, std::max(0, right - left), std::max(0, bottom - top));
            }
            control->setGeometry(pixels);
        }
        const QVariant partSize = control->property(kPartSizeProperty);
        if (partSize.isValid()) {
            control->resize(units.ToPixels(partSize.toSize().width(), partSize.toSize().height()));
        }
        RefitShortenedText(control);
    });
}

// Watches a window laid out in dialog units: it opens within the screen, and
// its anchored controls follow its size.
class WindowFollower : public QObject {
public:
    explicit WindowFollower(QWidget* window) : QObject(window) { setObjectName(kFollowerName); }

    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* window = static_cast<QWidget*>(parent());
        if (watched != window) {
            return false;
        }
        if (event->type() == QEvent::Show) {
            KeepOnScreen(window);
        } else if (event->type() == QEvent::Resize && window->property(kResizableProperty).toBool()) {
            const QSize units = window->property(kUnitsProperty).toSize();
            if (units.isValid()) {
                PlaceControls(window, CDialogUnits::FromStored(units.width(), units.height()));
            }
        }
        return false;
    }
};

void FollowWindow(QWidget* window) {
    if (window->findChild<QObject*>(kFollowerName, Qt::FindDirectChildrenOnly) == nullptr) {
        window->installEventFilter(new WindowFollower(window));
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

void CDialogUnits::Place(QWidget* control, int id, int x, int y, int width, int height) const {
    control->setProperty(kPlaceProperty, QRect(x, y, width, height));
    control->setGeometry(ToPixels(x, y, width, height));
    SetControlId(control, id);
}

CDialogUnits CDialogUnits::FromStored(int charWidthSixteenths, int charHeight) {
    return CDialogUnits(charWidthSixteenths, charHeight);
}

void CDialogUnits::SizeWindow(QWidget* window, int width, int height) const {
    window->setProperty(kWindowSizeProperty, QSize(width, height));
    window->setFixedSize(ToPixels(width, height).boundedTo(RoomOnScreen(window).size()));
    FollowWindow(window);
}

void CDialogUnits::SizeResizableWindow(QWidget* window, int width, int height) const {
    window->setProperty(kResizableProperty, true);
    window->setProperty(kWindowSizeProperty, QSize(width, height));
    FollowWindow(window);
    LayOut(window);
}

void CDialogUnits::Anchor(QWidget* control, Anchors anchors) {
    control->setProperty(kAnchorProperty,
                         QRect(QPoint(anchors.left, anchors.top), QPoint(anchors.right, anchors.bottom)));
}

void CDialogUnits::ReserveBottom(QWidget* window, int pixels) {
    window->setProperty(kReservedProperty, pixels);
}

void CDialogUnits::SizePart(QWidget* part, int width, int height) const {
    part->setProperty(kPartSizeProperty, QSize(width, height));
    part->resize(ToPixels(width, height));
}

void CDialogUnits::LayOut(QWidget* window) const {
    window->setProperty(kUnitsProperty, QSize(m_charWidth16, m_charHeight));
    if (window->property(kWindowSizeProperty).isValid()) {
        const QSize layout = LayoutPixels(window, *this);
        const QSize room = RoomOnScreen(window).size();
        if (window->property(kResizableProperty).toBool()) {
            // The layout is the least size, unless the screen has less room:
            // then the lists give up theirs.
            const QSize least = layout.boundedTo(room);
            window->setMinimumSize(least);
            window->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
            // The first time the window takes its layout's size; later (new
            // texts) it keeps what the user made of it where that is enough.
            const QSize wanted =
                window->property(kSizedProperty).toBool() ? window->size().expandedTo(least) : layout;
            window->setProperty(kSizedProperty, true);
            window->resize(wanted.boundedTo(room));
        } else {
            window->setFixedSize(layout.boundedTo(room));
        }
    }
    PlaceControls(window, *this);
    SetTabOrderByPlace(window);
}

void FitWindowToTexts(QWidget* window) {
    CDialogUnits::FittingTexts(window).LayOut(window);
}

QRect RoomOnScreen(const QWidget* window) {
    const QScreen* screen = window->screen();
    if (screen == nullptr) {
        screen = QGuiApplication::primaryScreen();
    }
    if (screen == nullptr) {
        return QRect(0, 0, QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    }
    QRect room = screen->availableGeometry();
    // The frame is known once the window system has shown the window; before
    // that the style's title bar stands in for it.
    const QRect frame = window->frameGeometry();
    const QRect inner = window->geometry();
    int left = inner.left() - frame.left();
    int top = inner.top() - frame.top();
    int right = frame.right() - inner.right();
    int bottom = frame.bottom() - inner.bottom();
    if (!window->testAttribute(Qt::WA_WState_Created) || frame == inner) {
        top = window->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, window);
        left = right = bottom = 0;
    }
    return room.adjusted(left, top, -right, -bottom);
}

void KeepOnScreen(QWidget* window) {
    const QRect room = RoomOnScreen(window);
    if (window->width() > room.width() || window->height() > room.height()) {
        const QSize bounded = window->size().boundedTo(room.size());
        window->setMinimumSize(window->minimumSize().boundedTo(bounded));
        window->resize(bounded);
    }
    QRect place = window->geometry();
    place.moveLeft(std::clamp(place.left(), room.left(), std::max(room.left(), room.right() + 1 - place.width())));
    place.moveTop(std::clamp(place.top(), room.top(), std::max(room.top(), room.bottom() + 1 - place.height())));
    if (place.topLeft() != window->geometry().topLeft()) {
        window->move(place.topLeft() - (window->geometry().topLeft() - window->pos()));
    }
}

void SetTabOrderByPlace(QWidget* window) {
    struct Stop {
        QWidget* control;
        QRect place;
    };
    std::vector<Stop> stops;
    ForEachPart(window, [&](QWidget* control) {
        if (control->property(kPlaceProperty).isValid() && (control->focusPolicy() & Qt::TabFocus) != 0) {
            stops.push_back({control, QRect(control->mapTo(window, QPoint(0, 0)), control->size())});
        }
    });
    std::stable_sort(stops.begin(), stops.end(),
                     [](const Stop& a, const Stop& b) { return a.place.top() < b.place.top(); });
    // Rows: a control belongs to the row of the first control above whose
    // bottom it starts.
    std::vector<Stop> ordered;
    for (std::size_t first = 0; first < stops.size();) {
        std::size_t end = first + 1;
        while (end < stops.size() && stops[end].place.top() <= stops[first].place.bottom()) {
            ++end;
        }
        std::vector<Stop> row(stops.begin() + static_cast<std::ptrdiff_t>(first),
                              stops.begin() + static_cast<std::ptrdiff_t>(end));
        std::stable_sort(row.begin(), row.end(),
                         [](const Stop& a, const Stop& b) { return a.place.left() < b.place.left(); });
        ordered.insert(ordered.end(), row.begin(), row.end());
        first = end;
    }
    for (std::size_t at = 1; at < ordered.size(); ++at) {
        QWidget::setTabOrder(ordered[at - 1].control, ordered[at].control);
    }
}
