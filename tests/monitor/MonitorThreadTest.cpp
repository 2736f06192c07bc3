// The monitoring thread against the simulated station, driven as the monitor
// window drives it: every notification answers with the next command.
#include "base/CException.h"
#include "base/CObserver.h"
#include "catalog/CCardInterface.h"
#include "catalog/CMonitorUnit.h"
#include "catalog/ParameterDefinition.h"
#include "link/CJX5COMInterface.h"
#include "monitor/CMonitorThread.h"
#include "station/CSimulatedStation.h"
#include "station/CSimulatedStationPort.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// Records what the thread was doing at each notification, and optionally
// answers with another cycle as the window does.
class RecordingObserver : public CObserver {
public:
    explicit RecordingObserver(CMonitorThread& thread) : m_thread(thread) {}

    void Update(CObservable* subject) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        EXPECT_EQ(subject, &m_thread);
        const auto report = m_thread.GetReport();
        Record record;
        record.command = report->command;
        record.failed = report->failed;
        record.state = report->line;
        for (int slot = 0; slot < CCardSlot::kSlotCount; ++slot) {
            const auto card = report->rack.GetCard(slot);
            record.typeCodes.push_back(card ? card->GetTypeCode() : -100);
        }
        record.at = Clock::now();
        m_records.push_back(record);
        if (m_answersLeft > 0) {
            --m_answersLeft;
            m_thread.PostCycle();
        }
        m_changed.notify_all();
    }

    struct Record {
        std::uint32_t command = 0;
        bool failed = false;
        CMonitorThread::LineState state;
        std::vector<std::int32_t> typeCodes;
        Clock::time_point at;
    };

    void AnswerWithCycles(int count) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_answersLeft = count;
    }

    bool WaitFor(std::size_t count, milliseconds timeout = milliseconds(5000)) {
        std::unique_lock<std::mutex> lock(m_mutex);
        return m_changed.wait_for(lock, timeout, [&] { return m_records.size() >= count; });
    }

    std::vector<Record> Records() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_records;
    }

private:
    CMonitorThread& m_thread;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<Record> m_records;
    int m_answersLeft = 0;
};

class MonitorThreadTest : public ::testing::Test {
protected:
    void SetUp() override {
        k52test::LoadEnglish();
        RegisterSimulatedStationPort();
        m_previousHandler =
            SetErrorReportHandler([this](const std::wstring& text) { m_reported.push_back(text); });
    }
    void TearDown() override { SetErrorReportHandler(m_previousHandler); }

    void UsePort(const std::wstring& path) {
        CComSettings settings = m_link.GetSettings();
        settings.SetDevicePath(path);
        settings.SetDisplayName(L"Station port");
        m_link.SetSettings(settings);
    }

    CJX5COMInterface m_link;
    CMonitorThread m_thread{m_link, StationAttribute()};
    RecordingObserver m_observer{m_thread};
    std::vector<std::wstring> m_reported;
    ErrorReportHandler m_previousHandler;
};

TEST_F(MonitorThreadTest, CarriesOutQueuedCommandsOneAfterAnotherAndReadsTheRack) {
    const std::wstring path = L"sim:0=K52HQ8,1=JK7W,2=BJ58W";
    UsePort(path);
    const auto station = GetSimulatedStation(path);
    m_thread.Attach(&m_observer);
    m_thread.Start();

    // A cycle fills the thread's rack; a write of the JK7W's adjustment rows
    // follows only after it; a second cycle after that.
    m_thread.PostCycle();
    ASSERT_TRUE(m_observer.WaitFor(1));
    const auto card = m_thread.GetReport()->rack.GetCard(1);
    ASSERT_NE(card, nullptr);
    station->ClearRequestLog();
    m_thread.RequestParameterWrite(1, card, 0);
    m_thread.PostCycle();
    ASSERT_TRUE(m_observer.WaitFor(3));
    m_thread.Stop();

    const auto records = m_observer.Records();
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0].command, 1u);
    EXPECT_EQ(records[1].command, 2u);
    EXPECT_EQ(records[2].command, 1u);
    for (const auto& record : records) {
        EXPECT_FALSE(record.failed);
    }
    EXPECT_EQ(records[0].typeCodes[1], 7); // JK7W
    EXPECT_EQ(records[0].typeCodes[2], 1); // BJ58W
    EXPECT_EQ(records[0].typeCodes[3], 0);

    // The write went to module 1 and all of it came before the next cycle's
    // first request to the communication module.
    const auto log = station->GetRequestLog();
    std::size_t firstCycleRequest = log.size();
    std::size_t lastWriteToModule = 0;
    bool wroteToModule = false;
    for (std::size_t i = 0; i < log.size(); ++i) {
        if (log[i].address == 1 && !log[i].text.empty()) {
            wroteToModule = true;
            lastWriteToModule = i;
        }
        if (log[i].address == 0 && firstCycleRequest == log.size()) {
            firstCycleRequest = i;
        }
    }
    EXPECT_TRUE(wroteToModule);
    EXPECT_LT(lastWriteToModule, firstCycleRequest);
}

