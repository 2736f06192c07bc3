#include "catalog/ParameterDefinition.h"
#include "catalog/ValueText.h"

#include <gtest/gtest.h>

#include <climits>

TEST(FormatNumber, SixteenBitKindsFollowTheirSign) {
    // The caller passes the sign-extended word.
    EXPECT_EQ(FormatNumber(-1, 0, 0, 10, KindDecimal16), L"65535");
    EXPECT_EQ(FormatNumber(-1, 1, 0, 10, KindDecimal16), L"-1");
    EXPECT_EQ(FormatNumber(-1, 0, 0, 16, KindDecimal16), L"FFFF");
    EXPECT_EQ(FormatNumber(0x1F, 0, 0, 16, KindDecimal16), L"001F");
    EXPECT_EQ(FormatNumber(1234, 1, 2, 10, KindDecimal16), L"12.34");
    EXPECT_EQ(FormatNumber(-32000, 1, 2, 10, KindDecimal16), L"-320.00");
    EXPECT_EQ(FormatNumber(10000, 1, 4, 10, KindDecimal16), L"1.0000");
    EXPECT_EQ(FormatNumber(-1, 0, 1, 10, KindDecimal16), L"6553.5");
    EXPECT_EQ(FormatNumber(5, 1, 0, 0, KindDecimal16), L"");
}

TEST(FormatNumber, ThirtyTwoBitModes) {
    EXPECT_EQ(FormatNumber(-1, 0, 0, 10, KindUnsigned32), L"4294967295");
    EXPECT_EQ(FormatNumber(-1, 0, 0, 16, KindUnsigned32), L"FFFFFFFF");
    EXPECT_EQ(FormatNumber(-1, 0, 2, 10, KindUnsigned32), L"42949672.95");
    EXPECT_EQ(FormatNumber(-1, 0, 0, 10, KindNone), L"4294967295");
    EXPECT_EQ(FormatNumber(-1, 0, 0, 7, KindUnsigned32), L"");
    // Signed32 is never cut to 16 bits, even when marked unsigned.
    EXPECT_EQ(FormatNumber(-70000, 0, 0, 10, KindSigned32), L"-70000");
    EXPECT_EQ(FormatNumber(0x12345, 0, 0, 16, KindSigned32), L"00012345");
}

TEST(ParseDecimalText, NudgesAwayFromZeroThenCuts) {
    EXPECT_EQ(ParseDecimalText(L"1.23", 2), 123);
    EXPECT_EQ(ParseDecimalText(L"-0.005", 2), 0);
    EXPECT_EQ(ParseDecimalText(L"-1.23", 2), -123);
    EXPECT_EQ(ParseDecimalText(L"1", 4), 10000);
    EXPECT_EQ(ParseDecimalText(L"0.3", 1), 3);
    EXPECT_EQ(ParseDecimalText(L"  2.5", 1), 25);
    EXPECT_EQ(ParseDecimalText(L"+2.5", 1), 25);
    EXPECT_EQ(ParseDecimalText(L"1e2", 1), 1000);
}

TEST(ParseDecimalText, RefusesWhatIsNotOneNumber) {
    for (const wchar_t* text :
         {L"", L"12abc", L"abc", L"1.2.3", L"12 ", L"1,5", L"nan", L"--1", L"+-1", L"1e999"}) {
        EXPECT_FALSE(ParseDecimalText(text, 2).has_value()) << "accepted a malformed number";
    }
}

TEST(ParseDecimalText, NumbersBeyond32BitsSaturate) {
    EXPECT_EQ(ParseDecimalText(L"1e12", 2), INT_MAX);
    EXPECT_EQ(ParseDecimalText(L"-1e12", 2), INT_MIN);
    EXPECT_EQ(ParseDecimalText(L"1e300", 9), INT_MAX);
    EXPECT_EQ(ParseDecimalText(L"inf", 2), INT_MAX);
    EXPECT_EQ(ParseDecimalText(L"21474836.47", 2), INT_MAX);
}

TEST(ParseIntegerText, ThirtyTwoBitSemanticsOnEveryPlatform) {
    EXPECT_EQ(ParseIntegerText(L"502", 10, false), 502);
    EXPECT_EQ(ParseIntegerText(L"-12", 10, true), -12);
    EXPECT_EQ(ParseIntegerText(L"2147483647", 10, true), INT_MAX);
    EXPECT_EQ(ParseIntegerText(L"-2147483648", 10, true), INT_MIN);
    EXPECT_FALSE(ParseIntegerText(L"2147483648", 10, true).has_value());
    EXPECT_FALSE(ParseIntegerText(L"99999999999999999999", 10, true).has_value());
    // Unsigned texts wrap as an unsigned 32-bit conversion does.
    EXPECT_EQ(ParseIntegerText(L"4294967295", 10, false), -1);
    EXPECT_EQ(ParseIntegerText(L"-1", 10, false), -1);
    EXPECT_FALSE(ParseIntegerText(L"4294967296", 10, false).has_value());
    EXPECT_EQ(ParseIntegerText(L"ff", 16, false), 255);
    EXPECT_EQ(ParseIntegerText(L"0x1F", 16, false), 31);
    for (const wchar_t* text : {L"", L"3.5", L"12abc", L"-", L"12 ", L"0x"}) {
        EXPECT_FALSE(ParseIntegerText(text, 10, true).has_value()) << "accepted a malformed integer";
    }
}

