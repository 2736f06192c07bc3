#include "CardTestHelpers.h"
#include "base/CMessageFormatter.h"
#include "base/CResourceManager.h"
#include "catalog/CCOMCardType.h"
#include "catalog/CIOCardType.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

using k52test::RaisedText;
using k52test::RowOf;

namespace {

class CardValues : public ::testing::Test {
protected:
    void SetUp() override { k52test::LoadEnglish(); }

    static std::unique_ptr<CCardInterface> Io(const wchar_t* name) {
        return CIOCardType().CreateByName(name);
    }
    static std::unique_ptr<CCardInterface> Com(const wchar_t* name) {
        return CCOMCardType().CreateByName(name);
    }
    static std::wstring Message(PlainMessageKey key) { return CResourceManager::GetMessage(key); }
    // "Gain: enter a (whole) number from -320.00 to 320.00."
    static std::wstring NotANumber(const CCardInterface& card, int row, bool whole, const wchar_t* low,
                                   const wchar_t* high) {
        return CResourceManager::FormatNumberedMessage(whole ? Msg::inpierr_named : Msg::inperr_named,
                                                       card.GetCaption(row), std::wstring(low), std::wstring(high));
    }
    static std::wstring RangeError(const CCardInterface& card, int row, const wchar_t* low,
                                   const wchar_t* high) {
        return CResourceManager::FormatNumberedMessage(Msg::rangeerr, card.GetCaption(row), std::wstring(low),
                                                       std::wstring(high));
    }
};

} // namespace

TEST_F(CardValues, DecimalRowsRoundTypedNumbersAndCheckTheirRange) {
    auto card = Io(L"KZ7W");
    const int bias = RowOf(*card, L"bias01");
    const int gain = RowOf(*card, L"gain01");

    card->SetFromText(bias, L"1.23");
    EXPECT_EQ(card->GetWord(1, 0x0a), 123);
    EXPECT_EQ(card->GetStoredValueText(bias), L"1.23");
    EXPECT_EQ(card->GetDisplayText(bias), L"1.23 (" + Message(Msg::unitp) + L")");

    card->SetFromText(bias, L"-0.005");
    EXPECT_EQ(card->GetWord(1, 0x0a), 0);

    card->SetFromText(gain, L"1");
    EXPECT_EQ(card->GetWord(1, 0x0b), 10000);
    EXPECT_EQ(card->GetDisplayText(gain), L"1.0000");

    card->SetFromText(bias, L"-320");
    EXPECT_EQ(RaisedText([&] { card->SetFromText(bias, L"320.01"); }),
              RangeError(*card, bias, L"-320.00", L"320.00"));
    // A number far beyond 32 bits is still a range failure, not a wrapped value.
    EXPECT_EQ(RaisedText([&] { card->SetFromText(bias, L"1e12"); }),
              RangeError(*card, bias, L"-320.00", L"320.00"));
    EXPECT_EQ(RaisedText([&] { card->SetFromText(bias, L"-1e12"); }),
              RangeError(*card, bias, L"-320.00", L"320.00"));
    EXPECT_EQ(RaisedText([&] { card->SetFromText(bias, L"12abc"); }),
              NotANumber(*card, bias, false, L"-320.00", L"320.00"));
    EXPECT_EQ(RaisedText([&] { card->SetFromText(bias, L""); }),
              NotANumber(*card, bias, false, L"-320.00", L"320.00"));
    EXPECT_EQ(card->GetWord(1, 0x0a), -32000) << "a refused text changed the stored value";
}