TEST_F(MonitorThreadTest, WithoutAStationEveryCycleFailsSilentlyWithAnEmptyRack) {
    UsePort(L"/dev/k52-no-such-port");
    m_thread.Attach(&m_observer);
    // The thread rests between failed cycles (0.1 + 0.2 + 0.4 + 0.8 + 1 s here).
    m_observer.AnswerWithCycles(5);
    m_thread.Start();
    m_thread.PostCycle();
    ASSERT_TRUE(m_observer.WaitFor(6, milliseconds(20000)));
    m_thread.Stop();

    for (const auto& record : m_observer.Records()) {
        EXPECT_EQ(record.command, 1u);
        EXPECT_TRUE(record.failed);
        EXPECT_EQ(record.typeCodes, std::vector<std::int32_t>(CCardSlot::kSlotCount, 0));
    }
    EXPECT_TRUE(m_reported.empty());
}

TEST_F(MonitorThreadTest, AFailedCycleEmptiesARackThatWasReadBefore) {
    const std::wstring path = L"sim:0=K52HQ8,3=KZ9W";
    UsePort(path);
    const auto station = GetSimulatedStation(path);
    m_thread.Attach(&m_observer);
    m_thread.Start();
    m_thread.PostCycle();
    ASSERT_TRUE(m_observer.WaitFor(1));
    // The active-module map is turned down: the cycle as a whole fails.
    station->InjectFault(StationFault::AtItem(0, 0, 6, StationFault::Kind::ErrorStatus).WithStatus(2));
    m_thread.PostCycle();
    ASSERT_TRUE(m_observer.WaitFor(2));
    m_thread.PostCycle();
    ASSERT_TRUE(m_observer.WaitFor(3));
    m_thread.Stop();

    const auto records = m_observer.Records();
    EXPECT_FALSE(records[0].failed);
    EXPECT_EQ(records[0].typeCodes[3], 4);
    EXPECT_TRUE(records[1].failed);
    EXPECT_EQ(records[1].typeCodes, std::vector<std::int32_t>(CCardSlot::kSlotCount, 0));
    EXPECT_FALSE(records[2].failed) << "the flag is cleared by the next good command";
    EXPECT_EQ(records[2].typeCodes[3], 4);
    EXPECT_TRUE(m_reported.empty());
}

TEST_F(MonitorThreadTest, StopCancelsACycleWaitingOnTheLineAndNothingIsToldAfterIt) {
    const std::wstring path = L"sim:0=K52HQ8,1=KZ7W";
    UsePort(path);
    const auto station = GetSimulatedStation(path);
    // Every request is taken and never answered: each one waits the whole
    // read time-out unless cancelled.
    StationFault silence;
    silence.kind = StationFault::Kind::NoReply;
    silence.times = 0;
    station->InjectFault(silence);
    m_thread.Attach(&m_observer);
    m_observer.AnswerWithCycles(1000);
    m_thread.Start();
    m_thread.PostCycle();
    m_thread.PostCycle();
    // Without the cancel, the exchange under way would hold Stop for the
    // rest of its second.
    std::this_thread::sleep_for(milliseconds(100));

    const auto stopping = Clock::now();
    m_thread.Stop();
    const auto stopped = Clock::now();
    station->ClearFaults();

    EXPECT_LT(std::chrono::duration_cast<milliseconds>(stopped - stopping).count(), 500);
    EXPECT_FALSE(m_thread.IsRunning());
    for (const auto& record : m_observer.Records()) {
        EXPECT_LT(record.at, stopping + milliseconds(1)) << "a notification after Stop";
    }
    const std::size_t count = m_observer.Records().size();
    std::this_thread::sleep_for(milliseconds(50));
    EXPECT_EQ(m_observer.Records().size(), count);
}

