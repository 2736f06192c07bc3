#include "station/StationText.h"
#include "station/CStationLineUp.h"

#include <gtest/gtest.h>

namespace {

TEST(StationText, DecimalTextsAreReadExactlyAndCutTowardZero) {
    std::int64_t value = 0;
    ASSERT_TRUE(ParseDecimalText(L"12.34", 2, value));
    EXPECT_EQ(value, 1234);
    ASSERT_TRUE(ParseDecimalText(L"1.0000", 4, value));
    EXPECT_EQ(value, 10000);
    ASSERT_TRUE(ParseDecimalText(L"-15", 2, value));
    EXPECT_EQ(value, -1500);
    ASSERT_TRUE(ParseDecimalText(L"-0.059", 2, value));
    EXPECT_EQ(value, -5);
    ASSERT_TRUE(ParseDecimalText(L"0.3", 0, value));
    EXPECT_EQ(value, 0);
    for (const wchar_t* bad :
         {L"", L"-", L".5", L"5.", L"12,34", L"1e3", L" 1", L"1 ", L"+1", L"99999999999999999999"}) {
        EXPECT_FALSE(ParseDecimalText(bad, 2, value)) << bad;
    }
}

TEST(StationText, DecimalsAreShownWithLeadingZerosAndSign) {
    EXPECT_EQ(FormatDecimal(1234, 2), L"12.34");
    EXPECT_EQ(FormatDecimal(-5, 2), L"-0.05");
    EXPECT_EQ(FormatDecimal(10000, 4), L"1.0000");
    EXPECT_EQ(FormatDecimal(0, 3), L"0.000");
    EXPECT_EQ(FormatDecimal(-32000, 0), L"-32000");
}

TEST(StationText, IntegerAndAddressTexts) {
    std::int64_t value = 0;
    ASSERT_TRUE(ParseIntegerText(L"4294967295", 10, value));
    EXPECT_EQ(value, 4294967295LL);
    ASSERT_TRUE(ParseIntegerText(L"00fF", 16, value));
    EXPECT_EQ(value, 255);
    EXPECT_FALSE(ParseIntegerText(L"-1", 16, value));
    EXPECT_FALSE(ParseIntegerText(L"0x1F", 16, value));
    EXPECT_FALSE(ParseIntegerText(L"1.5", 10, value));

    std::uint32_t address = 0;
    ASSERT_TRUE(ParseIpText(L"192.168.0.1", address));
    EXPECT_EQ(address, 0xC0A80001U);
    for (const wchar_t* bad : {L"192.168.0", L"192.168.0.256", L"192.168.0.1 ", L"192..0.1", L"1.2.3.4.5"}) {
        EXPECT_FALSE(ParseIpText(bad, address)) << bad;
    }
}

TEST(StationText, ClockTextsRoundTripAcrossMonthsAndLeapDays) {
    const std::optional<std::int64_t> leapDay = ParseStationDateTime(L"2024/2/29 23:59:59");
    ASSERT_TRUE(leapDay);
    EXPECT_EQ(FormatStationDateTime(*leapDay), L"2024/02/29 23:59:59");
    EXPECT_EQ(FormatStationDateTime(*leapDay + 1), L"2024/03/01 00:00:00");
    EXPECT_EQ(FormatStationDateTime(0), L"1970/01/01 00:00:00");
    EXPECT_FALSE(ParseStationDateTime(L"2023/02/29 00:00:00"));
    EXPECT_FALSE(ParseStationDateTime(L"2000/01/01 00:00:00"));
    EXPECT_FALSE(ParseStationDateTime(L"2024/01/01T00:00:00"));
    EXPECT_FALSE(ParseStationDateTime(L"2024/01/01 24:00:00"));
}

TEST(StationLineUp, ReadsSlotsAndRefusesWhatNoStationHolds) {
    std::wstring error;
    const std::optional<CStationLineUp> lineUp = CStationLineUp::Parse(L" 3=KZ9W, 0=K52HZKJ8,1=JK7W ", error);
    ASSERT_TRUE(lineUp) << error;
    EXPECT_EQ(lineUp->GetModel(0), L"K52HZKJ8");
    EXPECT_EQ(lineUp->GetModel(1), L"JK7W");
    EXPECT_EQ(lineUp->GetModel(2), L"");
    EXPECT_EQ(lineUp->GetModel(3), L"KZ9W");
    EXPECT_EQ(CStationLineUp::Parse(lineUp->ToText(), error), lineUp);

    const std::optional<CStationLineUp> noCom = CStationLineUp::Parse(L"16=QB9W", error);
    ASSERT_TRUE(noCom);
    EXPECT_EQ(noCom->GetModel(0), L"K52HQ8");
    EXPECT_EQ(noCom->GetModel(16), L"QB9W");

    for (const wchar_t* bad : {L"1=jk7w", L"0=JK7W", L"1=K52HQ8", L"17=JK7W", L"1=JK7W,1=KZ9W", L"1JK7W",
                               L"1=JK7W,,2=KZ9W", L"x=JK7W"}) {
        error.clear();
        EXPECT_FALSE(CStationLineUp::Parse(bad, error)) << bad;
        EXPECT_FALSE(error.empty()) << bad;
    }
}

} // namespace