TEST_F(CardValues, IntegerRowsTakeWholeNumbersOnly) {
    auto card = Com(L"K52HQ8");
    const int port = RowOf(*card, L"port1");
    EXPECT_EQ(card->GetStoredValueText(port), L"502");
    card->SetFromText(port, L"8080");
    EXPECT_EQ(card->GetWord(0, 0x5c), 8080);
    EXPECT_EQ(RaisedText([&] { card->SetFromText(port, L"3.5"); }), NotANumber(*card, port, true, L"1", L"32000"));
    EXPECT_EQ(RaisedText([&] { card->SetFromText(port, L"99999999999"); }),
              NotANumber(*card, port, true, L"1", L"32000"));
    EXPECT_EQ(RaisedText([&] { card->SetFromText(port, L"0"); }), RangeError(*card, port, L"1", L"32000"));
    // An unsigned text wraps as a 32-bit conversion does, so -1 is the top of the range, not 1 below it.
    EXPECT_EQ(RaisedText([&] { card->SetFromText(port, L"-1"); }), RangeError(*card, port, L"1", L"32000"));
    EXPECT_EQ(card->GetWord(0, 0x5c), 8080);
}

TEST_F(CardValues, SixteenBitWordsShowByTheRowsSign) {
    auto com = Com(L"K52HQ8");
    com->SetWord(0, 0x5c, 0xFFFF);
    EXPECT_EQ(com->GetStoredValueText(RowOf(*com, L"port1")), L"65535");
    auto io = Io(L"BZKJ8W");
    const int utc = RowOf(*io, L"utc");
    io->SetWord(0, 0x52, 0xFFFF);
    EXPECT_EQ(io->GetStoredValueText(utc), L"-1");
    EXPECT_EQ(io->GetStoredValue(utc), -1);
}

TEST_F(CardValues, IpAddresses) {
    auto card = Com(L"K52HQ8");
    const int ip = RowOf(*card, L"ipadrs");
    EXPECT_EQ(card->GetDisplayText(ip), L"192.168.0.1");
    for (const wchar_t* text : {L"192.168.0.256", L"192.168.0", L"192.168.0.1 "}) {
        EXPECT_EQ(RaisedText([&] { card->SetFromText(ip, text); }),
                  CResourceManager::FormatNumberedMessage(Msg::fielderr, card->GetCaption(ip), Message(Msg::iperr)));
    }
    EXPECT_EQ(card->GetDword(0, 0x58), 0xC0A80001u);
    card->SetFromText(ip, L"10.0.0.1");
    EXPECT_EQ(card->GetDword(0, 0x58), 0x0A000001u);
    EXPECT_EQ(card->GetStoredValueText(ip), L"10.0.0.1");
}

TEST_F(CardValues, LoginNamesAndPasswords) {
    auto card = Io(L"BZKJ8W");
    const int password = RowOf(*card, L"password01");
    const int login = RowOf(*card, L"loginid02");
    EXPECT_EQ(card->GetStoredValueText(password), L"");
    card->SetFromText(password, L"Abcdefgh12345678");
    EXPECT_EQ(card->GetTextSlot(7), L"Abcdefgh12345678");
    EXPECT_EQ(RaisedText([&] { card->SetFromText(password, L"Abcdefgh123456789"); }),
              Message(Msg::passwordErr));
    EXPECT_EQ(RaisedText([&] { card->SetFromText(login, L"op_1"); }), Message(Msg::passwordErr));
    EXPECT_EQ(card->GetTextSlot(7), L"Abcdefgh12345678");
    EXPECT_EQ(card->GetTextSlot(8), L"");
}

TEST_F(CardValues, DateAndTimeIsCheckedAndStoredAsTyped) {
    auto card = Com(L"K52HZKJ8");
    const int datetime = RowOf(*card, L"datetime");
    EXPECT_EQ(card->GetTextSlot(10), L"-");
    card->SetFromText(datetime, L"2024/1/5 7:08:09");
    EXPECT_EQ(card->GetTextSlot(10), L"2024/1/5 7:08:09");
    EXPECT_EQ(RaisedText([&] { card->SetFromText(datetime, L"2000/01/05 07:08:09"); }),
              Message(Msg::yearErr));
    EXPECT_EQ(RaisedText([&] { card->SetFromText(datetime, L"2024/01/05T07:08:09"); }),
              Message(Msg::dateErr));
    EXPECT_EQ(RaisedText([&] { card->SetFromText(datetime, L"2024/01/05 07:61:09"); }), Message(Msg::minErr));
    EXPECT_EQ(card->GetTextSlot(10), L"2024/1/5 7:08:09");
}

