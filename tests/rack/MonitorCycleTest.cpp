// The monitoring cycle and the output simulation on a rack, against a
// simulated station through the real link.
#include "TestStation.h"
#include "rack/CCardSlot.h"
#include "station/StationProtocol.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

using k52test::RaisedText;
using k52test::TestStation;
using Kind = StationFault::Kind;

class MonitorCycleTest : public ::testing::Test {
protected:
    void SetUp() override { k52test::LoadEnglish(); }

    TestStation m_station{L"0=K52HQ8,1=JK7W,3=KZ9W"};
};

TEST_F(MonitorCycleTest, CycleRebuildsTheRackWithLiveValues) {
    auto link = m_station.OpenLink(CCardSlot::kAllSlots);
    CCardSlot rack;
    rack.SetMonitoredSlot(3);
    rack.RefreshForMonitor(*link);

    EXPECT_EQ(rack.GetCard(0)->GetCardName().GetModelName(), L"K52HQ8");
    EXPECT_EQ(rack.GetCard(1)->GetCardName().GetModelName(), L"JK7W");
    EXPECT_EQ(rack.GetCard(3)->GetCardName().GetModelName(), L"KZ9W");
    EXPECT_EQ(rack.GetCard(2)->GetTypeCode(), 0);
    EXPECT_TRUE(rack.GetCard(1)->HasLiveValues());
    EXPECT_TRUE(rack.GetCard(3)->HasLiveValues());
    EXPECT_FALSE(rack.GetCard(2)->HasLiveValues());
    // Only the monitored slot reads its adjustment parameters again.
    EXPECT_TRUE(rack.GetCard(3)->IsAdjustmentRead());
    EXPECT_FALSE(rack.GetCard(1)->IsAdjustmentRead());

    // Every cycle makes new cards; the window's copy keeps the old ones alive.
    const CCardSlot window = rack;
    rack.RefreshForMonitor(*link);
    EXPECT_NE(rack.GetCard(1), window.GetCard(1));
    EXPECT_TRUE(window.GetCard(1)->HasLiveValues());
}

TEST_F(MonitorCycleTest, ModuleThatFailsDoesNotEndTheCycle) {
    StationFault fault;
    fault.kind = Kind::ErrorStatus;
    fault.status = 5;
    fault.address = 1;
    fault.times = 0;
    m_station.Station().InjectFault(fault);

    auto link = m_station.OpenLink(CCardSlot::kAllSlots);
    CCardSlot rack;
    rack.RefreshForMonitor(*link);
    EXPECT_EQ(rack.GetCard(1)->GetCardName().GetModelName(), L"JK7W");
    EXPECT_FALSE(rack.GetCard(1)->HasLiveValues());
    EXPECT_TRUE(rack.GetCard(3)->HasLiveValues());
}

TEST_F(MonitorCycleTest, ComModuleThatFailsGetsTheEmptyCard) {
    StationFault fault;
    fault.kind = Kind::ErrorStatus;
    fault.status = 5;
    fault.address = 0;
    fault.item = kStationNameItem;
    m_station.Station().InjectFault(fault);

    auto link = m_station.OpenLink(CCardSlot::kAllSlots);
    CCardSlot rack;
    rack.RefreshForMonitor(*link);
    ASSERT_TRUE(rack.HasCard(0));
    EXPECT_EQ(rack.GetCard(0)->GetCardName().GetModelName(), L"null");
    EXPECT_TRUE(rack.GetCard(3)->HasLiveValues());
}

TEST_F(MonitorCycleTest, UnreadableModuleMapFailsTheCycleAndKeepsTheRack) {
    auto link = m_station.OpenLink(CCardSlot::kAllSlots);
    CCardSlot rack;
    rack.RefreshForMonitor(*link);
    const CCardSlot before = rack;

    m_station.SetMapCommandWord(L"STATUS");
    // Its own reason, not an upload's: the monitor's state line shows it.
    EXPECT_EQ(RaisedText([&] { rack.RefreshForMonitor(*link); }), L"can't read active i/o card");
    for (int index = 0; index < CCardSlot::kSlotCount; ++index) {
        EXPECT_EQ(rack.GetCard(index), before.GetCard(index)) << index;
    }
}

TEST_F(MonitorCycleTest, SimulationGoesToTheChosenModuleWithItsNumberOfValues) {
    auto link = m_station.OpenLink(CCardSlot::kAllSlots);
    CCardSlot rack;
    rack.RefreshForMonitor(*link);

    const std::int32_t values[] = {11, 12, 13, 14, 15, 16, 17, 18};
    rack.RequestSimulation(1, 1, values);
    ASSERT_TRUE(rack.IsSimulationPending());
    m_station.Station().ClearRequestLog();
    const CCardSlot::CardHandle shown = rack.GetCard(1);
    rack.SimulateOutput(*link);

    EXPECT_FALSE(rack.IsSimulationPending());
    // A window's copy of the rack still holds the card it had, unchanged.
    EXPECT_EQ(shown->GetSimulationMode(), 0);
    const CCardSlot::CardHandle card = rack.GetCard(1);
    ASSERT_NE(card, shown);
    EXPECT_EQ(card->GetSimulationMode(), 1);
    EXPECT_EQ(card->GetSimulationValue(3), 14);
    EXPECT_EQ(card->GetSimulationValue(4), 0) << "a four-channel module takes four values";
    EXPECT_FALSE(m_station.Writes().empty());
    for (const StationRequest& write : m_station.Writes()) {
        EXPECT_EQ(write.address, 1);
    }
}

TEST_F(MonitorCycleTest, SimulationOfAnEmptySlotOnlyClearsTheRequest) {
    auto link = m_station.OpenLink(CCardSlot::kAllSlots);
    CCardSlot rack;
    rack.RefreshForMonitor(*link);
    const std::int32_t values[] = {1, 2, 3, 4};
    rack.RequestSimulation(2, 1, values);
    m_station.Station().ClearRequestLog();
    rack.SimulateOutput(*link);
    EXPECT_FALSE(rack.IsSimulationPending());
    EXPECT_EQ(m_station.Station().GetRequestCount(), 0U);
}

TEST_F(MonitorCycleTest, FailedSimulationIsReportedAndNotRetried) {
    auto link = m_station.OpenLink(CCardSlot::kAllSlots);
    CCardSlot rack;
    rack.RefreshForMonitor(*link);
    StationFault fault;
    fault.kind = Kind::ErrorStatus;
    fault.status = 4;
    fault.address = 1;
    fault.command = kStationWriteCommand;
    fault.times = 0;
    m_station.Station().InjectFault(fault);

    const std::int32_t values[] = {1, 2, 3, 4};
    rack.RequestSimulation(1, 1, values);
    EXPECT_EQ(RaisedText([&] { rack.SimulateOutput(*link); }), CResourceManager::GetMessage(Msg::simuouterr));
    EXPECT_FALSE(rack.IsSimulationPending());

    // Within a cycle the simulation's failure fails the cycle as a whole.
    rack.RequestSimulation(1, 1, values);
    EXPECT_EQ(RaisedText([&] { rack.RefreshForMonitor(*link); }), CResourceManager::GetMessage(Msg::simuouterr));
    EXPECT_FALSE(rack.IsSimulationPending());
}

} // namespace
