#include "link/CGICommandParser.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cwchar>

#include <limits>

namespace {

const std::wstring kHexError = L"gi hex value error";
const std::wstring kDecError = L"gi dec value error";
const std::wstring kScaledError = L"gi decp value error";

CGICommandParser Parsed(const std::wstring& text) {
    return CGICommandParser(text);
}

} // namespace

TEST(GICommandParser, SplitsAtTheFirstColon) {
    CGICommandParser parser(L"UPMAP:8001");
    EXPECT_EQ(parser.GetCommand(), L"UPMAP");
    EXPECT_EQ(parser.GetHexValue(), 0x8001u);

    EXPECT_EQ(&parser.Parse(L"TAG:12:34"), &parser);
    EXPECT_EQ(parser.GetCommand(), L"TAG");
    EXPECT_EQ(parser.GetValue(), L"12:34");
    EXPECT_EQ(k52test::RaisedText([&] { parser.GetHexValue(); }), kHexError);

    parser.Parse(L"1234");
    EXPECT_EQ(parser.GetCommand(), L"");
    EXPECT_EQ(parser.GetDecValue(), 1234u);

    parser.Parse(L"");
    EXPECT_EQ(parser.GetCommand(), L"");
    EXPECT_EQ(parser.GetValue(), L"");

    EXPECT_EQ(Parsed(L"ATTRIB:0000").GetCommand(), L"ATTRIB");
    EXPECT_EQ(Parsed(L"ATTRIB:0000").GetHexValue(), 0u);
}

TEST(GICommandParser, EmptyValueRaisesEveryConversionsText) {
    const CGICommandParser parser(L"STATUS:");
    EXPECT_EQ(k52test::RaisedText([&] { parser.GetHexValue(); }), kHexError);
    EXPECT_EQ(k52test::RaisedText([&] { parser.GetDecValue(); }), kDecError);
    EXPECT_EQ(k52test::RaisedText([&] { parser.GetScaledValue(0); }), kScaledError);
    EXPECT_EQ(k52test::RaisedText([&] { parser.GetOptionalDecValue(); }), kDecError);
}

TEST(GICommandParser, HexValuesTakePrefixSignAndSaturate) {
    EXPECT_EQ(Parsed(L"X:0x1F").GetHexValue(), 31u);
    EXPECT_EQ(Parsed(L"X:0XfF").GetHexValue(), 255u);
    EXPECT_EQ(Parsed(L"X:  1a").GetHexValue(), 26u);
    EXPECT_EQ(Parsed(L"X:+10").GetHexValue(), 16u);
    EXPECT_EQ(Parsed(L"X:-1").GetHexValue(), 0xFFFFFFFFu);
    EXPECT_EQ(Parsed(L"X:-0x10").GetHexValue(), 0xFFFFFFF0u);
    EXPECT_EQ(Parsed(L"X:FFFFFFFF").GetHexValue(), 0xFFFFFFFFu);
    EXPECT_EQ(Parsed(L"X:100000000").GetHexValue(), 0xFFFFFFFFu);
    EXPECT_EQ(Parsed(L"X:-123456789ABC").GetHexValue(), 0xFFFFFFFFu);
    EXPECT_EQ(Parsed(L"X:0").GetHexValue(), 0u);
    for (const wchar_t* bad : {L"X:0x", L"X:0xG", L"X:12 ", L"X:-", L"X:G", L"X: ", L"X:1.0"}) {
        EXPECT_EQ(k52test::RaisedText([&] { Parsed(bad).GetHexValue(); }), kHexError) << bad;
    }
}

TEST(GICommandParser, DecValuesReadBaseTenOnly) {
    EXPECT_EQ(Parsed(L"V: 12").GetDecValue(), 12u);
    EXPECT_EQ(Parsed(L"V:-5").GetDecValue(), static_cast<std::uint32_t>(-5));
    EXPECT_EQ(static_cast<std::int32_t>(Parsed(L"V:-5").GetDecValue()), -5);
    EXPECT_EQ(Parsed(L"V:4294967295").GetDecValue(), 4294967295u);
    EXPECT_EQ(Parsed(L"V:4294967296").GetDecValue(), 4294967295u);
    EXPECT_EQ(Parsed(L"V:007").GetDecValue(), 7u);
    for (const wchar_t* bad : {L"V:0x1F", L"V:12 ", L"V:1F", L"V:+", L"V:1,5", L"V:\u0661"}) {
        EXPECT_EQ(k52test::RaisedText([&] { Parsed(bad).GetDecValue(); }), kDecError) << bad;
    }
}

