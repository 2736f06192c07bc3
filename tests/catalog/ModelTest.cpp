#include "CardTestHelpers.h"
#include "base/CMessageFormatter.h"
#include "base/CResourceManager.h"
#include "base/CXmlReaderWriter.h"
#include "catalog/CIOCardType.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>

using k52test::RaisedText;
using k52test::RowOf;

namespace {

class Models : public ::testing::Test {
protected:
    void SetUp() override { k52test::LoadEnglish(); }

    static std::unique_ptr<CCardInterface> Io(const wchar_t* name) {
        return CIOCardType().CreateByName(name);
    }
    static std::wstring Message(PlainMessageKey key) { return CResourceManager::GetMessage(key); }
};

// Disabled rows of JK7W channel 1 by their caption keys.
std::set<std::wstring> DisabledChannelOneRows(const CCardInterface& card) {
    std::set<std::wstring> keys;
    for (int row = 0; row < 14; ++row) {
        if (card.IsDisabled(row)) {
            keys.insert(card.GetParameter(row).textKey);
        }
    }
    return keys;
}

} // namespace

TEST_F(Models, UniversalInputRangeChangeResetsItsChannelAndSetsTheBaseDecimals) {
    auto card = Io(L"JK7W");
    for (int item : {0x2a, 0x2b, 0x0a, 0x0b, 0x2c, 0x2d, 0x0c, 0x0d}) {
        card->SetWord(1, item, 7);
    }
    card->SetCheckedValue(RowOf(*card, L"rangepc02"), 0);
    EXPECT_EQ(card->GetWord(1, 0x2c), 0);
    EXPECT_EQ(card->GetWord(1, 0x2d), 0);
    EXPECT_EQ(card->GetWord(1, 0x0c), 0);
    EXPECT_EQ(card->GetWord(1, 0x0d), 10000);
    EXPECT_EQ(card->GetWord(1, 0x2a), 7) << "channel 1 was reset by channel 2's range";
    EXPECT_EQ(card->GetWord(1, 0x0b), 7);

    const int zbase = RowOf(*card, L"zbase02");
    const int fbase = RowOf(*card, L"fbase02");
    card->SetWord(1, 0x2c, 1500);
    EXPECT_EQ(card->GetStoredValueText(zbase), L"1.500");
    const struct {
        int range;
        int unit;
        const wchar_t* shown;
    } cases[] = {{2, 0, L"1.500"},  {1, 0, L"150.0"}, {3, 0, L"15.00"}, {8, 0, L"15.00"},  {9, 0, L"1500"},
                 {10, 0, L"150.0"}, {10, 1, L"1500"}, {36, 1, L"1500"}, {36, 2, L"150.0"}, {37, 1, L"150.0"}};
    for (const auto& c : cases) {
        card->SetWord(1, 0x43, c.range);
        card->SetWord(3, 0x45, c.unit);
        EXPECT_EQ(card->GetStoredValueText(zbase), c.shown) << "range " << c.range << " unit " << c.unit;
        EXPECT_EQ(card->GetRowDecimals(fbase), card->GetRowDecimals(zbase));
    }
    // Channel 1 keeps the decimals of its own range.
    EXPECT_EQ(card->GetRowDecimals(RowOf(*card, L"zbase01")), 3);
    EXPECT_EQ(card->GetRowDecimals(RowOf(*card, L"bias02")), 2);
}

TEST_F(Models, UniversalInputBaseValuesAreTypedWithTheRangesDecimals) {
    auto card = Io(L"JK7W");
    const int zbase = RowOf(*card, L"zbase01");
    card->SetCheckedValue(RowOf(*card, L"rangepc01"), 0);
    card->SetFromText(zbase, L"-1");
    EXPECT_EQ(card->GetWord(1, 0x2a), -1000);

    card->SetCheckedValue(RowOf(*card, L"rangepc01"), 9);
    EXPECT_EQ(RaisedText([&] { card->SetFromText(zbase, L"-1"); }),
              CResourceManager::FormatNumberedMessage(Msg::rangeerr, card->GetCaption(zbase),
                                                      std::wstring(L"0"), std::wstring(L"32000")));
    EXPECT_EQ(card->GetWord(1, 0x2a), 0);
    card->SetFromText(zbase, L"250");
    EXPECT_EQ(card->GetWord(1, 0x2a), 250);
}

TEST_F(Models, UniversalInputFilterIsOffOrAtLeastHalfASecond) {
    auto card = Io(L"JK7W");
    const int filter = RowOf(*card, L"FOLfilter04");
    EXPECT_EQ(RaisedText([&] { card->SetFromText(filter, L"0.3"); }),
              CResourceManager::FormatNumberedMessage(Msg::rangeerr2, card->GetCaption(filter),
                                                      std::wstring(L"0.0"), std::wstring(L"0.5"),
                                                      std::wstring(L"60.0")));
    card->SetFromText(filter, L"0.5");
    EXPECT_EQ(card->GetWord(5, 0x47), 5);
    card->SetFromText(filter, L"0");
    EXPECT_EQ(card->GetWord(5, 0x47), 0);
    EXPECT_THROW(card->SetFromText(filter, L"60.1"), CPrivateException);
}