TEST_F(CardValues, MacAddressIsFormattedOnlyFromTwelveCharacters) {
    auto card = Com(L"K52HQ8");
    const int mac = RowOf(*card, L"macadrs");
    card->SetFromText(mac, L"0123456789AB");
    EXPECT_EQ(card->GetTextSlot(3), L"01-23-45-67-89-AB");
    for (const wchar_t* text : {L"-", L"01-23-45-67-89-AB", L"0123456789A"}) {
        card->SetFromText(mac, text);
        EXPECT_EQ(card->GetTextSlot(3), text);
    }
}

TEST_F(CardValues, ListRowsShowTheirOptionOrTheNumber) {
    auto card = Io(L"KZ7W");
    const int range = RowOf(*card, L"rangepc01");
    EXPECT_EQ(card->GetDisplayText(range), card->GetListText(range, 0));
    EXPECT_FALSE(card->GetDisplayText(range).empty());
    card->SetWord(1, 0x42, 99);
    EXPECT_EQ(card->GetDisplayText(range), L"?99");
    card->SetWord(1, 0x42, -3);
    EXPECT_EQ(card->GetDisplayText(range), L"?-3");

    // The option list ends where the language file's list ends; other rows have none.
    EXPECT_EQ(card->GetListData(range, 11), 11);
    EXPECT_EQ(card->GetListData(range, 12), -2);
    EXPECT_EQ(card->GetListText(range, 12), L"");
    EXPECT_EQ(card->GetListData(RowOf(*card, L"bias01"), 0), -2);
    EXPECT_EQ(card->GetListText(RowOf(*card, L"bias01"), 0), L"");
}

TEST_F(CardValues, Unsigned32Bounds) {
    auto card = Io(L"QB9W");
    const int upCount = RowOf(*card, L"upCount01");
    EXPECT_EQ(card->GetStoredValueText(upCount), L"4294967295");
    card->SetFromText(upCount, L"1000");
    EXPECT_EQ(card->GetDword(1, 0x2b), 1000u);
    for (const wchar_t* text : {L"0", L"-1", L"4294967296", L"1e30"}) {
        EXPECT_EQ(RaisedText([&] { card->SetFromText(upCount, text); }),
                  RangeError(*card, upCount, L"1", L"4294967295"));
    }
    EXPECT_EQ(RaisedText([&] { card->SetFromText(upCount, L"12abc"); }),
              NotANumber(*card, upCount, true, L"1", L"4294967295"));
    card->SetFromText(upCount, L"4294967295");
    EXPECT_EQ(card->GetDword(1, 0x2b), 0xFFFFFFFFu);
    EXPECT_EQ(card->GetStoredValueText(upCount), L"4294967295");

    // A checked value is compared as unsigned too: 4294967295 arrives as -1.
    card->SetCheckedValue(upCount, 7);
    card->SetCheckedValue(upCount, -1);
    EXPECT_EQ(card->GetDword(1, 0x2b), 0xFFFFFFFFu);
    EXPECT_EQ(RaisedText([&] { card->SetCheckedValue(upCount, 0); }),
              RangeError(*card, upCount, L"1", L"4294967295"));
}

TEST_F(CardValues, CheckedValuesAreRangeCheckedBeforeTheyAreStored) {
    auto card = Io(L"KZ7W");
    const int convrate = RowOf(*card, L"convrate");
    card->SetCheckedValue(convrate, 3);
    EXPECT_EQ(card->GetWord(0, 0x3a), 3);
    const std::wstring failure = RaisedText([&] { card->SetCheckedValue(convrate, 4); });
    EXPECT_NE(failure.find(card->GetCaption(convrate)), std::wstring::npos);
    EXPECT_NE(failure.find(card->GetListText(convrate, 3)), std::wstring::npos)
        << "the bounds show as options";
    EXPECT_EQ(card->GetWord(0, 0x3a), 3);
}

