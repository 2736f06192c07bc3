#include "ScriptedPeer.h"

#include "base/CProfile.h"
#include "base/CResourceManager.h"
#include "link/CMutexHandle.h"
#include "link/CSerialIO.h"
#ifndef _WIN32
#include "link/posix/CPosixSerialBackend.h"
#endif
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <thread>
#include <tuple>

using Clock = std::chrono::steady_clock;

namespace {

long long MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

CComSettings Settings(const std::wstring& path, const std::wstring& display) {
    CMemoryProfile empty;
    CComSettings settings(empty);
    settings.SetDevicePath(path);
    settings.SetDisplayName(display);
    return settings;
}

// A backend that records what the port asks of it and fails on demand.
struct FakeBackendLog {
    std::wstring openedPath;
    SerialLineSettings line;
    bool refuseSettings = false;
    std::size_t writeLimit = 1000;
    std::uint32_t lastReadTimeout = 0;
};

class FakeBackend : public CSerialBackend {
public:
    explicit FakeBackend(FakeBackendLog& log) : m_log(log) {}
    bool Open(const std::wstring& devicePath) override {
        m_log.openedPath = devicePath;
        return true;
    }
    bool Configure(const SerialLineSettings& settings) override {
        m_log.line = settings;
        return !m_log.refuseSettings;
    }
    std::size_t Write(const std::uint8_t*, std::size_t count) override {
        return std::min(count, m_log.writeLimit);
    }
    std::size_t Read(std::uint8_t*, std::size_t, std::uint32_t timeoutMs) override {
        m_log.lastReadTimeout = timeoutMs;
        return 0;
    }
    void Purge(std::uint32_t) override {}
    void CancelPending() override {}
    void Close() override {}

private:
    FakeBackendLog& m_log;
};

class VirtualPortTest : public ::testing::Test {
protected:
    void SetUp() override {
        k52test::LoadEnglish();
        RegisterVirtualPortFactory(L"fake:",
                                   [this](const std::wstring& path) -> std::unique_ptr<CSerialBackend> {
                                       if (path == L"fake:none") {
                                           return nullptr;
                                       }
                                       return std::make_unique<FakeBackend>(m_log);
                                   });
    }
    void TearDown() override { RegisterVirtualPortFactory(L"fake:", {}); }

    FakeBackendLog m_log;
};

} // namespace

TEST_F(VirtualPortTest, PrefixedPathsReachTheirFactoryWithTheLineSettings) {
    CSerialIO port;
    port.ApplySettings(Settings(L"fake:one", L"Fake"));
    EXPECT_TRUE(port.IsOpen());
    EXPECT_EQ(m_log.openedPath, L"fake:one");
    EXPECT_EQ(m_log.line.baudRate, 9600u);
    EXPECT_EQ(m_log.line.byteSize, 8u);
    EXPECT_EQ(m_log.line.parity, 0u);
    EXPECT_EQ(m_log.line.stopBits, 0u);
    EXPECT_TRUE(m_log.line.binary);

    std::uint8_t buffer[4];
    EXPECT_EQ(port.Read(buffer, 4), 0u);
    EXPECT_EQ(m_log.lastReadTimeout, 3000u) << "the time-out record starts at three seconds";
    port.SetReadTimeout(1000);
    port.Read(buffer, 4);
    EXPECT_EQ(m_log.lastReadTimeout, 1000u);

    const std::uint8_t frame[6] = {};
    EXPECT_EQ(port.Write(frame, 6), 6u);
    m_log.writeLimit = 5;
    EXPECT_EQ(k52test::RaisedText([&] { port.Write(frame, 6); }),
              CResourceManager::GetMessage(Msg::serio_seterr));
    port.Close();
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(k52test::RaisedText([&] { port.Write(frame, 6); }),
              CResourceManager::GetMessage(Msg::serio_seterr))
        << "a closed port writes nothing";
}

TEST_F(VirtualPortTest, RefusalsRaiseThePortTexts) {
    CSerialIO port;
    EXPECT_EQ(k52test::RaisedText([&] { port.ApplySettings(Settings(L"fake:none", L"Nothing")); }),
              CResourceManager::FormatMessage(Msg::serio_openerr, std::wstring(L"Nothing")));
    m_log.refuseSettings = true;
    EXPECT_EQ(k52test::RaisedText([&] { port.ApplySettings(Settings(L"fake:x", L"X")); }),
              CResourceManager::GetMessage(Msg::serio_seterr));
    // The demo station cannot be opened before a station registers itself, and
    // a relative name never opens a file of the working directory; both are
    // told as a port that is not there.
    const std::wstring notThere = L"\n" + CResourceManager::GetMessage(Msg::serio_notpresent);
    EXPECT_EQ(k52test::RaisedText([&] { port.ApplySettings(Settings(L"sim:", L"Demo")); }),
              CResourceManager::FormatMessage(Msg::serio_openerr, std::wstring(L"Demo")) + notThere);
    EXPECT_EQ(k52test::RaisedText([&] { port.ApplySettings(Settings(L"COM1", L"COM1")); }),
              CResourceManager::FormatMessage(Msg::serio_openerr, std::wstring(L"COM1")) + notThere);
}

