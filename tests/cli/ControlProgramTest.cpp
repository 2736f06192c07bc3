// k52ctl end to end: the program is run as a script would run it, against
// the built-in simulated station and against k52sim on a pseudo-terminal.
#include "app/CResourceDatabase.h"
#include "app/CResourceManager.h"
#include "app/TextConvert.h"
#include "catalog/CIOCardType.h"
#include "rack/CCardSlot.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <optional>
#include <poll.h>
#include <pty.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace {

using k52test::ReadFile;
using k52test::TempDir;

struct Result {
    int status = -1;
    std::string out;
    std::string err;
};

std::string Program(const std::string& name) {
    return ToUtf8(GetModuleDirectory()) + "/" + name;
}

std::vector<char*> Argv(const std::string& program, std::vector<std::string>& arguments) {
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    return argv;
}

// Runs k52ctl with its output in files; optionally presses Ctrl-C after a while.
Result RunK52ctl(std::vector<std::string> arguments,
                 std::optional<std::chrono::milliseconds> interruptAfter = std::nullopt) {
    TempDir dir;
    const std::string out = (dir.path() / "out").string();
    const std::string err = (dir.path() / "err").string();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const std::string program = Program("k52ctl");
    std::vector<char*> argv = Argv(program, arguments);
    pid_t pid = 0;
    Result result;
    if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ) != 0) {
        ADD_FAILURE() << "cannot start " << program;
        posix_spawn_file_actions_destroy(&actions);
        return result;
    }
    posix_spawn_file_actions_destroy(&actions);
    if (interruptAfter) {
        std::this_thread::sleep_for(*interruptAfter);
        ::kill(pid, SIGINT);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    result.out = ReadFile(out);
    result.err = ReadFile(err);
    return result;
}

// k52sim serving a station on a pseudo-terminal for the length of a test.
class Simulator {
public:
    explicit Simulator(std::vector<std::string> arguments) {
        int output[2];
        if (::pipe2(output, O_CLOEXEC) != 0) {
            throw std::runtime_error("pipe");
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, output[1], 1);
        const std::string program = Program("k52sim");
        std::vector<char*> argv = Argv(program, arguments);
        const int started = posix_spawn(&m_pid, program.c_str(), &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        ::close(output[1]);
        if (started != 0) {
            ::close(output[0]);
            throw std::runtime_error("cannot start k52sim");
        }
        // Its first line is the terminal's path.
        pollfd wait{output[0], POLLIN, 0};
        char c = 0;
        while (::poll(&wait, 1, 10000) == 1 && ::read(output[0], &c, 1) == 1 && c != '\n') {
            m_path += c;
        }
        ::close(output[0]);
    }
    ~Simulator() {
        ::kill(m_pid, SIGTERM);
        int status = 0;
        ::waitpid(m_pid, &status, 0);
    }
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;

    const std::string& Path() const { return m_path; }

private:
    pid_t m_pid = 0;
    std::string m_path;
};

// A terminal nobody answers on: every request of the link times out.
class SilentTerminal {
public:
    SilentTerminal() {
        char name[128] = {};
        if (::openpty(&m_master, &m_slave, name, nullptr, nullptr) != 0) {
            throw std::runtime_error("openpty");
        }
        ::fcntl(m_master, F_SETFD, FD_CLOEXEC);
        ::fcntl(m_slave, F_SETFD, FD_CLOEXEC);
        m_path = name;
    }
    ~SilentTerminal() {
        ::close(m_slave);
        ::close(m_master);
    }
    SilentTerminal(const SilentTerminal&) = delete;
    SilentTerminal& operator=(const SilentTerminal&) = delete;
    const std::string& Path() const { return m_path; }

private:
    int m_master = -1;
    int m_slave = -1;
    std::string m_path;
};

std::string Message(const std::wstring& text) {
    return ToUtf8(text) + "\n";
}

std::string Line(const std::string& text, int number) {
    std::size_t start = 0;
    for (int i = 0; i < number; ++i) {
        start = text.find('\n', start);
        if (start == std::string::npos) {
            return {};
        }
        ++start;
    }
    return text.substr(start, text.find('\n', start) - start);
}

// The note of a download cancelled while it wrote one of these modules.
bool IsHalfWrittenNotice(const std::string& err, std::initializer_list<const char*> modules) {
    for (const char* module : modules) {
        const std::wstring partial = CResourceManager::FormatMessage(L"partialerr", FromUtf8(module));
        if (err == Message(CResourceManager::FormatMessage(L"downloadcancel", partial))) {
            return true;
        }
    }
    return false;
}

bool Exists(const std::string& path) {
    return std::filesystem::exists(path);
}

class ControlProgramTest : public ::testing::Test {
protected:
    void SetUp() override { k52test::LoadEnglish(); }

