// The station as the tool meets it: through the real link, over the
// in-process "sim:" port, a pseudo-terminal, and the k52sim program.
#include "base/CResourceManager.h"
#include "base/TextConvert.h"
#include "link/CJX5COMInterface.h"
#include "station/CSimulatedStationPort.h"
#include "station/CStationPtyServer.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;
using Kind = StationFault::Kind;

std::unique_ptr<CJX5COMInterface> OpenLink(const std::wstring& path) {
    auto link = std::make_unique<CJX5COMInterface>();
    CComSettings settings = link->GetSettings();
    settings.SetDevicePath(path);
    settings.SetDisplayName(L"Station port");
    link->SetSettings(settings);
    link->Open();
    return link;
}

std::wstring LinkFailure(int address, int number, const std::wstring& inner) {
    return CResourceManager::FormatMessage(Msg::jx5com_comfail, std::wstring(L"Item"), address, number, 1,
                                           inner);
}

double MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Wire time of one item read: both frames at 10 bits a byte, 9600 bit/s.
double ReadWireMilliseconds(const std::wstring& replyText) {
    const std::size_t bytes = (5 + 5) + (4 + replyText.size() + 5);
    return static_cast<double>(bytes) * 10.0 / 9.6;
}

class StationLinkTest : public ::testing::Test {
protected:
    void SetUp() override {
        k52test::LoadEnglish();
        RegisterSimulatedStationPort();
    }

    // Each injected fault ends a read of (1, 1, 0x0b) with exactly the link's text.
    void ExpectFaultTexts(const std::wstring& path, CSimulatedStation& station) {
        const std::wstring timeout = CResourceManager::GetMessage(Msg::jx5com_timeout);
        const std::wstring invalid = CResourceManager::GetMessage(Msg::jx5com_invres);
        const struct {
            StationFault fault;
            std::wstring inner;
        } cases[] = {
            {StationFault::AtItem(1, 1, 0x0b, Kind::NoReply), timeout},
            {StationFault::AtItem(1, 1, 0x0b, Kind::LateReply).WithDelay(milliseconds(1300)), timeout},
            {StationFault::AtItem(1, 1, 0x0b, Kind::TruncatedBody), timeout},
            {StationFault::AtItem(1, 1, 0x0b, Kind::WrongStx), invalid},
            {StationFault::AtItem(1, 1, 0x0b, Kind::WrongEtx), invalid},
            {StationFault::AtItem(1, 1, 0x0b, Kind::WrongEcho), invalid},
            {StationFault::AtItem(1, 1, 0x0b, Kind::ShortPayload), invalid},
            {StationFault::AtItem(1, 1, 0x0b, Kind::ErrorStatus).WithStatus(5),
             CResourceManager::FormatMessage(Msg::jx5com_errcode, 5)},
            {StationFault::AtItem(1, 1, 0x0b, Kind::ErrorStatus).WithStatus(0x36),
             CResourceManager::GetMessage(Msg::jx5com_redundantfail)},
        };
        auto link = OpenLink(path);
        for (const auto& test : cases) {
            SCOPED_TRACE(ToUtf8(test.inner));
            station.InjectFault(test.fault);
            EXPECT_EQ(k52test::RaisedText([&] { link->ReadItem(1, 1, 0x0b); }),
                      LinkFailure(1, 0x0b, test.inner));
            if (test.fault.kind == Kind::LateReply) {
                // Let the late reply arrive, so that it is purged before the next request.
                std::this_thread::sleep_for(milliseconds(500));
            }
            EXPECT_EQ(link->ReadItem(1, 1, 0x0b), L"GAIN01:1.0000") << "the next exchange is clean";
        }
    }
};