TEST(ParseUnsigned32Text, ReadsARealNumberCutToAnInteger) {
    EXPECT_EQ(ParseUnsigned32Text(L"4294967295"), 4294967295LL);
    EXPECT_EQ(ParseUnsigned32Text(L"-1"), -1);
    EXPECT_EQ(ParseUnsigned32Text(L"1.9"), 1);
    EXPECT_EQ(ParseUnsigned32Text(L"1e30"), LLONG_MAX);
    EXPECT_FALSE(ParseUnsigned32Text(L"").has_value());
    EXPECT_FALSE(ParseUnsigned32Text(L"7x").has_value());
}

TEST(ParseIpAddressText, FourOctetsAndNothingElse) {
    EXPECT_EQ(ParseIpAddressText(L"10.0.0.1"), 0x0A000001u);
    EXPECT_EQ(ParseIpAddressText(L"255.255.255.0"), 0xFFFFFF00u);
    for (const wchar_t* text : {L"192.168.0.256", L"192.168.0", L"192.168.0.1 ", L"192.168..1",
                                L"192,168.0.1", L"", L"-1.0.0.1", L"1.2.3.4.5", L"99999999999.0.0.1"}) {
        EXPECT_FALSE(ParseIpAddressText(text).has_value()) << "accepted a malformed address";
    }
}

TEST(LoginText, SixteenLettersAndDigitsAtMost) {
    EXPECT_TRUE(IsValidLoginText(L"Abcdefgh12345678"));
    EXPECT_TRUE(IsValidLoginText(L""));
    EXPECT_FALSE(IsValidLoginText(L"Abcdefgh123456789"));
    EXPECT_FALSE(IsValidLoginText(L"user_1"));
    EXPECT_FALSE(IsValidLoginText(L"user 1"));
    EXPECT_FALSE(IsValidLoginText(L"\u00e9t\u00e9"));
}

TEST(DateTimeText, NamesTheFirstWrongPart) {
    EXPECT_EQ(CheckDateTimeText(L"2024/01/05 07:08:09"), nullptr);
    EXPECT_EQ(CheckDateTimeText(L"2024/1/5 7:08:09"), nullptr);
    EXPECT_EQ(CheckDateTimeText(L"2099/12/31 23:59:59"), nullptr);
    const std::pair<const wchar_t*, std::wstring> cases[] = {
        {L"2000/01/05 07:08:09", L"yearErr"},  {L"2100/01/05 07:08:09", L"yearErr"},
        {L"/01/05 07:08:09", L"yearErr"},      {L"2024-01-05 07:08:09", L"dateErr"},
        {L"2024/13/05 07:08:09", L"monthErr"}, {L"2024/0/05 07:08:09", L"monthErr"},
        {L"2024/01/32 07:08:09", L"dayErr"},   {L"2024/01/05T07:08:09", L"dateErr"},
        {L"2024/01/05 24:08:09", L"timeErr"},  {L"2024/01/05 07.08:09", L"timeErr"},
        {L"2024/01/05 07:60:09", L"minErr"},   {L"2024/01/05 07:08:60", L"secErr"},
        {L"2024/01/05 07:08:", L"secErr"},     {L"2024/01/05 07:08:09 ", L"timeErr"},
        {L"2024/01/05  07:08:09", L"timeErr"},
    };
    for (const auto& [text, key] : cases) {
        const PlainMessageKey* error = CheckDateTimeText(text);
        ASSERT_NE(error, nullptr) << "accepted a malformed date";
        EXPECT_EQ(std::wstring(error->name), key);
    }
}

TEST(MacText, OnlyTwelveCharactersAreFormatted) {
    EXPECT_EQ(FormatMacText(L"0123456789AB"), L"01-23-45-67-89-AB");
    EXPECT_EQ(FormatMacText(L"-"), L"-");
    EXPECT_EQ(FormatMacText(L"01-23-45-67-89-AB"), L"01-23-45-67-89-AB");
    EXPECT_EQ(FormatMacText(L"0123456789A"), L"0123456789A");
    EXPECT_EQ(FormatMacText(L""), L"");
}

TEST(UnitTable, CodesZeroToSevenOnly) {
    EXPECT_EQ(std::wstring(UnitTextKey(0)->name), L"unitv");
    EXPECT_EQ(std::wstring(UnitTextKey(3)->name), L"unitdegc");
    EXPECT_EQ(std::wstring(UnitTextKey(7)->name), L"unitmsec");
    EXPECT_EQ(UnitTextKey(-1), nullptr);
    EXPECT_EQ(UnitTextKey(8), nullptr);
}