    // upload, show, download against one port: what a backup and restore script does.
    void RoundTrip(const std::string& port) {
        const std::string file = (m_dir.path() / "backup.cfg").string();
        const Result upload = RunK52ctl({"upload", "--port", port, "--output", file});
        EXPECT_EQ(upload.status, 0) << upload.err;
        EXPECT_EQ(upload.err, "") << "progress only on a terminal";
        ASSERT_TRUE(Exists(file));

        const Result show = RunK52ctl({"show", file});
        EXPECT_EQ(show.status, 0) << show.err;
        EXPECT_EQ(Line(show.out, 0), "COM\tK52HQ8");
        EXPECT_NE(show.out.find("\nIO01\tJK7W\n"), std::string::npos);
        EXPECT_NE(show.out.find("\nIO02\tnull\n"), std::string::npos);
        EXPECT_NE(show.out.find("\nIO03\tKZ9W\n"), std::string::npos);
        EXPECT_NE(show.out.find("\nIO16\tnull"), std::string::npos);

        // One slot, with its parameters as caption, tab, value.
        const Result slot = RunK52ctl({"show", file, "--slot", "3"});
        EXPECT_EQ(slot.status, 0);
        EXPECT_EQ(Line(slot.out, 0), "IO03\tKZ9W");
        EXPECT_EQ(slot.out.find("IO01"), std::string::npos);
        CCardSlot rack;
        rack.LoadFromFile(FromUtf8(file));
        const CCardInterface& card = *rack.GetCard(3);
        int row = 0;
        while (card.GetParameter(row).kind == KindGroup) {
            ++row;
        }
        EXPECT_NE(slot.out.find("\t\t" + ToUtf8(card.GetCaption(row)) + "\t" +
                                ToUtf8(card.GetDisplayText(row)) + "\n"),
                  std::string::npos)
            << slot.out;

        const Result download = RunK52ctl({"download", "--port", port, file});
        EXPECT_EQ(download.status, 0) << download.err;
        EXPECT_EQ(download.err, "");
    }

    TempDir m_dir;
};

TEST_F(ControlProgramTest, BackupAndRestoreThroughTheBuiltInStation) {
    RoundTrip("sim:0=K52HQ8,1=JK7W,3=KZ9W");
}

TEST_F(ControlProgramTest, BackupAndRestoreThroughK52simOnAPseudoTerminal) {
    Simulator simulator({"--modules", "0=K52HQ8,1=JK7W,3=KZ9W"});
    ASSERT_EQ(simulator.Path().rfind("/dev/", 0), 0U) << simulator.Path();
    RoundTrip(simulator.Path());
}

TEST_F(ControlProgramTest, DownloadToAStationOfOtherModulesFailsWithTheWindowsMessage) {
    const std::string file = (m_dir.path() / "rack.cfg").string();
    ASSERT_EQ(RunK52ctl({"upload", "--port", "sim:0=K52HQ8,1=JK7W,3=KZ9W", "--output", file}).status, 0);

    const std::string other = "sim:0=K52HQ8,1=JK7W,4=KZ9W";
    const Result refused = RunK52ctl({"download", "--port", other, file});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.out, "");
    EXPECT_EQ(refused.err, Message(CResourceManager::FormatMessage(
                               L"downloaderr", CResourceManager::FormatMessage(L"difcarderr", 3))));

    // Slots 3 and 4 not chosen: nothing left to differ.
    EXPECT_EQ(RunK52ctl({"download", "--port", other, "--slots", "0-2,5-16", file}).status, 0);

    const Result otherCom =
        RunK52ctl({"download", "--port", "sim:0=K52HJWQ8,1=JK7W,3=KZ9W", "--slots", "1", file});
    EXPECT_EQ(otherCom.status, 1);
    EXPECT_EQ(otherCom.err, Message(CResourceManager::FormatMessage(
                                L"downloaderr", CResourceManager::GetMessage(L"difcomcarderr"))));
}

TEST_F(ControlProgramTest, FailedUploadReportsAndLeavesTheOutputFileAlone) {
    const std::string file = (m_dir.path() / "kept.cfg").string();
    k52test::WriteFile(file, "an earlier backup");
    SilentTerminal silent;
    const Result timedOut = RunK52ctl({"upload", "--port", silent.Path(), "--output", file});
    EXPECT_EQ(timedOut.status, 1);
    const std::wstring inner = CResourceManager::FormatMessage(
        L"jx5com.comfail", std::wstring(L"Item"), 0, 6, 1, CResourceManager::GetMessage(L"jx5com.timeout"));
    EXPECT_EQ(timedOut.err, Message(CResourceManager::FormatMessage(L"uploaderr", inner)));
    EXPECT_EQ(ReadFile(file), "an earlier backup");

    const std::string fresh = (m_dir.path() / "fresh.cfg").string();
    const Result missing = RunK52ctl({"upload", "--port", "/dev/k52-no-such-port", "--output", fresh});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, Message(CResourceManager::FormatMessage(L"serio.openerr",
                                                                   std::wstring(L"/dev/k52-no-such-port"))));
    EXPECT_FALSE(Exists(fresh));
}