// The window draws from the rack of a notification while the thread runs
// the next command. A simulation must leave the cards the window holds
// alone, including a 16-point digital module read through the communication
// module.
TEST_F(MonitorThreadTest, SimulationLeavesTheCardsOfTheWindowsCopyAlone) {
    const std::wstring path = L"sim:0=K52HQ8,1=JK7W,2=BJ58W";
    UsePort(path);
    // Without the station's attribute the digital module is read through
    // the communication module, simulation or not.
    GetSimulatedStation(path)->SetAttribute(0);
    m_thread.Attach(&m_observer);
    m_thread.Start();
    m_thread.PostCycle();
    ASSERT_TRUE(m_observer.WaitFor(1));

    std::size_t notifications = 1;
    for (int slot : {1, 2, 1, 2}) {
        const CCardSlot window = m_thread.GetReport()->rack;
        const auto card = window.GetCard(slot);
        ASSERT_NE(card, nullptr);
        ASSERT_TRUE(card->HasLiveValues()) << slot;
        const std::int32_t values[8] = {100, 200, 300, 400, 0, 0, 0, 0};
        m_thread.PostCycle(-1,
                           CMonitorThread::Simulation{slot, 0x00FF, {std::begin(values), std::end(values)}});
        // What a repaint of the window reads, while the thread simulates.
        CMonitorUnit first;
        CMonitorUnit again;
        for (int pass = 0; pass < 50; ++pass) {
            card->FillMonitorUnit(0, pass == 0 ? first : again);
            EXPECT_TRUE(card->HasLiveValues());
            card->IsSimulating();
        }
        ASSERT_TRUE(m_observer.WaitFor(++notifications));
        EXPECT_EQ(again.values, first.values) << "the window's card changed under it";
        EXPECT_EQ(card->GetSimulationMode(), 0) << "the simulation was set on the window's card";
        EXPECT_FALSE(m_thread.HasLastCommandFailed());
    }
    m_thread.Stop();
    EXPECT_TRUE(m_reported.empty());
}

// The window keeps editing the card of its adjust list while the write it
// asked for runs: the write carries the values of the moment it was asked for.
TEST_F(MonitorThreadTest, ParameterWriteTakesTheCardAsItWasWhenAskedFor) {
    const std::wstring path = L"sim:0=K52HQ8,3=KZ9W";
    UsePort(path);
    const auto station = GetSimulatedStation(path);
    m_thread.Attach(&m_observer);
    // The monitored slot's cycle reads its adjustment rows too.
    m_thread.Start();
    m_thread.PostCycle(3);
    ASSERT_TRUE(m_observer.WaitFor(1));

    // The window's card, as its adjust list shows it.
    const CCardSlot::CardHandle card = m_thread.GetReport()->rack.GetCard(3);
    ASSERT_NE(card, nullptr);
    ASSERT_TRUE(card->IsAdjustmentRead());
    int row = -1;
    for (int candidate = 0; candidate < card->GetParameterCount() && row < 0; ++candidate) {
        const ParameterDefinition& definition = card->GetParameter(candidate);
        if ((definition.flags & FlagAdjustment) != 0 && definition.kind == KindDecimal16 &&
            !card->IsDisabled(candidate) && definition.maximum > definition.minimum) {
            row = candidate;
        }
    }
    ASSERT_GE(row, 0);
    const ParameterDefinition& definition = card->GetParameter(row);
    const auto item = static_cast<std::uint8_t>(definition.item);
    const auto page = static_cast<std::uint8_t>(definition.page);
    const std::optional<std::wstring> before = station->GetValue(3, page, item);

    // Asked for with one step; the module is slow to take the write's
    // first request, and meanwhile the window steps the value once more.
    card->StepValue(row, card->GetStoredValue(row) < definition.maximum ? 1 : -1);
    station->InjectFault(
        StationFault::AtItem(3, 0, 1, StationFault::Kind::LateReply).WithDelay(milliseconds(100)));
    m_thread.RequestParameterWrite(3, card, row);
    card->StepValue(row, card->GetStoredValue(row) < definition.maximum ? 1 : -1);
    ASSERT_TRUE(m_observer.WaitFor(2));
    EXPECT_FALSE(m_thread.HasLastCommandFailed());
    const std::optional<std::wstring> asked = station->GetValue(3, page, item);
    EXPECT_NE(asked, before) << "nothing was written";

    // The second step goes with the next write.
    m_thread.RequestParameterWrite(3, card, row);
    ASSERT_TRUE(m_observer.WaitFor(3));
    m_thread.Stop();
    EXPECT_NE(station->GetValue(3, page, item), asked) << "the first write carried the later edit";
    EXPECT_TRUE(m_reported.empty());
}