TEST(GICommandParser, OptionalDecValueReportsMissingValuesAsMinusOne) {
    EXPECT_EQ(Parsed(L"V:-").GetOptionalDecValue(), -1);
    EXPECT_EQ(Parsed(L"V:-5").GetOptionalDecValue(), -1);
    EXPECT_EQ(Parsed(L"V:-garbage").GetOptionalDecValue(), -1);
    EXPECT_EQ(Parsed(L"V:4294967295").GetOptionalDecValue(), 4294967295LL);
    EXPECT_EQ(Parsed(L"V:0").GetOptionalDecValue(), 0);
    EXPECT_EQ(k52test::RaisedText([&] { Parsed(L"V:12x").GetOptionalDecValue(); }), kDecError);
}

TEST(GICommandParser, ScaledValuesTruncateTowardZeroAndSaturate) {
    EXPECT_EQ(Parsed(L"T:12.34").GetScaledValue(2), 1234);
    EXPECT_EQ(Parsed(L"T:-0.5").GetScaledValue(0), 0);
    EXPECT_EQ(Parsed(L"T:-1.99").GetScaledValue(0), -1);
    EXPECT_EQ(Parsed(L"T: +2.5e1").GetScaledValue(1), 250);
    EXPECT_EQ(Parsed(L"T:1234").GetScaledValue(-2), 12);
    EXPECT_EQ(Parsed(L"T:.5").GetScaledValue(1), 5);
    EXPECT_EQ(Parsed(L"T:5.").GetScaledValue(0), 5);

    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
    EXPECT_EQ(Parsed(L"T:1e30").GetScaledValue(0), kMax);
    EXPECT_EQ(Parsed(L"T:1e30").GetScaledValue(-10), kMax);
    EXPECT_EQ(Parsed(L"T:-1e30").GetScaledValue(3), kMin);
    EXPECT_EQ(Parsed(L"T:2147483647").GetScaledValue(0), kMax);
    EXPECT_EQ(Parsed(L"T:-2147483648").GetScaledValue(0), kMin);
    EXPECT_EQ(Parsed(L"T:2147483648").GetScaledValue(0), kMax);
    EXPECT_EQ(Parsed(L"T:1e999").GetScaledValue(0), kMax);
    EXPECT_EQ(Parsed(L"T:-1e999").GetScaledValue(0), kMin);
    EXPECT_EQ(Parsed(L"T:1e-999").GetScaledValue(5), 0);
    EXPECT_EQ(Parsed(L"T:0").GetScaledValue(400), 0);
    EXPECT_EQ(Parsed(L"T:1").GetScaledValue(400), kMax);
    EXPECT_EQ(Parsed(L"T:1e00000000000000003").GetScaledValue(0), 1000);

    // Scaling works on the decimal digits: values that binary floating point
    // cannot hold exactly ("0.29" x 100 = 28.999...) are not cut one step low.
    EXPECT_EQ(Parsed(L"T:0.29").GetScaledValue(2), 29);
    EXPECT_EQ(Parsed(L"T:-0.29").GetScaledValue(2), -29);
    EXPECT_EQ(Parsed(L"T:1.0003").GetScaledValue(4), 10003);
    EXPECT_EQ(Parsed(L"T:2.9e-1").GetScaledValue(2), 29);
    for (int hundredths = -32000; hundredths <= 32000; ++hundredths) {
        const int whole = std::abs(hundredths) / 100;
        const int part = std::abs(hundredths) % 100;
        wchar_t text[32];
        std::swprintf(text, 32, L"B:%s%d.%02d", hundredths < 0 ? "-" : "", whole, part);
        ASSERT_EQ(Parsed(text).GetScaledValue(2), hundredths) << text;
    }

    for (const wchar_t* bad :
         {L"T:12 ", L"T:1e", L"T:1e+", L"T:abc", L"T:.", L"T:-", L"T:nan", L"T:inf", L"T:0x10", L"T:1,5"}) {
        EXPECT_EQ(k52test::RaisedText([&] { Parsed(bad).GetScaledValue(0); }), kScaledError) << bad;
    }
}