TEST_F(ControlProgramTest, UploadOfChosenSlotsKeepsTheOtherSlotsOfTheBase) {
    CCardSlot base;
    base.Clear();
    base.SetCard(5, CIOCardType().CreateByName(L"QB9W"));
    base.SetCard(1, CIOCardType().CreateByName(L"QB9W"));
    const std::string baseFile = (m_dir.path() / "base.cfg").string();
    base.SaveToFile(FromUtf8(baseFile));

    const std::string file = (m_dir.path() / "merged.cfg").string();
    const Result upload = RunK52ctl({"upload", "--port", "sim:0=K52HQ8,1=JK7W,5=KZ9W", "--slots", "0-4",
                                     "--base", baseFile, "--output", file});
    ASSERT_EQ(upload.status, 0) << upload.err;
    CCardSlot merged;
    merged.LoadFromFile(FromUtf8(file));
    EXPECT_EQ(merged.GetCard(0)->GetCardName().GetModelName(), L"K52HQ8");
    EXPECT_EQ(merged.GetCard(1)->GetCardName().GetModelName(), L"JK7W");
    EXPECT_EQ(merged.GetCard(5)->GetCardName().GetModelName(), L"QB9W");
}

TEST_F(ControlProgramTest, CtrlCEndsSilentlyWithStatus130AndWritesNoFile) {
    // A paced station: the upload takes many seconds.
    Simulator simulator({"--pace", "--modules", "0=K52HQ8,1=JK7W,2=JK7W,3=JK7W,4=JK7W"});
    const std::string file = (m_dir.path() / "never.cfg").string();
    const auto started = std::chrono::steady_clock::now();
    const Result upload =
        RunK52ctl({"upload", "--port", simulator.Path(), "--output", file}, std::chrono::milliseconds(800));
    EXPECT_EQ(upload.status, 130);
    EXPECT_EQ(upload.err, "");
    EXPECT_FALSE(Exists(file));
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(3));

    const std::string saved = (m_dir.path() / "saved.cfg").string();
    ASSERT_EQ(
        RunK52ctl({"upload", "--port", "sim:0=K52HQ8,1=JK7W,2=JK7W,3=JK7W,4=JK7W", "--output", saved}).status,
        0);
    const Result download =
        RunK52ctl({"download", "--port", simulator.Path(), saved}, std::chrono::milliseconds(800));
    EXPECT_EQ(download.status, 130);
    // Nothing but the module that the cancel cut off half-way, if it did.
    EXPECT_TRUE(download.err.empty() ||
                IsHalfWrittenNotice(download.err, {"COM", "IO01", "IO02", "IO03", "IO04"}))
        << download.err;
}

TEST_F(ControlProgramTest, UsageErrorsExitWith2AndTheUsage) {
    for (const std::vector<std::string>& arguments : std::vector<std::vector<std::string>>{
             {},
             {"restore"},
             {"upload", "--port", "sim:", "--slots", "1-17", "--output", "x.cfg"},
             {"upload", "--port", "No Such Port", "--output", "x.cfg"},
             {"download", "--port", "sim:"},
         }) {
        const Result result = RunK52ctl(arguments);
        EXPECT_EQ(result.status, 2) << (arguments.empty() ? "" : arguments[0]);
        EXPECT_NE(result.err.find("usage: k52ctl"), std::string::npos);
        EXPECT_EQ(result.out, "");
    }
    const Result language = RunK52ctl({"show", "x.cfg", "--language", "Klingon.lng"});
    EXPECT_EQ(language.status, 2);
    EXPECT_NE(language.err.find("Klingon.lng"), std::string::npos);

    const Result help = RunK52ctl({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("usage: k52ctl", 0), 0U);
}

TEST_F(ControlProgramTest, PortsListsPathsAndNamesWithTheDemoStationLast) {
    const Result ports = RunK52ctl({"ports"});
    EXPECT_EQ(ports.status, 0);
    // Names depend on this computer's adapters; the form does not.
    EXPECT_EQ(Line(ports.out, 0).rfind("/dev/ttyS0\t", 0), 0U) << ports.out;
    ASSERT_GE(ports.out.size(), 2U);
    const std::size_t lastLine = ports.out.rfind('\n', ports.out.size() - 2);
    EXPECT_EQ(ports.out.substr(lastLine + 1), "sim:\tDemo station (simulated)\n");

    // A display name from the list chooses its port.
    const std::string file = (m_dir.path() / "named.cfg").string();
    EXPECT_EQ(RunK52ctl({"upload", "--port", "Demo station (simulated)", "--output", file}).status, 0);
    EXPECT_TRUE(Exists(file));
}

TEST_F(ControlProgramTest, DemoShowsARealSession) {
    const Result demo = RunK52ctl({"demo"});
    EXPECT_EQ(demo.status, 0) << demo.err;
    EXPECT_EQ(demo.err, "");
    EXPECT_NE(demo.out.find("IO01  JK7W"), std::string::npos) << demo.out;
    const std::size_t at = demo.out.find("The file stays at ");
    ASSERT_NE(at, std::string::npos);
    const std::string file = demo.out.substr(at + 18, demo.out.find(" for you", at) - at - 18);
    CCardSlot rack;
    rack.LoadFromFile(FromUtf8(file));
    EXPECT_EQ(rack.GetCard(1)->GetCardName().GetModelName(), L"JK7W");
    std::filesystem::remove_all(std::filesystem::path(file).parent_path());
}

} // namespace