TEST_F(CardValues, StepValueStaysWithinTheLimits) {
    auto card = Io(L"KB7HW");
    const int delay = RowOf(*card, L"powerDELAY");
    card->SetWord(0, 0x1a, 600);
    card->StepValue(delay, 1);
    EXPECT_EQ(card->GetWord(0, 0x1a), 600);
    card->SetWord(0, 0x1a, 0);
    card->StepValue(delay, -1);
    EXPECT_EQ(card->GetWord(0, 0x1a), 0);
    card->StepValue(delay, 7);
    EXPECT_EQ(card->GetWord(0, 0x1a), 7);
    // An unsigned row above 32767 steps from its own value, not from a negative one.
    const int zscale = RowOf(*card, L"zscale01");
    card->SetWord(1, 0x1a, 40000);
    card->StepValue(zscale, 1);
    EXPECT_EQ(static_cast<std::uint16_t>(card->GetWord(1, 0x1a)), 40001);
    card->StepValue(zscale, 30000);
    EXPECT_EQ(static_cast<std::uint16_t>(card->GetWord(1, 0x1a)), 64000);
}

TEST_F(CardValues, NewCardsStartFromTheirDefaults) {
    auto card = Io(L"JK7W");
    EXPECT_EQ(card->GetDisplayText(RowOf(*card, L"gain01")), L"1.0000");
    const int range = RowOf(*card, L"rangepc01");
    EXPECT_EQ(card->GetWord(1, 0x42), 2);
    EXPECT_EQ(card->GetStoredValueText(range), card->GetListText(range, 2));
    EXPECT_EQ(card->GetTextSlot(0), L"-");

    auto com = Io(L"BZKJ8W");
    EXPECT_EQ(com->GetDword(0, 0x54), 0xC0A8000Du);
    EXPECT_EQ(com->GetTextSlot(3), L"-");
    EXPECT_EQ(com->GetTextSlot(6), L"");
    EXPECT_EQ(com->GetTextSlot(11), L"-");
}

TEST_F(CardValues, RegisterImageKeepsLowAndHighWords) {
    auto card = Io(L"null");
    card->SetDword(9, 99, 0x89ABCDEFu);
    EXPECT_EQ(card->GetDword(9, 99), 0x89ABCDEFu);
    EXPECT_EQ(static_cast<std::uint16_t>(card->GetWord(9, 99)), 0xCDEF);
    card->SetWord(9, 99, 0x12345);
    EXPECT_EQ(card->GetDword(9, 99), 0x89AB2345u);
    EXPECT_EQ(card->GetWord(9, 98), 0);
    EXPECT_THROW(card->GetWord(10, 0), std::out_of_range);
    EXPECT_THROW(card->SetWord(0, 100, 1), std::out_of_range);
    EXPECT_THROW(card->GetParameter(0), std::out_of_range);
    EXPECT_FALSE(card->IsDisabled(0));
}

TEST_F(CardValues, ChannelAccessorsReadTheCardsOwnRows) {
    auto card = Io(L"BQ7W");
    EXPECT_EQ(card->GetChannelField(0, 0), 1);
    EXPECT_EQ(card->GetChannelField(0, 3), 3);
    EXPECT_EQ(card->GetChannelUnitText(0, 0), L" (" + Message(Msg::unitdegc) + L")");
    // Unit code 1 marks a raw value; -1 is no unit.
    EXPECT_EQ(card->GetChannelUnitText(1, 0), L"");
    card->ChannelRow(1).valueUnit = -1;
    EXPECT_EQ(card->GetChannelUnitText(1, 0), L"");
    card->ChannelRow(1).valueUnit = 2;
    EXPECT_EQ(card->GetChannelUnitText(1, 0), L" (" + Message(Msg::unitma) + L")");
    EXPECT_EQ(CIOCardType().CreateByName(L"BQ7W")->GetChannelField(1, 3), 1)
        << "a card changed the channel rows of another";

    card->SetChannelSignFlag(2, 1);
    card->SetLastStatus(8);
    EXPECT_EQ(card->GetChannelSignFlag(2, 0), 1);
    EXPECT_EQ(card->GetChannelSignFlag(3, 0), 0);
    EXPECT_EQ(card->GetLastStatus(), 8);
    EXPECT_FALSE(card->HasLiveValues());
    EXPECT_FALSE(card->IsAdjustmentRead());
}
