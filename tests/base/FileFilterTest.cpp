#include "base/FileFilter.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::pair<std::wstring, std::wstring>> Pairs(std::wstring_view text) {
    std::vector<std::pair<std::wstring, std::wstring>> pairs;
    for (const FileFilterEntry& entry : ParseFileFilter(text)) {
        pairs.emplace_back(entry.description, entry.patterns);
    }
    return pairs;
}

} // namespace

TEST(FileFilter, SplitsDescriptionPatternPairsUpToTheClosingBars) {
    using P = std::vector<std::pair<std::wstring, std::wstring>>;
    EXPECT_EQ(Pairs(L"Configuration files (*.cfg)|*.cfg|All files (*.*)|*.*||"),
              (P{{L"Configuration files (*.cfg)", L"*.cfg"}, {L"All files (*.*)", L"*.*"}}));
    // Without the closing bars, and with what follows them ignored.
    EXPECT_EQ(Pairs(L"Configurations|*.cfg;*.xml"), (P{{L"Configurations", L"*.cfg;*.xml"}}));
    EXPECT_EQ(Pairs(L"A|*.a||B|*.b"), (P{{L"A", L"*.a"}}));
    // A description with no patterns is no choice; a text with no pairs gives none.
    EXPECT_EQ(Pairs(L"A||B|*.b||"), (P{{L"B", L"*.b"}}));
    EXPECT_EQ(Pairs(L"Only a description"), P{});
    EXPECT_EQ(Pairs(L""), P{});
}
