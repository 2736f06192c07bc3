#include "app/ui/CFileChooser.h"

#include <gtest/gtest.h>

TEST(FileChooser, FilterTextBecomesTheDialogsNameFilters) {
    EXPECT_EQ(CFileChooser::NameFilters(L"Configuration files (*.cfg)|*.cfg|All files (*.*)|*.*||"),
              (QStringList{QStringLiteral("Configuration files (*.cfg)"), QStringLiteral("All files (*)")}));
    // The patterns of the text decide, not what its description claims.
    EXPECT_EQ(CFileChooser::NameFilters(L"Settings (*.ini)|*.cfg; *.xml||"),
              (QStringList{QStringLiteral("Settings (*.cfg *.xml)")}));
    EXPECT_EQ(CFileChooser::NameFilters(L"Plain|*.cfg"), (QStringList{QStringLiteral("Plain (*.cfg)")}));
}