// The window edits the card of its adjust list, taken from a notification,
// while the thread simulates that very module: the thread works on cards of
// its own, so the two never touch the same card (the thread sanitizer
// watches this one).
TEST_F(MonitorThreadTest, TheWindowEditsItsCardWhileTheThreadSimulatesThatModule) {
    UsePort(L"sim:0=K52HQ8,1=JK7W");
    m_thread.Attach(&m_observer);
    m_thread.Start();
    m_thread.PostCycle(1);
    ASSERT_TRUE(m_observer.WaitFor(1));
    const CCardSlot::CardHandle card = m_thread.GetReport()->rack.GetCard(1);
    ASSERT_NE(card, nullptr);
    int row = -1;
    for (int candidate = 0; candidate < card->GetParameterCount() && row < 0; ++candidate) {
        const ParameterDefinition& definition = card->GetParameter(candidate);
        if ((definition.flags & FlagAdjustment) != 0 && definition.kind == KindDecimal16 &&
            !card->IsDisabled(candidate) && definition.maximum > definition.minimum) {
            row = candidate;
        }
    }
    ASSERT_GE(row, 0);

    for (std::size_t pass = 0; pass < 4; ++pass) {
        m_thread.PostCycle(1, CMonitorThread::Simulation{1, 0x000F, {100, 200, 300, static_cast<int>(pass)}});
        for (int step = 0; step < 200; ++step) {
            card->StepValue(row, step % 2 == 0 ? 1 : -1);
        }
        ASSERT_TRUE(m_observer.WaitFor(2 + pass));
        const auto report = m_thread.GetReport();
        EXPECT_FALSE(report->failed);
        EXPECT_NE(report->rack.GetCard(1), card) << "the thread handed out a card the window holds";
    }
    m_thread.Stop();
    EXPECT_TRUE(m_reported.empty());
}

} // namespace

namespace {

double MillisecondsBetween(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

} // namespace

// While the station turns every cycle down the thread rests longer and longer
// before the next one; the first good cycle ends the rest, and the line's
// state says since when and why there was no reading.
TEST_F(MonitorThreadTest, RestsLongerWhileCyclesFailAndNotAtAllOnceOneSucceeds) {
    const std::wstring path = L"sim:0=K52HQ8,5=KZ9W";
    UsePort(path);
    const auto station = GetSimulatedStation(path);
    station->InjectFault(
        StationFault::AtItem(0, 0, 6, StationFault::Kind::ErrorStatus).WithStatus(2).Times(4));
    m_thread.Attach(&m_observer);
    m_observer.AnswerWithCycles(5);
    const auto before = std::chrono::system_clock::now();
    m_thread.Start();
    m_thread.PostCycle();
    ASSERT_TRUE(m_observer.WaitFor(6, milliseconds(20000)));
    m_thread.Stop();

    const auto records = m_observer.Records();
    const double rests[] = {100, 200, 400, 800};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_TRUE(records[i].failed);
        EXPECT_FALSE(records[i].state.reading);
        EXPECT_GE(records[i].state.failingSince, before);
        EXPECT_EQ(records[i].state.failingSince, records[0].state.failingSince) << "since the first failure";
        EXPECT_NE(records[i].state.reason.find(CResourceManager::FormatMessage(Msg::jx5com_errcode, 2)),
                  std::wstring::npos);
        EXPECT_GE(MillisecondsBetween(records[i].at, records[i + 1].at), rests[i] - 1) << i;
    }
    EXPECT_EQ(records[0].state.changes, 1u) << "one change for the whole run of failures";
    EXPECT_EQ(records[3].state.changes, 1u);
    EXPECT_FALSE(records[4].failed);
    EXPECT_TRUE(records[4].state.reading);
    EXPECT_EQ(records[4].state.changes, 2u);
    EXPECT_EQ(m_thread.GetRestMs(), 0u);
    // The good cycle is followed at once: no rest while the station answers.
    EXPECT_LT(MillisecondsBetween(records[4].at, records[5].at), 1000.0);
}

