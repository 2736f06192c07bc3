// The live side of cards: monitor reads, simulation writes and the monitor
// rows, against a simulated station through the real link.
#include "StationFixture.h"

#include "catalog/CCOMCardType.h"
#include "catalog/CIOCardType.h"
#include "catalog/CMonitorUnit.h"
#include "catalog/CTableCard.h"

using k52test::Access;

namespace {

class CardLiveTest : public k52test::StationFixture {
protected:
    static CMonitorUnit Unit(const CCardInterface& card, int channel) {
        CMonitorUnit unit;
        card.FillMonitorUnit(channel, unit);
        return unit;
    }
};

TEST_F(CardLiveTest, ChannelStatusDecidesHowTheValueIsShown) {
    StartStation({{2, L"KZ9W"}});
    auto card = CIOCardType(m_attribute).CreateByName(L"KZ9W");
    Station().PinValue(2, 0, 10, L"65535");

    Station().PinValue(2, 0, 18, L"3");
    card->ExchangeLiveValues(2, Link(), false, m_attribute);
    // Each value is followed by its status, the switch comes last.
    EXPECT_EQ(TakeAccesses(),
              (std::vector{Access::Read(2, 0, 10), Access::Read(2, 0, 18), Access::Read(2, 0, 11),
                           Access::Read(2, 0, 19), Access::Read(2, 0, 78)}));
    CMonitorUnit unit = Unit(*card, 0);
    EXPECT_EQ(unit.kind, CMonitorUnit::KindAnalog);
    EXPECT_EQ(unit.name, L"Ch 1");
    EXPECT_EQ(unit.values, L"65535");
    EXPECT_EQ(unit.mainValue, L"65535");
    EXPECT_EQ(card->GetChannelField(0, 0), 0) << "decimals";
    EXPECT_EQ(card->GetChannelField(0, 3), 1) << "unit";
    EXPECT_EQ(card->GetChannelSignFlag(0, 0), 0);

    Station().PinValue(2, 0, 18, L"5");
    card->ExchangeLiveValues(2, Link(), false, m_attribute);
    unit = Unit(*card, 0);
    EXPECT_EQ(unit.values, L"-1");
    EXPECT_EQ(card->GetChannelField(0, 3), -1);
    EXPECT_EQ(card->GetChannelSignFlag(0, 0), 1);

    // Units and sign flags are per channel; the card keeps the status read last.
    Station().PinValue(2, 0, 18, L"3");
    Station().PinValue(2, 0, 19, L"5");
    card->ExchangeLiveValues(2, Link(), false, m_attribute);
    EXPECT_EQ(card->GetChannelSignFlag(0, 0), 0);
    EXPECT_EQ(card->GetChannelSignFlag(1, 0), 1);
    EXPECT_EQ(card->GetLastStatus(), 5);
    EXPECT_EQ(Unit(*card, 0).status, 5);

    Station().PinValue(2, 0, 18, L"8");
    card->ExchangeLiveValues(2, Link(), false, m_attribute);
    EXPECT_EQ(Unit(*card, 0).values, L"-1");
    EXPECT_EQ(card->GetChannelField(0, 3), 1);
    EXPECT_EQ(card->GetChannelSignFlag(0, 0), 1);
}

TEST_F(CardLiveTest, SecondValueIsShownOnItsOwnLineWithItsDecimals) {
    StartStation({{1, L"HJ7W"}});
    auto card = CIOCardType(m_attribute).CreateByName(L"HJ7W");
    Station().PinValue(1, 0, 10, L"-300");
    Station().PinValue(1, 0, 18, L"0");
    Station().PinValue(1, 1, 90, L"1234");
    card->ExchangeLiveValues(1, Link(), false, m_attribute);
    const std::vector<Access> reads = TakeAccesses();
    ASSERT_GE(reads.size(), 3U);
    EXPECT_EQ(reads[2], Access::Read(1, 1, 90));
    const CMonitorUnit unit = Unit(*card, 0);
    EXPECT_EQ(unit.values, L"-300\n12.34");
    EXPECT_EQ(unit.mainValue, L"-300");
}

TEST_F(CardLiveTest, GenericDigitalCardReadsThroughTheCommunicationModule) {
    StartStation({{4, L"BJ58W"}});
    Station().SetAttribute(0);
    m_attribute = StationAttribute(0);
    auto card = CIOCardType(m_attribute).CreateByCode(1);
    Station().PinValue(4, 2, 20, L"8001");
    Station().PinValue(4, 2, 21, L"00A5");
    Station().PinValue(4, 2, 29, L"0F0F");
    Station().PinValue(4, 2, 30, L"FFFF");
    card->ExchangeLiveValues(4, Link(), false, m_attribute);
    EXPECT_EQ(TakeAccesses(),
              (std::vector{Access::Write(0, 2, 1, L"1"), Access::Write(0, 2, 4, L"4"), Access::Read(0, 2, 20),
                           Access::Read(0, 2, 21), Access::Read(0, 2, 29), Access::Read(0, 2, 30),
                           Access::Write(0, 2, 1, L"0")}));
    CMonitorUnit first = Unit(*card, 0);
    EXPECT_EQ(first.kind, CMonitorUnit::KindDigital);
    EXPECT_EQ(first.pointCount, 32);
    EXPECT_EQ(first.bits, 0x00A58001U);
    EXPECT_EQ(Unit(*card, 1).bits, 0xFFFF0F0FU);
}

TEST_F(CardLiveTest, ThirtyTwoPointChannelCombinesTwoItems) {
    StartStation({{4, L"BJ58W"}});
    m_attribute = StationAttribute(1);
    CCardDIO card(1);
    Station().PinValue(4, 2, 20, L"1234");
    Station().PinValue(4, 2, 21, L"ABCD");
    card.ExchangeLiveValues(4, Link(), false, m_attribute);
    EXPECT_EQ(TakeAccesses(), (std::vector{Access::Read(4, 2, 20), Access::Read(4, 2, 21),
                                           Access::Read(4, 2, 29), Access::Read(4, 2, 30)}));
    EXPECT_EQ(Unit(card, 0).bits, 0xABCD1234U);

    // Sixteen points are one item.
    auto digital = CIOCardType(m_attribute).CreateByCode(1);
    Station().PinValue(4, 0, 10, L"8421");
    digital->ExchangeLiveValues(4, Link(), false, m_attribute);
    EXPECT_EQ(TakeAccesses(), (std::vector{Access::Read(4, 0, 10), Access::Read(4, 0, 78)}));
    EXPECT_EQ(Unit(*digital, 0).bits, 0x8421U);
    EXPECT_EQ(Unit(*digital, 0).pointCount, 16);
}

TEST_F(CardLiveTest, SimulationWritesEachChannelKindInItsForm) {
    StartStation({{1, L"BQ7W"}, {2, L"BJ58W"}, {3, L"QB9W"}});
    m_attribute = StationAttribute(1);

    // Analog: signed 16 bits; a channel whose unit no status has set yet gets the empty text.
    auto analog = CIOCardType(m_attribute).CreateByName(L"BQ7W");
    for (int channel = 0; channel < 4; ++channel) {
        analog->SetSimulationValue(channel,
                                   std::vector{100, -2, 70000, 5}[static_cast<std::size_t>(channel)]);
    }
    analog->ExchangeLiveValues(1, Link(), true, m_attribute);
    EXPECT_EQ(TakeAccesses(), (std::vector{Access::Write(1, 0, 1, L"1"), Access::Write(1, 1, 1, L"1"),
                                           Access::Write(1, 0, 10, L""), Access::Write(1, 0, 11, L"-2"),
                                           Access::Write(1, 0, 12, L"4464"), Access::Write(1, 0, 13, L"5"),
                                           Access::Write(1, 0, 1, L"0"), Access::Write(1, 1, 1, L"0")}));

    // Digital: the simulation mode in hexadecimal, both words for 32 points.
    auto digital = CIOCardType(m_attribute).CreateByCode(1);
    digital->SetSimulationMode(0x1234ABCD);
    digital->ExchangeLiveValues(2, Link(), true, m_attribute);
    EXPECT_EQ(TakeAccesses(), (std::vector{Access::Write(2, 0, 1, L"1"), Access::Write(2, 1, 1, L"1"),
                                           Access::Write(2, 0, 10, L"ABCD"), Access::Write(2, 0, 1, L"0"),
                                           Access::Write(2, 1, 1, L"0")}));
    CCardDIO wide(1);
    wide.SetSimulationMode(0x00F0000F);
    wide.ExchangeLiveValues(2, Link(), true, m_attribute);
    EXPECT_EQ(TakeAccesses(), (std::vector{Access::Write(2, 0, 1, L"1"), Access::Write(2, 1, 1, L"1"),
                                           Access::Write(2, 2, 20, L"000F"), Access::Write(2, 2, 21, L"00F0"),
                                           Access::Write(2, 2, 29, L"000F"), Access::Write(2, 2, 30, L"00F0"),
                                           Access::Write(2, 0, 1, L"0"), Access::Write(2, 1, 1, L"0")}));

    // Counter: as the channel's unit says; the model's own unit gives the counter back.
    auto counter = CIOCardType(m_attribute).CreateByName(L"QB9W");
    counter->SetSimulationValue(0, static_cast<std::int32_t>(4000000000U));
    counter->SetSimulationValue(1, 70000);
    counter->ExchangeLiveValues(3, Link(), true, m_attribute);
    std::vector<Access> writes = TakeAccesses();
    ASSERT_EQ(writes.size(), 6U);
    EXPECT_EQ(writes[2], Access::Write(3, 0, 10, L""));
    EXPECT_EQ(writes[3], Access::Write(3, 0, 11, L""));
    counter->ChannelRow(0).valueUnit = -1;
    counter->ChannelRow(1).valueUnit = 1;
    counter->ExchangeLiveValues(3, Link(), true, m_attribute);
    writes = TakeAccesses();
    ASSERT_EQ(writes.size(), 6U);
    EXPECT_EQ(writes[2], Access::Write(3, 0, 10, L"4000000000"));
    EXPECT_EQ(writes[3], Access::Write(3, 0, 11, L"4464"));
}

TEST_F(CardLiveTest, SimulationSwitchIsReadWithTheChannels) {
    StartStation({{2, L"KZ9W"}, {3, L"QB9W"}, {5, L"ZKH7JW"}});
    auto card = CIOCardType(m_attribute).CreateByName(L"KZ9W");
    EXPECT_FALSE(card->IsSimulating());
    Station().SetValue(2, 0, 0x4e, L"1");
    EXPECT_FALSE(card->IsSimulating()) << "nothing read yet";
    card->ExchangeLiveValues(2, Link(), false, m_attribute);
    EXPECT_TRUE(card->IsSimulating());
    const CMonitorUnit unit = Unit(*card, 2);
    EXPECT_EQ(unit.kind, CMonitorUnit::KindSwitch);
    EXPECT_EQ(unit.switchValue, 1);
    Station().SetValue(2, 0, 0x4e, L"0");
    card->ExchangeLiveValues(2, Link(), false, m_attribute);
    EXPECT_FALSE(card->IsSimulating());

    auto noSwitch = CIOCardType(m_attribute).CreateByName(L"ZKH7JW");
    noSwitch->ExchangeLiveValues(5, Link(), false, m_attribute);
    EXPECT_FALSE(noSwitch->IsSimulating());

    auto counter = CIOCardType(m_attribute).CreateByName(L"QB9W");
    Station().PinValue(3, 0, 10, L"4000000000");
    counter->ExchangeLiveValues(3, Link(), false, m_attribute);
    const CMonitorUnit count = Unit(*counter, 0);
    EXPECT_EQ(count.kind, CMonitorUnit::KindCounter);
    EXPECT_EQ(count.values, L"4000000000");
    EXPECT_EQ(count.mainValue, L"4000000000");
}

TEST_F(CardLiveTest, MonitorRowIsLeftAloneUntilThereIsSomethingToShow) {
    StartStation({{2, L"KZ9W"}});
    auto card = CIOCardType(m_attribute).CreateByName(L"KZ9W");
    CMonitorUnit unit;
    unit.name = L"kept";
    card->FillMonitorUnit(0, unit);
    EXPECT_EQ(unit.kind, CMonitorUnit::KindNothing);
    EXPECT_EQ(unit.name, L"kept");
    EXPECT_TRUE(unit.values.empty());

    // An exchange that fails half-way shows nothing either.
    Station().InjectFault(StationFault::AtItem(2, 0, 11, StationFault::Kind::ErrorStatus).WithStatus(5));
    EXPECT_FALSE(k52test::RaisedText([&] { card->ExchangeLiveValues(2, Link(), false, m_attribute); }).empty());
    card->FillMonitorUnit(0, unit);
    EXPECT_EQ(unit.name, L"kept");

    card->ExchangeLiveValues(2, Link(), false, m_attribute);
    for (int channel : {-1, 3, 16}) {
        card->FillMonitorUnit(channel, unit);
        EXPECT_EQ(unit.kind, CMonitorUnit::KindNothing);
        EXPECT_EQ(unit.name, L"kept");
    }
    card->FillMonitorUnit(1, unit);
    EXPECT_EQ(unit.name, L"Ch 2");
}

TEST_F(CardLiveTest, CommunicationModuleShowsItsClock) {
    StartStation({{0, L"K52HZKJ8"}});
    Station().FreezeClock(0);
    Station().SetValue(0, 0, 0x51, L"2026/03/04 05:06:07");
    auto card = CCOMCardType().CreateByName(L"K52HZKJ8");
    EXPECT_EQ(Unit(*card, 0).kind, CMonitorUnit::KindNothing) << "the clock is not read yet";
    card->ExchangeLiveValues(0, Link(), false, m_attribute);
    EXPECT_EQ(TakeAccesses(), std::vector{Access::Read(0, 0, 0x51)});
    EXPECT_EQ(card->GetTextSlot(10), L"2026/03/04 05:06:07");
    const CMonitorUnit unit = Unit(*card, 0);
    EXPECT_EQ(unit.kind, CMonitorUnit::KindDateTime);
    EXPECT_EQ(unit.name, CResourceManager::Database().GetParameterText(L"K52HZKJ8", L"datetimeset"));
    EXPECT_EQ(unit.name, L"Date and time");
    EXPECT_EQ(unit.values, L"2026/03/04 05:06:07");

    // Nothing to simulate, and the other communication models have no live values.
    card->ExchangeLiveValues(0, Link(), true, m_attribute);
    auto plain = CCOMCardType().CreateByName(L"K52HQ8");
    plain->ExchangeLiveValues(0, Link(), false, m_attribute);
    EXPECT_TRUE(TakeAccesses().empty());
    EXPECT_TRUE(plain->HasLiveValues());
}

TEST_F(CardLiveTest, SimulationValuesAreParsedByTheChannelKind) {
    auto analog = CIOCardType(m_attribute).CreateByName(L"KZ9W");
    EXPECT_EQ(analog->ParseSimulationValue(0, L"12.9"), 12);
    EXPECT_EQ(analog->ParseSimulationValue(1, L"-3.7"), -3);
    EXPECT_EQ(analog->ParseSimulationValue(2, L"not read"), 0) << "the switch channel";
    EXPECT_EQ(analog->ParseSimulationValue(5, L"7"), 0) << "no such channel";
    EXPECT_EQ(k52test::RaisedText([&] { analog->ParseSimulationValue(0, L"abc"); }), L"gi decp value error");

    auto counter = CIOCardType(m_attribute).CreateByName(L"QB9W");
    EXPECT_EQ(counter->ParseSimulationValue(0, L"4000000000"), static_cast<std::int32_t>(4000000000U));
    EXPECT_EQ(k52test::RaisedText([&] { counter->ParseSimulationValue(1, L"abc"); }), L"gi dec value error");
}

} // namespace
