// The monitor's session against the simulated station, without a window:
// the test's thread takes each report in as the window's would.
#include "catalog/CCardInterface.h"
#include "catalog/ParameterDefinition.h"
#include "link/CJX5COMInterface.h"
#include "monitor/CMonitorSession.h"
#include "station/CSimulatedStation.h"
#include "station/CSimulatedStationPort.h"
#include "station/StationProtocol.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <deque>
#include <mutex>

namespace {

using State = CMonitorSession::State;

class MonitorSessionTest : public ::testing::Test {
protected:
    void SetUp() override {
        k52test::LoadEnglish();
        RegisterSimulatedStationPort();
    }

    std::shared_ptr<CSimulatedStation> Start(const std::wstring& path) {
        auto station = GetSimulatedStation(path);
        // Stopping cancels the link for good: each start has a link of its own.
        m_session.Stop();
        m_link = std::make_unique<CJX5COMInterface>();
        CComSettings settings = m_link->GetSettings();
        settings.SetDevicePath(path);
        m_link->SetSettings(settings);
        m_session.Start(*m_link, StationAttribute(),
                        [this](std::uint64_t run, std::shared_ptr<const CMonitorSession::Report> report) {
                            std::lock_guard<std::mutex> lock(m_mutex);
                            m_reports.emplace_back(run, std::move(report));
                            m_arrived.notify_all();
                        });
        return station;
    }

    // Waits for the thread's next report and hands it in; reports of an
    // earlier start, still on their way, are passed over by the session.
    CMonitorSession::Outcome Next() {
        for (;;) {
            std::unique_lock<std::mutex> lock(m_mutex);
            if (!m_arrived.wait_for(lock, std::chrono::seconds(5), [this] { return !m_reports.empty(); })) {
                ADD_FAILURE() << "no report";
                return {};
            }
            const auto [run, report] = m_reports.front();
            m_reports.pop_front();
            lock.unlock();
            auto outcome = m_session.Take(run, *report);
            if (outcome.taken) {
                m_last = report;
                return outcome;
            }
        }
    }

    std::shared_ptr<CCardInterface> Card(int slot) const { return m_last->rack.GetCard(slot); }

    std::unique_ptr<CJX5COMInterface> m_link;
    CMonitorSession m_session;
    std::mutex m_mutex;
    std::condition_variable m_arrived;
    std::deque<std::pair<std::uint64_t, std::shared_ptr<const CMonitorSession::Report>>> m_reports;
    std::shared_ptr<const CMonitorSession::Report> m_last;
};

// What waits goes out only once the command under way has ended, a write
// alone with a cycle after it, a simulation with the next cycle.
TEST_F(MonitorSessionTest, RequestsWaitForTheCommandUnderWayAndGoOutOneAtATime) {
    struct Expected {
        std::uint32_t command; // of the report handed in
        State state;           // what is on its way after it
        bool simulationSent = false;
    };
    struct Case {
        const char* name;
        int writes;
        bool simulation;
        std::vector<Expected> steps;
    };
    const auto cycle = CMonitorThread::CommandCycle;
    const auto write = CMonitorThread::CommandParameterWrite;
    const auto reading = State::Reading;
    const auto writing = State::Writing;
    const std::vector<Case> cases = {
        {"nothing waits", 0, false, {{cycle, reading}, {cycle, reading}}},
        {"a write", 1, false, {{cycle, writing}, {write, reading}, {cycle, reading}}},
        {"two writes, a cycle between them",
         2,
         false,
         {{cycle, writing}, {write, reading}, {cycle, writing}, {write, reading}}},
        {"a simulation", 0, true, {{cycle, reading, true}, {cycle, reading}}},
    };
    int stations = 0;
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        // A station of its own for each case; slot 3 has its parameters read.
        const auto station = Start(L"sim:0=K52HQ8,3=KZ7W,1" + std::to_wstring(stations++) + L"=KZ9W");
        station->FreezeClock(2000);
        m_session.Monitor(3);
        Next();
        Next();
        const auto card = Card(3);
        const ChannelDefinition& first = card->GetChannelRow(0);
        for (int channel = 0; channel < card->GetChannelCount(); ++channel) {
            const ChannelDefinition& row = card->GetChannelRow(channel);
            if (row.channelKind == ChannelSwitch) {
                station->SetValue(3, row.valuePage, row.valueItem, L"1"); // simulating
            }
        }
        for (int i = 0; i < test.writes; ++i) {
            m_session.QueueWrite(3, CCardSlot::CopyCard(*card, 3), 0);
        }
        if (test.simulation) {
            m_session.QueueSimulation({3, 0, {card->ParseSimulationValue(0, L"1234"), 0, 0, 0}});
        }
        for (const Expected& expected : test.steps) {
            const auto outcome = Next();
            EXPECT_EQ(m_last->command, expected.command);
            EXPECT_EQ(m_session.GetState(), expected.state);
            EXPECT_EQ(outcome.simulationSent, expected.simulationSent);
        }
        EXPECT_EQ(station->GetValue(3, first.valuePage, first.valueItem) == std::wstring(L"1234"),
                  test.simulation);
        m_session.Stop();
        EXPECT_EQ(m_session.GetState(), State::Stopped);
    }
}