// The line's state changes with the kind of failure, not with its wording:
// the same refusal with another code is no news, an unreadable reply is.
TEST_F(MonitorThreadTest, LineStateChangesWithTheKindOfFailureNotItsText) {
    const std::wstring path = L"sim:0=K52HQ8,5=KZ9W";
    UsePort(path);
    const auto station = GetSimulatedStation(path);
    using Fault = StationFault;
    station->InjectFault(Fault::AtItem(0, 0, 6, Fault::Kind::ErrorStatus).WithStatus(2).Times(2));
    station->InjectFault(Fault::AtItem(0, 0, 6, Fault::Kind::ErrorStatus).WithStatus(3).Times(1));
    station->InjectFault(Fault::AtItem(0, 0, 6, Fault::Kind::WrongStx).Times(1));
    m_thread.Attach(&m_observer);
    m_observer.AnswerWithCycles(4);
    m_thread.Start();
    m_thread.PostCycle();
    ASSERT_TRUE(m_observer.WaitFor(5, milliseconds(20000)));
    m_thread.Stop();

    const auto records = m_observer.Records();
    EXPECT_EQ(records[2].state.changes, 1u) << "another code of the same refusal";
    EXPECT_NE(records[2].state.reason.find(CResourceManager::FormatMessage(Msg::jx5com_errcode, 2)),
              std::wstring::npos);
    EXPECT_EQ(records[3].state.kind, FailureKind::InvalidReply);
    EXPECT_EQ(records[3].state.changes, 2u);
    EXPECT_TRUE(records[4].state.reading);
}

// "close" must not wait for a rest to run out.
TEST_F(MonitorThreadTest, StopEndsARestAtOnce) {
    UsePort(L"/dev/k52-no-such-port");
    m_thread.Attach(&m_observer);
    m_observer.AnswerWithCycles(100);
    m_thread.Start();
    m_thread.PostCycle();
    const auto deadline = Clock::now() + milliseconds(20000);
    while (m_thread.GetRestMs() < CMonitorThread::kLongestRestMs && Clock::now() < deadline) {
        std::this_thread::sleep_for(milliseconds(10));
    }
    ASSERT_EQ(m_thread.GetRestMs(), CMonitorThread::kLongestRestMs);
    std::this_thread::sleep_for(milliseconds(50));
    const auto stopping = Clock::now();
    m_thread.Stop();
    EXPECT_LT(MillisecondsBetween(stopping, Clock::now()), 500.0);
    const auto state = m_thread.GetLineState();
    EXPECT_FALSE(state.reading);
    EXPECT_EQ(state.reason,
              CResourceManager::FormatMessage(Msg::serio_openerr, std::wstring(L"Station port")) + L"\n" +
                  CResourceManager::GetMessage(Msg::serio_notpresent));
}

// A station that answers at once is still read no more than ten times a
// second: six cycles asked for back to back start over at least half a second.
TEST_F(MonitorThreadTest, CyclesOnAnInstantStationKeepTheMinimumInterval) {
    UsePort(L"sim:0=K52HQ8,1=JK7W");
    m_thread.Attach(&m_observer);
    m_observer.AnswerWithCycles(5);
    const auto before = Clock::now();
    m_thread.Start();
    m_thread.PostCycle();
    ASSERT_TRUE(m_observer.WaitFor(6));
    m_thread.Stop();
    const auto records = m_observer.Records();
    EXPECT_FALSE(records[5].failed);
    EXPECT_GE(MillisecondsBetween(before, records[5].at), 5.0 * CMonitorThread::kMinCycleIntervalMs - 1);
}
