// The one reading of number texts that typed values, files, station replies
// and language files share.
#include "base/NumberText.h"

#include <gtest/gtest.h>

#include <string>

TEST(NumberTextTest, BlanksAreTheSixAsciiWhiteSpacesWhateverTheLocale) {
    for (const wchar_t c : std::wstring(L" \t\n\v\f\r")) {
        EXPECT_TRUE(IsNumberBlank(c)) << static_cast<int>(c);
    }
    // An ideographic space and a no-break space are not blanks: a number
    // typed after one is refused alike on every desktop.
    EXPECT_FALSE(IsNumberBlank(L'\u3000'));
    EXPECT_FALSE(IsNumberBlank(L'\u00A0'));
    EXPECT_EQ(TrimBlanks(L" \t12\r\n"), L"12");
    EXPECT_EQ(TrimBlanks(L"\u3000"
                         L"12"),
              L"\u3000"
              L"12");
}

TEST(NumberTextTest, WholeNumbersReadAsTheCLibraryReadsThem) {
    struct Case {
        const wchar_t* text;
        int base;
        bool read;
        bool negative;
        std::uint64_t magnitude;
        std::size_t end;
    };
    const Case cases[] = {
        {L"  -42x", 10, true, true, 42, 5},
        {L"+0x1F", 16, true, false, 31, 5},
        {L"0x", 16, true, false, 0, 1}, // no hexadecimal digit after it: "0x" is no prefix
        {L"0xG", 16, true, false, 0, 1},
        {L"0x10", 0, true, false, 16, 4}, // base 0: the prefix decides
        {L"017", 0, true, false, 15, 3},
        {L"99999999999", 10, true, false, WholeNumber::kCap, 11}, // held just above 32 bits
        {L"4294967295", 10, true, false, 0xFFFF'FFFFULL, 10},
        {L"+-5", 10, false, false, 0, 0},
        {L"", 10, false, false, 0, 0},
        {L"12", 37, false, false, 0, 0},
    };
    for (const Case& c : cases) {
        const std::optional<WholeNumber> number = ReadWholeNumber(c.text, c.base);
        ASSERT_EQ(number.has_value(), c.read) << c.text;
        if (number) {
            EXPECT_EQ(number->negative, c.negative) << c.text;
            EXPECT_EQ(number->magnitude, c.magnitude) << c.text;
            EXPECT_EQ(number->end, c.end) << c.text;
        }
    }
}