// Closing with modules that simulate: each switch alone, one after the
// other, a refused one named; nothing else is written, and no cycle runs.
TEST_F(MonitorSessionTest, SwitchingOffWritesEachSwitchAloneAndNamesTheRefusedOne) {
    const auto station = Start(L"sim:0=K52HQ8,13=JK7W,14=QB9W,15=KZ9W");
    Next();
    EXPECT_FALSE(m_session.StartSwitchingOff(m_last->rack)) << "no module simulates";
    EXPECT_EQ(m_session.GetState(), State::Reading);
    const ParameterDefinition& switchRow = Card(13)->GetParameter(Card(13)->GetSimulationSwitchRow());
    for (const int slot : {13, 14}) {
        station->SetValue(slot, switchRow.page, switchRow.item, L"1");
    }
    for (int i = 0; i < 10 && m_session.Simulation().GetModules().size() < 2; ++i) {
        Next();
    }
    ASSERT_EQ(m_session.Simulation().Describe(), L"IO13 JK7W, IO14 QB9W");
    station->InjectFault(StationFault::AtItem(14, static_cast<std::uint8_t>(switchRow.page),
                                              static_cast<std::uint8_t>(switchRow.item),
                                              StationFault::Kind::ErrorStatus)
                             .WithStatus(2)
                             .ForCommand(kStationWriteCommand)
                             .Times(0));
    station->ClearRequestLog();

    ASSERT_TRUE(m_session.StartSwitchingOff(m_last->rack));
    EXPECT_TRUE(m_session.IsClosing());
    // The cycle under way when switching off began, then the two writes.
    for (const auto& [command, state] : {std::pair{CMonitorThread::CommandCycle, State::SwitchingOff},
                                         {CMonitorThread::CommandParameterWrite, State::SwitchingOff},
                                         {CMonitorThread::CommandParameterWrite, State::SwitchedOff}}) {
        Next();
        EXPECT_EQ(m_last->command, command);
        EXPECT_EQ(m_session.GetState(), state);
    }
    EXPECT_EQ(CSimulationWatch::Describe(m_session.NotSwitchedOff()), L"IO14 QB9W");
    EXPECT_EQ(station->GetValue(13, switchRow.page, switchRow.item), std::optional<std::wstring>(L"0"));
    EXPECT_EQ(station->GetValue(14, switchRow.page, switchRow.item), std::optional<std::wstring>(L"1"));
    for (const StationRequest& request : station->GetRequestLog()) {
        if (request.command == kStationWriteCommand && request.address != 0) {
            EXPECT_TRUE(request.address == 13 || request.address == 14) << request.address;
        }
    }
    m_session.Stop();
    EXPECT_FALSE(m_session.Take(1, *m_last).taken) << "a report under way when the thread ended";
}

TEST_F(MonitorSessionTest, RecordingTakesEveryGoodCycleUntilStopped) {
    k52test::TempDir dir;
    Start(L"sim:0=K52HQ8,2=KZ7W");
    EXPECT_THROW(m_session.StartRecording(dir.path()), std::exception);
    EXPECT_EQ(m_session.GetRecording(), CMonitorSession::Recording::Off);
    m_session.StartRecording(dir.path() / "live.csv");
    EXPECT_EQ(m_session.GetRecording(), CMonitorSession::Recording::On);
    ASSERT_TRUE(Next().cycleAt.has_value());
    const std::uint64_t rows = m_session.Recorder().GetRowCount();
    EXPECT_GT(rows, 0u);
    m_session.StopRecording();
    EXPECT_EQ(m_session.GetRecording(), CMonitorSession::Recording::Stopped);
    Next();
    EXPECT_EQ(m_session.Recorder().GetRowCount(), rows);
}

} // namespace