TEST_F(Models, UniversalInputClassesDisableTheRowsThatDoNotApply) {
    // A thermocouple needs its cold-junction compensation and has no RTD wiring; an RTD the
    // other way round. Calibration closes only where the base span is empty (zbase == fbase).
    const struct {
        int range;
        std::set<std::wstring> disabled;
        bool calibrationFollowsSpan;
    } classes[] = {
        {-1, {L"unit01", L"wirertd01", L"burnout01", L"cjcsw01"}, false}, // class 1: voltage, current
        {0, {L"unit01", L"wirertd01", L"burnout01", L"cjcsw01"}, false},
        {2, {L"unit01", L"wirertd01", L"burnout01", L"cjcsw01"}, false},
        {3, {L"unit01", L"wirertd01", L"cjcsw01"}, false}, // class 2
        {8, {L"unit01", L"wirertd01", L"cjcsw01"}, false},
        {9, {L"unit01", L"cjcsw01"}, false},      // class 3: resistance keeps its wiring
        {10, {L"wirertd01"}, true},               // class 4: thermocouples K ... G
        {23, {L"wirertd01"}, true},
        {24, {L"cjcsw01"}, true},                 // class 5: Pt100 ... Cu100
        {36, {L"cjcsw01"}, true},
    };
    const std::set<std::wstring> calibration{L"bias01", L"gain01", L"zscale01", L"fscale01"};
    auto card = Io(L"JK7W");
    for (const auto& c : classes) {
        card->SetWord(1, 0x42, c.range);
        card->SetWord(1, 0x2b, 100); // a base span, so calibration applies
        EXPECT_EQ(DisabledChannelOneRows(*card), c.disabled) << "range " << c.range;
        card->SetWord(1, 0x2b, 0);
        std::set<std::wstring> expected = c.disabled;
        if (c.calibrationFollowsSpan) {
            expected.insert(calibration.begin(), calibration.end());
        }
        EXPECT_EQ(DisabledChannelOneRows(*card), expected) << "range " << c.range << ", empty span";
    }
    // JK9W follows the same rules on its second channel.
    auto jk9w = Io(L"JK9W");
    jk9w->SetWord(1, 0x43, 12);
    EXPECT_TRUE(jk9w->IsDisabled(RowOf(*jk9w, L"wirertd02")));
    EXPECT_FALSE(jk9w->IsDisabled(RowOf(*jk9w, L"cjcsw02")));
    jk9w->SetWord(1, 0x43, 30);
    EXPECT_FALSE(jk9w->IsDisabled(RowOf(*jk9w, L"wirertd02")));
    EXPECT_TRUE(jk9w->IsDisabled(RowOf(*jk9w, L"cjcsw02")));

    // Beyond the known ranges the whole channel is closed except its range.
    card->SetWord(1, 0x42, 37);
    EXPECT_EQ(DisabledChannelOneRows(*card).size(), 13u);
    EXPECT_FALSE(card->IsDisabled(RowOf(*card, L"rangepc01")));
    EXPECT_FALSE(card->IsDisabled(RowOf(*card, L"bias02"))) << "another channel followed channel 1's range";
    EXPECT_TRUE(card->IsDisabled(RowOf(*card, L"version")));
    EXPECT_FALSE(card->IsDisabled(RowOf(*card, L"simu")));
}

TEST_F(Models, TwoUniversalInputCardsKeepTheirOwnDecimals) {
    auto first = Io(L"JK7W");
    auto second = Io(L"JK7W");
    const int zbase = RowOf(*first, L"zbase01");
    first->SetCheckedValue(RowOf(*first, L"rangepc01"), 0);
    second->SetCheckedValue(RowOf(*second, L"rangepc01"), 9);
    first->SetWord(1, 0x2a, 1500);
    second->SetWord(1, 0x2a, 1500);
    EXPECT_EQ(first->GetStoredValueText(zbase), L"1.500");
    EXPECT_EQ(second->GetStoredValueText(zbase), L"1500");

    first->SetFromText(zbase, L"2");
    second->SetFromText(zbase, L"2");
    EXPECT_EQ(first->GetWord(1, 0x2a), 2000);
    EXPECT_EQ(second->GetWord(1, 0x2a), 2);

    // A card read from a file takes its decimals from the range it read,
    // although reading a file runs no model step.
    k52test::TempDir dir;
    CXmlReaderWriter writer;
    writer.Create(L"root");
    writer.AppendTextElementWithAttribute(L"/root", L"slot", L"", L"no", L"7");
    second->WriteToXml(writer, L"/root/slot[@no='7']");
    writer.Save(dir.file("two.cfg"));
    CXmlReaderWriter reader;
    reader.Load(dir.file("two.cfg"));
    auto third = Io(L"JK7W");
    third->ReadFromXml(reader, L"/root/slot[@no='7']");
    EXPECT_EQ(third->GetWord(1, 0x42), 9);
    EXPECT_EQ(third->GetStoredValueText(zbase), L"2");
    EXPECT_EQ(first->GetStoredValueText(zbase), L"2.000");
}