TEST_F(StationLinkTest, SimPortKeepsOneStationPerPathAcrossLinks) {
    const std::wstring path = L"sim:0=K52HQ8,1=JK7W,2=BJ58W";
    {
        auto link = OpenLink(path);
        EXPECT_EQ(link->ReadItem(0, 0, 6), L"UPMAP:0003");
        EXPECT_EQ(link->ReadItem(0, 0, 11), L"NAME:BJ58W");
        link->WriteItem(1, 0, 1, L"1");
        link->WriteItem(1, 1, 0x0a, L"12.34");
        link->WriteItem(1, 0, 1, L"0");
        // Like a real port, it is open once at a time.
        EXPECT_EQ(k52test::RaisedText([&] { OpenLink(path); }),
                  CResourceManager::FormatMessage(Msg::serio_openerr, std::wstring(L"Station port")) + L"\n" +
                      CResourceManager::GetMessage(Msg::serio_inuse));
    }
    auto later = OpenLink(path);
    EXPECT_EQ(later->ReadItem(1, 1, 0x0a), L"BIAS01:12.34");
    const std::vector<StationRequest> log = GetSimulatedStation(path)->GetRequestLog();
    ASSERT_GE(log.size(), 5U);
    EXPECT_EQ(log[3].text, L"12.34");

    EXPECT_EQ(k52test::RaisedText([] { OpenLink(L"sim:1=NOSUCH"); }),
              CResourceManager::FormatMessage(Msg::serio_openerr, std::wstring(L"Station port")) + L"\n" +
                  CResourceManager::GetMessage(Msg::serio_notpresent));
    EXPECT_EQ(GetSimulatedStation(L"sim:1=NOSUCH"), nullptr);
    EXPECT_EQ(GetSimulatedStation(L"sim:")->GetLineUp(), CStationLineUp::Demo());
}

TEST_F(StationLinkTest, DigitalPointsReadThroughTheCommunicationModule) {
    const std::wstring path = L"sim:0=K52HQBZ8,4=BJ58W";
    std::shared_ptr<CSimulatedStation> station = GetSimulatedStation(path);
    station->SetAttribute(0);
    station->FreezeClock(3000);
    auto link = OpenLink(path);
    EXPECT_EQ(link->ReadItem(0, 0, 27), L"ATTRIB:0000");
    const std::wstring points = link->ReadItem(4, 0, 10);

    link->WriteItems(0, {2, 2}, {1, 4}, {L"1", L"4"});
    std::vector<std::wstring> texts;
    link->ReadItems(0, {2, 2, 2, 2}, {20, 21, 29, 30}, texts);
    link->WriteItems(0, {2}, {1}, {L"0"});
    ASSERT_EQ(texts.size(), 4U);
    EXPECT_EQ(texts[0], points);
    EXPECT_EQ(texts[1], L"DATA:0000");
    // Switched off again, the read-through is refused.
    EXPECT_EQ(k52test::RaisedText([&] { link->ReadItem(0, 2, 20); }),
              LinkFailure(0, 20, CResourceManager::FormatMessage(Msg::jx5com_errcode, 4)));
}

TEST_F(StationLinkTest, SimPortFaultsGiveTheLinksTexts) {
    const std::wstring path = L"sim:0=K52HQ8,1=KZ7W";
    ExpectFaultTexts(path, *GetSimulatedStation(path));
}

TEST_F(StationLinkTest, ALateReplyWithinTheTimeOutIsTaken) {
    const std::wstring path = L"sim:0=K52HQ8,1=KZ9W";
    std::shared_ptr<CSimulatedStation> station = GetSimulatedStation(path);
    station->InjectFault(StationFault::AtItem(1, 1, 0x0b, Kind::LateReply).WithDelay(milliseconds(300)));
    auto link = OpenLink(path);
    const Clock::time_point start = Clock::now();
    EXPECT_EQ(link->ReadItem(1, 1, 0x0b), L"GAIN01:1.0000");
    EXPECT_GE(MillisecondsSince(start), 300.0);
}

TEST_F(StationLinkTest, AttributeOfAStationWithoutItTakesTheFallback) {
    const std::wstring path = L"sim:0=K52HJWB8";
    std::shared_ptr<CSimulatedStation> station = GetSimulatedStation(path);
    auto link = OpenLink(path);
    station->InjectFault(StationFault::AtItem(0, 0, 27, Kind::ErrorStatus).WithStatus(0x40));
    EXPECT_EQ(link->ReadItem(0, 0, 27), L"ATTRIB:0000");
    station->InjectFault(StationFault::AtItem(0, 0, 27, Kind::ErrorStatus).WithStatus(5));
    EXPECT_EQ(k52test::RaisedText([&] { link->ReadItem(0, 0, 27); }),
              LinkFailure(0, 27, CResourceManager::FormatMessage(Msg::jx5com_errcode, 5)));
    EXPECT_EQ(link->ReadItem(0, 0, 27), L"ATTRIB:0001");
}

