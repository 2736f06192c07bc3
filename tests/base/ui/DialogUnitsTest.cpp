#include "base/ui/CDialogUnits.h"
#include "base/ui/ControlId.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QWidget>

#include <gtest/gtest.h>

TEST(DialogUnits, LayoutGrowsWithTheFontAndNeighboursStayFlush) {
    QFont small;
    small.setPixelSize(10);
    QFont large;
    large.setPixelSize(20);
    CDialogUnits smallUnits(small);
    CDialogUnits largeUnits(large);

    // Four horizontal units are one average character, eight vertical ones a line.
    EXPECT_EQ(smallUnits.ToPixelsY(8), QFontMetrics(small).height());
    EXPECT_EQ(largeUnits.ToPixelsY(8), QFontMetrics(large).height());
    EXPECT_GT(largeUnits.ToPixelsX(204), smallUnits.ToPixelsX(204));
    EXPECT_GT(largeUnits.ToPixelsY(66), smallUnits.ToPixelsY(66));

    // Controls that touch in dialog units touch in pixels, whatever the rounding.
    for (int x = 0; x < 40; ++x) {
        QRect left = smallUnits.ToPixels(x, 3, 7, 5);
        QRect right = smallUnits.ToPixels(x + 7, 3, 5, 5);
        EXPECT_EQ(left.right() + 1, right.left()) << x;
    }
}

TEST(DialogUnits, PlacedControlsAreFoundByTheirIdentifier) {
    QWidget window;
    CDialogUnits units(window.font());
    auto* button = new QPushButton(&window);
    auto* label = new QLabel(&window);
    units.Place(button, 2, 82, 46, 50, 14);
    units.Place(label, kSharedControlId, 6, 10, 204, 8);

    EXPECT_EQ(button->geometry(), units.ToPixels(82, 46, 50, 14));
    EXPECT_EQ(FindControl(&window, 2), button);
    EXPECT_EQ(FindControl(&window, kSharedControlId), label);
    EXPECT_EQ(GetControlId(label), kSharedControlId);
    EXPECT_EQ(FindControl(&window, 0), nullptr);
    EXPECT_FALSE(GetControlId(&window).has_value());
}