TEST_F(Models, TemperatureInputUnitDecidesBaseDecimalsAndUnit) {
    for (const wchar_t* model : {L"BQ7W", L"ZQ7W"}) {
        SCOPED_TRACE(testing::Message() << (model[0] == L'B' ? "BQ7W" : "ZQ7W"));
        auto card = Io(model);
        const int zbase = RowOf(*card, L"zbase02");
        const int unit = RowOf(*card, L"unit02");
        card->SetWord(1, 0x2c, 1500);
        EXPECT_EQ(card->GetDisplayText(zbase), L"150.0 (" + Message(Msg::unitdegc) + L")");
        card->SetCheckedValue(unit, 1);
        EXPECT_EQ(card->GetDisplayText(zbase), L"1500 (" + Message(Msg::unitdegf) + L")");
        card->SetFromText(zbase, L"-40");
        EXPECT_EQ(card->GetWord(1, 0x2c), -40);
        card->SetCheckedValue(unit, 2);
        EXPECT_EQ(card->GetDisplayText(zbase), L"-4.0 (" + Message(Msg::unitk) + L")");
        card->SetWord(1, 0x5b, 3);
        EXPECT_EQ(card->GetDisplayText(zbase), L"-4.0");
        EXPECT_EQ(card->GetStoredValueText(RowOf(*card, L"zbase01")), L"0.0")
            << "channel 1 followed channel 2";
        EXPECT_EQ(card->GetDisplayText(RowOf(*card, L"bias02")), L"0.00 (" + Message(Msg::unitp) + L")");
    }
}

TEST_F(Models, TemperatureInputRangeResetAndDisabledCalibration) {
    auto card = Io(L"ZQ7W");
    for (int item : {0x2e, 0x2f, 0x0e, 0x0f}) {
        card->SetWord(1, item, 9);
    }
    EXPECT_TRUE(card->IsDisabled(RowOf(*card, L"bias03")));
    EXPECT_TRUE(card->IsDisabled(RowOf(*card, L"fscale03")));
    card->SetWord(1, 0x2f, 10);
    EXPECT_FALSE(card->IsDisabled(RowOf(*card, L"bias03")));
    EXPECT_TRUE(card->IsDisabled(RowOf(*card, L"bias04"))) << "an empty span (0 = 0) closes calibration";

    card->SetCheckedValue(RowOf(*card, L"rangepc03"), 4);
    EXPECT_EQ(card->GetWord(1, 0x2e), 0);
    EXPECT_EQ(card->GetWord(1, 0x2f), 0);
    EXPECT_EQ(card->GetWord(1, 0x0e), 0);
    EXPECT_EQ(card->GetWord(1, 0x0f), 10000);
    EXPECT_EQ(card->GetWord(1, 0x42 + 2), 4);
}

TEST_F(Models, RangeResetFamilyPutsCalibrationBack) {
    for (const wchar_t* model : {L"KZ9W", L"KZ7W", L"KB7HW", L"JZB7W", L"QZ7W"}) {
        auto card = Io(model);
        SCOPED_TRACE(testing::Message() << "model " << card->GetTypeCode());
        const int bias = RowOf(*card, L"bias02");
        card->SetFromText(RowOf(*card, L"bias01"), L"1.5");
        card->SetFromText(bias, L"2.5");
        card->SetFromText(RowOf(*card, L"gain02"), L"0.5");
        card->SetFromText(RowOf(*card, L"zscale02"), L"100");
        card->SetCheckedValue(RowOf(*card, L"unused02"), 1);
        EXPECT_EQ(card->GetWord(1, 0x0c), 250) << "a row other than the range reset the calibration";

        card->SetCheckedValue(RowOf(*card, L"rangepc02"), 1);
        EXPECT_EQ(card->GetDisplayText(bias), L"0.00 (" + Message(Msg::unitp) + L")");
        EXPECT_EQ(card->GetStoredValueText(RowOf(*card, L"gain02")), L"1.0000");
        EXPECT_EQ(card->GetWord(1, 0x1c), 100);
        EXPECT_EQ(card->GetWord(1, 0x0a), 150) << "channel 1 was reset by channel 2's range";
    }
}