TEST(SerialIO, ReadWaitsForAllBytesAndReturnsWhatArrived) {
    linktest::ScriptedPeer peer;
    CSerialIO port;
    port.ApplySettings(Settings(peer.SlavePath(), L"pty"));
    EXPECT_EQ(port.GetDevicePath(), peer.SlavePath());
    port.SetReadTimeout(300);

    peer.SendRaw({0x11, 0x22, 0x33});
    std::uint8_t buffer[5] = {};
    Clock::time_point start = Clock::now();
    EXPECT_EQ(port.Read(buffer, 5), 3u);
    long long elapsed = MillisecondsSince(start);
    EXPECT_GE(elapsed, 280);
    EXPECT_LE(elapsed, 800);
    EXPECT_EQ(buffer[2], 0x33);

    // Bytes that arrive in pieces are gathered into one read, which ends as
    // soon as the last piece is in, long before the time-out.
    port.SetReadTimeout(3000);
    std::thread late([&] {
        peer.SendRaw({1, 2});
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        peer.SendRaw({3});
    });
    start = Clock::now();
    EXPECT_EQ(port.Read(buffer, 3), 3u);
    EXPECT_LT(MillisecondsSince(start), 1500);
    late.join();
    EXPECT_EQ(buffer[2], 3);

    // Stale input is gone after a purge.
    peer.SendRaw({9, 9});
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    port.Purge(CSerialBackend::kPurgeRxAbort | CSerialBackend::kPurgeRxClear);
    port.SetReadTimeout(100);
    EXPECT_EQ(port.Read(buffer, 1), 0u);
}

TEST(SerialIO, CancelEndsAReadAtOnceUntilThePortIsPurged) {
    linktest::ScriptedPeer peer;
    CSerialIO port;
    port.ApplySettings(Settings(peer.SlavePath(), L"pty"));
    port.SetReadTimeout(3000);
    std::uint8_t buffer[4];

    std::atomic<long long> cancelledAt{0};
    const Clock::time_point start = Clock::now();
    std::thread canceller([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        cancelledAt = MillisecondsSince(start);
        port.CancelPending();
    });
    EXPECT_EQ(port.Read(buffer, 4), 0u);
    const long long ended = MillisecondsSince(start);
    canceller.join();
    EXPECT_LT(ended - cancelledAt.load(), 500);

    // A cancel that came before the read still ends it; a purge forgets it.
    Clock::time_point again = Clock::now();
    EXPECT_EQ(port.Read(buffer, 4), 0u);
    EXPECT_LT(MillisecondsSince(again), 500);
    port.Purge(0x0F);
    port.SetReadTimeout(200);
    again = Clock::now();
    EXPECT_EQ(port.Read(buffer, 4), 0u);
    EXPECT_GE(MillisecondsSince(again), 180);

    port.Close();
    port.CancelPending(); // harmless when closed
    port.Close();
}

TEST(MutexHandle, BelongsToOneThreadAtATime) {
    CMutexHandle mutex;
    EXPECT_FALSE(mutex.Release()) << "nobody owns it yet";
    EXPECT_TRUE(mutex.Wait());
    EXPECT_TRUE(mutex.Wait(0)) << "the owner may take it again";

    auto other = std::async(std::launch::async, [&] {
        const bool releasedByStranger = mutex.Release();
        const Clock::time_point start = Clock::now();
        const bool got = mutex.Wait(100);
        return std::make_tuple(releasedByStranger, got, MillisecondsSince(start));
    });
    const auto [releasedByStranger, got, waited] = other.get();
    EXPECT_FALSE(releasedByStranger);
    EXPECT_FALSE(got);
    EXPECT_GE(waited, 90);

    EXPECT_TRUE(mutex.Release());
    EXPECT_TRUE(mutex.Release());
    EXPECT_FALSE(mutex.Release());
    auto taker = std::async(std::launch::async, [&] {
        const bool got = mutex.Wait(1000);
        return got && mutex.Release();
    });
    EXPECT_TRUE(taker.get());
}

TEST_F(VirtualPortTest, APermissionRefusalAdvisesAGroupOnlyWhereJoiningItHelps) {
#ifndef _WIN32
    const struct {
        unsigned groupId;
        unsigned mode;
        bool helps;
    } devices[] = {
        {20, 0660, true},   // dialout with read and write
        {0, 0660, false},   // root's group: never advised
        {20, 0640, false},  // the group may only read
        {20, 0600, false},  // the group may do nothing
        {20, 020660, true}, // a character device, as a serial port is
    };
    for (const auto& device : devices) {
        EXPECT_EQ(CPosixSerialBackend::GroupMembershipGrantsAccess(device.groupId, device.mode), device.helps)
            << "group " << device.groupId << " mode " << std::oct << device.mode;
    }
#endif
    CSerialIO port;
    port.ApplySettings(Settings(L"fake:one", L"Port"));
    SerialOpenFailure failure;
    failure.kind = SerialOpenFailure::Kind::NoPermission;
    const std::wstring opening = CResourceManager::FormatMessage(Msg::serio_openerr, std::wstring(L"Port")) + L"\n";
    EXPECT_EQ(port.OpenFailureText(failure), opening + CResourceManager::GetMessage(Msg::serio_nopermission));
    failure.group = L"dialout";
    EXPECT_EQ(port.OpenFailureText(failure),
              opening + CResourceManager::FormatMessage(Msg::serio_noaccess, std::wstring(L"dialout"),
                                                        std::wstring(L"dialout")));
}
