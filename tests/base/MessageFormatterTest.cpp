#include "base/CMessageFormatter.h"

#include <gtest/gtest.h>

#include <climits>
#include <clocale>
#include <string>

TEST(MessageFormatter, PrintfInsertsOfTheLanguageFiles) {
    EXPECT_EQ(CMessageFormatter::Printf(L"IO%s", std::wstring(L"07")), L"IO07");
    EXPECT_EQ(CMessageFormatter::Printf(L"slot %d", 4), L"slot 4");
    EXPECT_EQ(CMessageFormatter::Printf(L"%02d", 7), L"07");
    EXPECT_EQ(CMessageFormatter::Printf(L"%u", 4294967295u), L"4294967295");
    EXPECT_EQ(CMessageFormatter::Printf(L"%lu", 4294967295u), L"4294967295");
    EXPECT_EQ(CMessageFormatter::Printf(L"%X", 0xBEEF), L"BEEF");
    EXPECT_EQ(CMessageFormatter::Printf(L"%04X", 0x1F), L"001F");
    EXPECT_EQ(CMessageFormatter::Printf(L"%08X", -1), L"FFFFFFFF");
    EXPECT_EQ(CMessageFormatter::Printf(L"%04x", 0x10a), L"010a");
    EXPECT_EQ(CMessageFormatter::Printf(L"100%%", 1), L"100%");
    EXPECT_EQ(CMessageFormatter::Printf(L"%.2lf", 12.345), L"12.35");
    EXPECT_EQ(CMessageFormatter::Printf(L"%.3lf", -1.5), L"-1.500");
    EXPECT_EQ(CMessageFormatter::Printf(L"%s %d %d %d %s", std::wstring(L"Item"), 3, 42, 1, std::wstring(L"why")),
              L"Item 3 42 1 why");
}

TEST(MessageFormatter, PlainIntegerInsertsAre32BitsWide) {
    EXPECT_EQ(CMessageFormatter::Printf(L"%d", 4294967295LL), L"-1");
    EXPECT_EQ(CMessageFormatter::Printf(L"%u", -1), L"4294967295");
    EXPECT_EQ(CMessageFormatter::Printf(L"%lld", 4294967296LL), L"4294967296");
    EXPECT_EQ(CMessageFormatter::Printf(L"%hd", 65535), L"-1");
}

TEST(MessageFormatter, NumberedInserts) {
    EXPECT_EQ(CMessageFormatter::Numbered(L"%1: %2 to %3", std::wstring(L"bias"), std::wstring(L"-320.00"),
                                          std::wstring(L"320.00")),
              L"bias: -320.00 to 320.00");
    EXPECT_EQ(CMessageFormatter::Numbered(L"Can't read resource file \"%1!s!\".%n%2!s!", std::wstring(L"a.lng"),
                                          std::wstring(L"why")),
              L"Can't read resource file \"a.lng\".\nwhy");
    EXPECT_EQ(CMessageFormatter::Numbered(L"%2 before %1", 1, 2), L"2 before 1");
    EXPECT_EQ(CMessageFormatter::Numbered(L"%1!d! and %1!04X!", 31), L"31 and 001F");
    EXPECT_EQ(CMessageFormatter::Numbered(L"50%% done%tnow"), L"50% done\tnow");
}

// Language files are outside input: whatever they hold, the result is a text.
TEST(MessageFormatter, HostileTextsGiveTextNeverUndefinedBehaviour) {
    // More inserts than arguments: the extra inserts stay as written.
    EXPECT_EQ(CMessageFormatter::Printf(L"%s %s %d", std::wstring(L"one")), L"one %s %d");
    EXPECT_EQ(CMessageFormatter::Numbered(L"%1 %2 %3", std::wstring(L"one")), L"one %2 %3");
    // A string insert where an integer comes, and the other way round.
    EXPECT_EQ(CMessageFormatter::Printf(L"[%s]", 42), L"[42]");
    EXPECT_EQ(CMessageFormatter::Printf(L"[%d]", std::wstring(L"text")), L"[text]");
    EXPECT_EQ(CMessageFormatter::Printf(L"[%f]", std::wstring(L"text")), L"[text]");
    EXPECT_EQ(CMessageFormatter::Numbered(L"[%1!d!]", std::wstring(L"text")), L"[text]");
    // %n never writes anything anywhere: it is a line break.
    EXPECT_EQ(CMessageFormatter::Printf(L"a%nb", 1), L"a\nb");
    // Malformed or unsupported inserts stay text.
    EXPECT_EQ(CMessageFormatter::Printf(L"%*d|%", 5, 6), L"%*d|%");
    EXPECT_EQ(CMessageFormatter::Printf(L"%q %", 1), L"%q %");
    EXPECT_EQ(CMessageFormatter::Printf(L"%99999999999d", 1), L"%99999999999d");
    EXPECT_EQ(CMessageFormatter::Numbered(L"%1!999999999d!", 1), L"1");
    EXPECT_EQ(CMessageFormatter::Numbered(L"%1!s", std::wstring(L"x")), L"x!s");
    EXPECT_EQ(CMessageFormatter::Numbered(L"end %"), L"end %");
    // Large but bounded widths are honoured.
    EXPECT_EQ(CMessageFormatter::Printf(L"%512d", 1).size(), 512u);
    EXPECT_EQ(CMessageFormatter::Printf(L"%.512f", 1.0).size(), 514u);
    EXPECT_EQ(CMessageFormatter::Printf(L"%c%c", 0, -5), L"??");
}

TEST(MessageFormatter, SystemErrorTextNamesTheError) {
    EXPECT_EQ(CMessageFormatter::SystemErrorText(2), L"No such file or directory");
}

TEST(MessageFormatter, NumbersIgnoreTheDesktopLocale) {
    // Whatever locale the process runs under, values keep a decimal point.
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    std::string saved = previous != nullptr ? previous : "C";
    int tried = 0;
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8"}) {
        if (std::setlocale(LC_NUMERIC, name) == nullptr) {
            continue;
        }
        ++tried;
        EXPECT_EQ(CMessageFormatter::Printf(L"%.2lf", 12.34), L"12.34") << name;
        EXPECT_EQ(CMessageFormatter::Numbered(L"%1!.1f!", 0.5), L"0.5") << name;
    }
    std::setlocale(LC_NUMERIC, saved.c_str());
    if (tried == 0) {
        GTEST_SKIP() << "no locale with a decimal comma is installed";
    }
}
