// A reply that comes after its time-out must never pass for the reply to the
// next request: the link drains the line after a failed exchange and stays
// wary until a reply ends on a quiet line. Tried with every command, over the
// in-process port and over a pseudo-terminal.
#include "base/CResourceManager.h"
#include "base/TextConvert.h"
#include "link/CJX5COMInterface.h"
#include "station/CSimulatedStationPort.h"
#include "station/CStationPtyServer.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <functional>
#include <pty.h>
#include <thread>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;
using Kind = StationFault::Kind;

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

std::unique_ptr<CJX5COMInterface> OpenLink(const std::wstring& path) {
    auto link = std::make_unique<CJX5COMInterface>();
    CComSettings settings = link->GetSettings();
    settings.SetDevicePath(path);
    settings.SetDisplayName(L"Station port");
    link->SetSettings(settings);
    link->Open();
    return link;
}

// The station in the process or behind a pseudo-terminal, and a link to it.
class StaleReplyTest : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        k52test::LoadEnglish();
        RegisterSimulatedStationPort();
        const std::wstring modules = L"0=K52HQ8,1=JK7W,2=KZ9W";
        if (GetParam()) {
            m_station = std::make_shared<CSimulatedStation>(*CStationLineUp::Parse(modules, m_error));
            m_server = std::make_unique<CStationPtyServer>(m_station);
            m_server->Start();
            m_link = OpenLink(FromUtf8(m_server->GetDevicePath()));
        } else {
            // A path of its own per test, so that no other test's station answers.
            const std::wstring path = L"sim:" + modules + L",16=KZ9W";
            m_station = GetSimulatedStation(path);
            m_link = OpenLink(path);
        }
        m_station->FreezeClock(1000);
    }

    // The next request the station gets is answered `delay` late.
    void DelayNextReply(milliseconds delay) {
        StationFault fault = StationFault::AtRequest(m_station->GetRequestCount(), Kind::LateReply);
        m_station->InjectFault(fault.WithDelay(delay));
    }

    std::wstring Truth(int address, int page, int item) { return *m_station->GetValue(address, page, item); }

    std::wstring m_error;
    std::shared_ptr<CSimulatedStation> m_station;
    std::unique_ptr<CStationPtyServer> m_server;
    std::unique_ptr<CJX5COMInterface> m_link;
};

TEST_P(StaleReplyTest, AReplyLateByTwoTenthsIsDrainedForEveryCommand) {
    const std::wstring timeout = CResourceManager::GetMessage(Msg::jx5com_timeout);
    const struct {
        const char* name;
        std::function<void(CJX5COMInterface&)> command;
    } commands[] = {
        {"ReadItem", [](CJX5COMInterface& link) { link.ReadItem(1, 1, 0x0b); }},
        {"ReadItems",
         [](CJX5COMInterface& link) {
             std::vector<std::wstring> texts;
             link.ReadItems(1, {1, 1}, {0x0b, 0x0a}, texts);
         }},
        {"WriteItem", [](CJX5COMInterface& link) { link.WriteItem(1, 1, 0x0b, L"1.2500"); }},
        {"ReadThenWriteItem", [](CJX5COMInterface& link) { link.ReadThenWriteItem(1, 1, 0x0b, L"1.5000"); }},
        {"WriteItems", [](CJX5COMInterface& link) { link.WriteItems(1, {1}, {0x0b}, {L"1.7500"}); }},
    };
    for (const auto& command : commands) {
        SCOPED_TRACE(command.name);
        DelayNextReply(milliseconds(1200));
        const Clock::time_point start = Clock::now();
        EXPECT_FALSE(k52test::RaisedText([&] { command.command(*m_link); }).empty());
        // Every later request of the same module would take the late reply:
        // its echo is the same. It has been drained instead.
        EXPECT_EQ(m_link->ReadItem(1, 1, 0x0a), L"BIAS01:" + Truth(1, 1, 0x0a));
        EXPECT_EQ(m_link->ReadItem(1, 1, 0x0b), L"GAIN01:" + Truth(1, 1, 0x0b));
        EXPECT_LT(SecondsSince(start), 4.0);
    }
    const CJX5COMInterface::Counts counts = m_link->GetCounts();
    EXPECT_EQ(counts.timeouts, 5u);
    EXPECT_EQ(counts.invalidReplies, 0u);
    EXPECT_EQ(counts.errorStatuses, 0u);
    EXPECT_EQ(counts.exchanges, 5u + 10u);
}

TEST_P(StaleReplyTest, AReplyLaterThanTheDrainFailsTheNextExchangeInsteadOfPassingForItsReply) {
    DelayNextReply(milliseconds(1700));
    EXPECT_FALSE(k52test::RaisedText([&] { m_link->ReadItem(1, 1, 0x0b); }).empty());
    // The drain has given up waiting; the old reply comes in the middle of
    // the next exchange, and the reply to that one follows it.
    const std::wstring next = k52test::RaisedText([&] { m_link->ReadItem(1, 1, 0x0a); });
    EXPECT_NE(next.find(CResourceManager::GetMessage(Msg::jx5com_invres)), std::wstring::npos)
        << ToUtf8(next);
    EXPECT_EQ(m_link->ReadItem(1, 1, 0x0a), L"BIAS01:" + Truth(1, 1, 0x0a));
    EXPECT_EQ(m_link->ReadItem(1, 1, 0x0b), L"GAIN01:" + Truth(1, 1, 0x0b));
    const CJX5COMInterface::Counts counts = m_link->GetCounts();
    EXPECT_EQ(counts.timeouts, 1u);
    EXPECT_EQ(counts.invalidReplies, 1u);
}

INSTANTIATE_TEST_SUITE_P(Ports, StaleReplyTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "PseudoTerminal" : "InProcess"; });

// A line that never falls quiet: the drain gives up after its bound, and a
// cancel ends it at once.
TEST(DrainTest, ANoisyLineIsGivenUpOnAfterTheBoundAndACancelEndsItAtOnce) {
    k52test::LoadEnglish();
    int master = -1;
    int slave = -1;
    char name[128] = {};
    ASSERT_EQ(::openpty(&master, &slave, name, nullptr, nullptr), 0);
    std::atomic<bool> noisy{true};
    std::thread noise([&] {
        const std::uint8_t byte = 0x55;
        while (noisy.load()) {
            [[maybe_unused]] const ssize_t written = ::write(master, &byte, 1);
            std::this_thread::sleep_for(milliseconds(20));
        }
    });
    auto link = OpenLink(FromUtf8(name));

    Clock::time_point start = Clock::now();
    EXPECT_FALSE(k52test::RaisedText([&] { link->ReadItem(1, 1, 0x0b); }).empty());
    const double bounded = SecondsSince(start);
    EXPECT_GE(bounded, CJX5COMInterface::kDrainBoundMs / 1000.0);
    EXPECT_LT(bounded, CJX5COMInterface::kDrainBoundMs / 1000.0 + 1.5);

    start = Clock::now();
    std::thread cancel([&] {
        std::this_thread::sleep_for(milliseconds(300));
        link->Cancel();
    });
    EXPECT_EQ(k52test::RaisedText([&] { link->ReadItem(1, 1, 0x0b); }), L"") << "a cancel, not a failure";
    cancel.join();
    EXPECT_LT(SecondsSince(start), 1.3) << "the drain must not hold a cancel";

    noisy.store(false);
    noise.join();
    link.reset();
    ::close(slave);
    ::close(master);
}

} // namespace
