#include "app/ui/ApplicationIcon.h"

#include <QImage>
#include <QPixmap>

#include <gtest/gtest.h>

// The icon's images are compiled into a static library; if they were not
// linked into the program, the icon would come out empty without complaint.
TEST(ApplicationIconTest, HasEveryDrawnSizeFromTheProgramsResources) {
    const QIcon icon = ApplicationIcon();
    ASSERT_FALSE(icon.isNull());
    const QList<QSize> sizes = icon.availableSizes();
    for (int size : {16, 32, 48, 64, 128, 256}) {
        EXPECT_TRUE(sizes.contains(QSize(size, size))) << size;
        const QImage image = icon.pixmap(QSize(size, size)).toImage();
        EXPECT_EQ(image.size(), QSize(size, size)) << size;
        // Drawn, not blank: the middle of the rack is opaque.
        EXPECT_EQ(qAlpha(image.pixel(size / 2, size / 2)), 255) << size;
    }
}