TEST_F(StationLinkTest, PacedExchangesTakeTheirWireTime) {
    const std::wstring path = L"sim:0=K52HQ8,1=JK9W";
    GetSimulatedStation(path)->SetPacing(true);
    auto link = OpenLink(path);
    const std::wstring reply = link->ReadItem(1, 1, 0x0b);
    constexpr int kExchanges = 20;
    const Clock::time_point start = Clock::now();
    for (int i = 0; i < kExchanges; ++i) {
        link->ReadItem(1, 1, 0x0b);
    }
    const double wire = kExchanges * ReadWireMilliseconds(reply);
    const double measured = MillisecondsSince(start);
    EXPECT_GE(measured, wire * 0.99);
    // Scheduling on a busy machine only adds to the time; a line time paid
    // twice (both frames paced again on the reader's side, say) doubles it.
    EXPECT_LE(measured, wire * 1.5) << "the line time was paid more than once";
}

TEST_F(StationLinkTest, PseudoTerminalServesTheSameStation) {
    CStationLineUp lineUp;
    lineUp.SetModel(1, L"KZ9W");
    auto station = std::make_shared<CSimulatedStation>(lineUp);
    CStationPtyServer server(station);
    server.Start();
    const std::wstring path = FromUtf8(server.GetDevicePath());
    {
        auto link = OpenLink(path);
        EXPECT_EQ(link->ReadItem(0, 0, 6), L"UPMAP:0001");
        link->WriteItem(1, 1, 0x0a, L"-1.5");
    }
    auto again = OpenLink(path);
    EXPECT_EQ(again->ReadItem(1, 1, 0x0a), L"BIAS01:-1.5");
    again.reset();
    ExpectFaultTexts(path, *station);
}

// The k52sim program: prints its terminal, answers there and through the
// link it was asked for, and cleans up when told to stop.
TEST_F(StationLinkTest, SimulatorProgramServesUntilStopped) {
    const std::filesystem::path program =
        std::filesystem::read_symlink("/proc/self/exe").parent_path() / "k52sim";
    ASSERT_TRUE(std::filesystem::exists(program));
    k52test::TempDir dir;
    const std::filesystem::path linkPath = dir.path() / "station";

    int out[2];
    ASSERT_EQ(::pipe(out), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::dup2(out[1], STDOUT_FILENO);
        ::close(out[0]);
        ::close(out[1]);
        ::execl(program.c_str(), "k52sim", "--modules", "0=K52HQ8,1=JK7W,3=KZ9W", "--link", linkPath.c_str(),
                "--pace", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(out[1]);
    std::string printed;
    char c = 0;
    while (::read(out[0], &c, 1) == 1 && c != '\n') {
        printed.push_back(c);
    }
    ::close(out[0]);
    EXPECT_EQ(printed.rfind("/dev/pts/", 0), 0U) << printed;
    EXPECT_EQ(std::filesystem::read_symlink(linkPath).string(), printed);
    {
        auto link = OpenLink(linkPath.wstring());
        const Clock::time_point start = Clock::now();
        const std::wstring map = link->ReadItem(0, 0, 6);
        EXPECT_GE(MillisecondsSince(start), ReadWireMilliseconds(map) * 0.99) << "paced";
        EXPECT_EQ(map, L"UPMAP:0005");
        EXPECT_EQ(link->ReadItem(0, 0, 12), L"NAME:KZ9W");
    }
    ASSERT_EQ(::kill(child, SIGTERM), 0);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_FALSE(std::filesystem::is_symlink(linkPath)) << "the link goes with the program";

    // A module list it cannot build is a usage error.
    const pid_t refused = ::fork();
    ASSERT_GE(refused, 0);
    if (refused == 0) {
        ::execl(program.c_str(), "k52sim", "--modules", "0=JK7W", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ASSERT_EQ(::waitpid(refused, &status, 0), refused);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 2) << status;
}

} // namespace
