#include "base/ui/CFileChooser.h"

#include <gtest/gtest.h>

TEST(FileChooser, FilterTextBecomesTheDialogsNameFilters) {
    EXPECT_EQ(CFileChooser::NameFilters(L"Configuration files (*.cfg)|*.cfg|All files (*.*)|*.*||"),
              (QStringList{QStringLiteral("Configuration files (*.cfg)"), QStringLiteral("All files (*)")}));
    // The patterns of the text decide, not what its description claims.
    EXPECT_EQ(CFileChooser::NameFilters(L"Settings (*.ini)|*.cfg; *.xml||"),
              (QStringList{QStringLiteral("Settings (*.cfg *.xml)")}));
    EXPECT_EQ(CFileChooser::NameFilters(L"Plain|*.cfg"), (QStringList{QStringLiteral("Plain (*.cfg)")}));
}

TEST(FileChooser, ANameTypedWithoutExtensionGetsThatOfTheFiltersFirstPattern) {
    EXPECT_EQ(CFileChooser::DefaultSuffix(L"Configuration files (*.cfg)|*.cfg|All files (*.*)|*.*||"),
              QStringLiteral("cfg"));
    EXPECT_EQ(CFileChooser::DefaultSuffix(L"HTML pages (*.html)|*.html||"), QStringLiteral("html"));
    EXPECT_EQ(CFileChooser::DefaultSuffix(L"PDF (*.pdf)|*.pdf;*.PDF||"), QStringLiteral("pdf"));
    // Nothing to take it from: the configuration's.
    EXPECT_EQ(CFileChooser::DefaultSuffix(L"All files (*.*)|*.*||"), QStringLiteral("cfg"));
    EXPECT_EQ(CFileChooser::DefaultSuffix(L""), QStringLiteral("cfg"));
}
