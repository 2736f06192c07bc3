// k52ctl end to end: the program is run as a script would run it, against
// the built-in simulated station and against k52sim on a pseudo-terminal.
#include "base/CResourceDatabase.h"
#include "base/CResourceManager.h"
#include "base/TextConvert.h"
#include "catalog/CCOMCardType.h"
#include "catalog/CIOCardType.h"
#include "cli/ProgramRunner.h"
#include "rack/CCardSlot.h"
#include "support/MessageUses.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <regex>
#include <poll.h>
#include <pty.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace {

using k52test::Argv;
using k52test::Launch;
using k52test::Program;
using k52test::ReadFile;
using k52test::Result;
using k52test::RunK52ctl;
using k52test::RunProgram;
using k52test::Simulator;
using k52test::TempDir;

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
        const std::wstring partial = CResourceManager::FormatMessage(Msg::partialerr, FromUtf8(module));
        if (err == Message(CResourceManager::FormatMessage(Msg::downloadcancel, partial))) {
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
    RoundTrip(simulator.Port());
}

TEST_F(ControlProgramTest, DownloadToAStationOfOtherModulesFailsWithTheWindowsMessage) {
    const std::string file = (m_dir.path() / "rack.cfg").string();
    ASSERT_EQ(RunK52ctl({"upload", "--port", "sim:0=K52HQ8,1=JK7W,3=KZ9W", "--output", file}).status, 0);

    const std::string other = "sim:0=K52HQ8,1=JK7W,4=KZ9W";
    const Result refused = RunK52ctl({"download", "--port", other, file});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.out, "");
    EXPECT_EQ(refused.err, Message(CResourceManager::FormatMessage(
                               Msg::downloaderr, CResourceManager::FormatMessage(Msg::difcarderr, 3))));

    // Slots 3 and 4 not chosen: nothing left to differ.
    EXPECT_EQ(RunK52ctl({"download", "--port", other, "--slots", "0-2,5-16", file}).status, 0);

    const Result otherCom =
        RunK52ctl({"download", "--port", "sim:0=K52HJWQ8,1=JK7W,3=KZ9W", "--slots", "1", file});
    EXPECT_EQ(otherCom.status, 1);
    EXPECT_EQ(otherCom.err, Message(CResourceManager::FormatMessage(
                                Msg::downloaderr, CResourceManager::GetMessage(Msg::difcomcarderr))));
}

TEST_F(ControlProgramTest, FailedUploadReportsAndLeavesTheOutputFileAlone) {
    const std::string file = (m_dir.path() / "kept.cfg").string();
    k52test::WriteFile(file, "an earlier backup");
    SilentTerminal silent;
    const Result timedOut = RunK52ctl({"upload", "--port", k52test::PortOf(silent.Path()), "--output", file});
    EXPECT_EQ(timedOut.status, 1);
    const std::wstring inner =
        CResourceManager::FormatMessage(Msg::jx5com_comfail, std::wstring(L"Item"), 0, 6, 1,
                                        CResourceManager::GetMessage(Msg::jx5com_timeout));
    EXPECT_EQ(timedOut.err, Message(CResourceManager::FormatMessage(Msg::uploaderr, inner)));
    EXPECT_EQ(ReadFile(file), "an earlier backup");

    const std::string fresh = (m_dir.path() / "fresh.cfg").string();
    const Result missing = RunK52ctl({"upload", "--port", k52test::MissingPort(), "--output", fresh});
    EXPECT_EQ(missing.status, 1);
    const std::wstring missingPort = FromUtf8(k52test::MissingPort());
    EXPECT_EQ(missing.err, Message(CResourceManager::FormatMessage(Msg::serio_openerr, missingPort) + L"\n" +
                                   CResourceManager::GetMessage(Msg::serio_notpresent)));
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
        RunK52ctl({"upload", "--port", simulator.Port(), "--output", file}, std::chrono::milliseconds(800));
    EXPECT_EQ(upload.status, 130);
    EXPECT_EQ(upload.err, "");
    EXPECT_FALSE(Exists(file));
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(3) + k52test::StartTime());

    const std::string saved = (m_dir.path() / "saved.cfg").string();
    ASSERT_EQ(
        RunK52ctl({"upload", "--port", "sim:0=K52HQ8,1=JK7W,2=JK7W,3=JK7W,4=JK7W", "--output", saved}).status,
        0);
    const Result download =
        RunK52ctl({"download", "--port", simulator.Port(), saved}, std::chrono::milliseconds(800));
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

TEST_F(ControlProgramTest, AHandEditedValueIsShownMarkedAndNeverReachesTheStation) {
    // A station that outlives each k52ctl run, so that what reached it shows.
    Simulator simulator({"--modules", "0=K52HQ8,1=JK7W,3=KZ9W"});
    const std::string file = (m_dir.path() / "plant.cfg").string();
    ASSERT_EQ(RunK52ctl({"upload", "--port", simulator.Port(), "--output", file}).status, 0);
    const std::string original = ReadFile(file);
    // Channel 1's input range (item 0142) of slot 1 set to an option it does not have.
    std::string edited = original;
    const std::string range = "<parameter item=\"0142\">2</parameter>";
    const std::size_t at = edited.find(range, edited.find("<slot no=\"1\">"));
    ASSERT_NE(at, std::string::npos);
    edited.replace(at, range.size(), "<parameter item=\"0142\">99</parameter>");
    const std::string editedFile = (m_dir.path() / "edited.cfg").string();
    k52test::WriteFile(editedFile, edited);

    const Result show = RunK52ctl({"show", editedFile, "--slot", "1"});
    EXPECT_EQ(show.status, 0) << show.err;
    EXPECT_NE(show.out.find("\tCh1 Input range\t?99\n"), std::string::npos) << show.out;

    const Result download = RunK52ctl({"download", "--port", simulator.Port(), editedFile});
    EXPECT_EQ(download.status, 1);
    CCardSlot rack;
    rack.LoadFromFile(FromUtf8(editedFile));
    const CCardInterface& card = *rack.GetCard(1);
    int row = 0;
    while (std::wstring(card.GetParameter(row).textKey) != L"rangepc01") {
        ++row;
    }
    const ParameterDefinition& definition = card.GetParameter(row);
    const std::wstring reason = CResourceManager::FormatNumberedMessage(
        Msg::rangeerr, card.GetCaption(row), card.GetValueText(row, definition.minimum),
        card.GetValueText(row, definition.maximum));
    EXPECT_EQ(download.err, Message(CResourceManager::FormatMessage(
                                Msg::downloaderr, CResourceManager::FormatNumberedMessage(
                                                      Msg::downvalueerr, std::wstring(L"IO01"),
                                                      card.GetCaption(row), std::wstring(L"99"), reason))));
    // The station holds what it held: a fresh upload gives the same file.
    const std::string again = (m_dir.path() / "again.cfg").string();
    ASSERT_EQ(RunK52ctl({"upload", "--port", simulator.Port(), "--output", again}).status, 0);
    EXPECT_EQ(ReadFile(again), original);
}

TEST_F(ControlProgramTest, ShowMasksPasswordsAndTheFileKeepsThem) {
    CCardSlot rack;
    rack.SetCard(0, CCOMCardType().CreateByName(L"K52HZKJ8"));
    CCardInterface& card = *rack.GetCard(0);
    for (int row = 0; row < card.GetParameterCount(); ++row) {
        const std::wstring key = card.GetParameter(row).textKey;
        if (key == L"password01") {
            card.SetFromText(row, L"Secret42");
        } else if (key == L"loginid01") {
            card.SetFromText(row, L"operator7");
        }
    }
    const std::string file = (m_dir.path() / "plant.cfg").string();
    rack.SaveToFile(FromUtf8(file));

    const Result show = RunK52ctl({"show", file, "--slot", "0"});
    EXPECT_EQ(show.status, 0) << show.err;
    EXPECT_EQ(show.out.find("Secret42"), std::string::npos) << show.out;
    EXPECT_NE(show.out.find("\t********\n"), std::string::npos) << show.out;
    EXPECT_NE(show.out.find("\toperator7\n"), std::string::npos) << show.out;
    EXPECT_NE(ReadFile(file).find(">Secret42<"), std::string::npos);
}

TEST_F(ControlProgramTest, OnlyRegularFilesAreReadAndWritten) {
    const std::filesystem::path& d = m_dir.path();
    const std::string port = "sim:0=K52HQ8,1=JK7W";
    ::mkfifo((d / "fifo").c_str(), 0644);
    std::filesystem::create_directory(d / "folder");
    k52test::WriteFile(d / "readonly.cfg", "keep");
    ::chmod((d / "readonly.cfg").c_str(), 0444);
    const std::string fifo = (d / "fifo").string();
    const std::string folder = (d / "folder").string();
    const std::string readonly = (d / "readonly.cfg").string();

    struct Case {
        std::vector<std::string> arguments;
        std::string message;
    };
    const std::vector<Case> cases = {
        {{"upload", "--port", port, "--output", fifo},
         "Cannot write the file \"" + fifo + "\": it is a named pipe (FIFO), not a regular file."},
        {{"upload", "--port", port, "--output", folder},
         "Cannot write the file \"" + folder + "\": it is a folder, not a regular file."},
        {{"upload", "--port", port, "--output", readonly},
         "Cannot write the file \"" + readonly + "\": it is read-only."},
        {{"show", fifo},
         "Cannot open the file \"" + fifo + "\": it is a named pipe (FIFO), not a regular file."},
        {{"show", "/dev/zero"}, "Cannot open the file \"/dev/zero\": it is a device, not a regular file."},
        {{"show", folder}, "Cannot open the file \"" + folder + "\": it is a folder, not a regular file."},
        {{"download", "--port", port, fifo},
         "Cannot open the file \"" + fifo + "\": it is a named pipe (FIFO), not a regular file."},
        {{"upload", "--port", port, "--output", (d / "x.cfg").string(), "--base", fifo},
         "Cannot open the file \"" + fifo + "\": it is a named pipe (FIFO), not a regular file."},
        {{"show", (d / "x.cfg").string(), "--language", fifo},
         "Can't read resource file \"" + fifo + "\".\nCannot open the file \"" + fifo +
             "\": it is a named pipe (FIFO), not a regular file."},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.arguments[0] + " " + test.arguments.back());
        const auto started = std::chrono::steady_clock::now();
        const Result result = RunK52ctl(test.arguments);
        EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(20))
            << "not refused at once";
        EXPECT_NE(result.status, 0);
        EXPECT_EQ(result.err, test.message + "\n");
    }
    EXPECT_TRUE(std::filesystem::is_fifo(d / "fifo"));
    EXPECT_EQ(ReadFile(d / "readonly.cfg"), "keep");
    EXPECT_FALSE(Exists((d / "x.cfg").string()));

    // Through a link the file it names is written and the link kept.
    k52test::WriteFile(d / "real.cfg", "old");
    std::filesystem::create_symlink("real.cfg", d / "link.cfg");
    EXPECT_EQ(RunK52ctl({"upload", "--port", port, "--output", (d / "link.cfg").string()}).status, 0);
    EXPECT_TRUE(std::filesystem::is_symlink(d / "link.cfg"));
    EXPECT_NE(ReadFile(d / "real.cfg").find("<type>JK7W</type>"), std::string::npos);

    // Under a file-size limit the write fails with its reason: no signal
    // death, and nothing left behind.
    Launch limited;
    limited.program = "/bin/sh";
    limited.arguments = {
        "-c",       R"(ulimit -f 1; exec "$0" "$@")",       Program("k52ctl"), "upload", "--port", port,
        "--output", (d / "folder" / "limited.cfg").string()};
    const Result result = RunProgram(limited);
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("File too large"), std::string::npos) << result.err;
    EXPECT_TRUE(std::filesystem::is_empty(d / "folder"));
}

// A name is bytes: one that is not UTF-8 is written and read as given, never
// as a neighbour with the odd byte dropped, and shown with the byte spelled out.
TEST_F(ControlProgramTest, FileNamesReachTheSystemByteForByte) {
    const std::filesystem::path& d = m_dir.path();
    const std::string odd = "plant\xfe";
    const std::string cfg = (d / (odd + ".cfg")).string();
    const std::string port = "sim:0=K52HQ8,1=JK7W";
    const std::vector<std::pair<std::vector<std::string>, std::string>> writers = {
        {{"upload", "--port", port, "--output", cfg}, ".cfg"},
        {{"report", cfg, "--before", cfg, "--output", (d / (odd + ".html")).string()}, ".html"},
        {{"monitor", "--port", port, "--cycles", "1", "--csv", (d / (odd + ".csv")).string()}, ".csv"},
    };
    for (const auto& [arguments, extension] : writers) {
        SCOPED_TRACE(arguments[0]);
        const Result result = RunK52ctl(arguments);
        EXPECT_EQ(result.status, 0) << result.err;
        EXPECT_TRUE(std::filesystem::is_regular_file(d / (odd + extension)));
        EXPECT_FALSE(Exists((d / ("plant" + extension)).string()));
    }
    EXPECT_TRUE(std::filesystem::is_regular_file(d / (odd + ".csv.info")));
    for (const std::vector<std::string>& reader :
         {std::vector<std::string>{"show", cfg}, {"diff", cfg, cfg}, {"download", "--port", port, cfg}}) {
        EXPECT_EQ(RunK52ctl(reader).status, 0) << reader[0];
    }
    const Result missing = RunK52ctl({"show", (d / "gone\xfe\xe3\x81\x82.cfg").string()});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("gone\\xFE\xe3\x81\x82.cfg\""), std::string::npos) << missing.err;
}

// An output that is one of the command's inputs, by any name, is refused as a
// usage error before the station is read or anything is written.
TEST_F(ControlProgramTest, AnOutputThatIsAnInputIsRefusedFirst) {
    const std::filesystem::path& d = m_dir.path();
    const std::string keep = (d / "keep.cfg").string();
    const std::string before = (d / "before.cfg").string();
    ASSERT_EQ(RunK52ctl({"upload", "--port", "sim:0=K52HQ8,1=JK7W", "--output", keep}).status, 0);
    std::filesystem::copy_file(keep, before);
    std::filesystem::copy_file(Program("English.lng"), d / "lang.lng");
    std::filesystem::create_symlink("keep.cfg", d / "link.cfg");
    std::filesystem::create_hard_link(keep, d / "hard.cfg");
    k52test::WriteFile(d / "live.csv", "yesterday");
    std::filesystem::create_hard_link(d / "live.csv", d / "live.csv.info");
    const std::map<std::string, std::string> contents = {
        {keep, ReadFile(keep)}, {before, ReadFile(before)}, {(d / "lang.lng").string(), ReadFile(d / "lang.lng")},
        {(d / "live.csv").string(), "yesterday"}};

    // The port would answer nothing for a long while: a refusal is at once.
    const SilentTerminal station;
    const std::string& port = station.Path();
    const std::vector<std::vector<std::string>> cases = {
        {"report", keep, "--output", keep},
        {"report", keep, "--before", before, "--output", before},
        {"report", keep, "--output", (d / "link.cfg").string()},
        {"report", keep, "--output", (d / "." / "hard.cfg").string()},
        {"report", keep, "--language", (d / "lang.lng").string(), "--output", (d / "lang.lng").string()},
        {"upload", "--port", port, "--base", keep, "--output", (d / "hard.cfg").string()},
        {"monitor", "--port", port, "--cycles", "1", "--csv", (d / "live.csv").string()},
    };
    for (const std::vector<std::string>& arguments : cases) {
        SCOPED_TRACE(arguments[0] + " ... " + arguments.back());
        const auto started = std::chrono::steady_clock::now();
        const Result result = RunK52ctl(arguments);
        EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
        EXPECT_EQ(result.status, 2);
        EXPECT_NE(result.err.find(" is the same file as "), std::string::npos) << result.err;
        EXPECT_EQ(result.out, "");
    }
    for (const auto& [file, content] : contents) {
        EXPECT_EQ(ReadFile(file), content) << file;
    }
    EXPECT_TRUE(std::filesystem::is_symlink(d / "link.cfg"));
}

// The recording's side file is checked by the rules of the recording itself
// before either is touched: yesterday's recording survives whatever lies there.
TEST_F(ControlProgramTest, TheRecordingsSideFileIsCheckedBeforeEitherIsTouched) {
    const std::filesystem::path& d = m_dir.path();
    const std::filesystem::path csv = d / "live.csv";
    const std::filesystem::path info = d / "live.csv.info";
    const std::vector<std::pair<std::string, std::function<void()>>> sideFiles = {
        {"a folder", [&] { std::filesystem::create_directory(info); }},
        {"read-only",
         [&] {
             k52test::WriteFile(info, "old");
             ::chmod(info.c_str(), 0444);
         }},
        {"a FIFO", [&] { ::mkfifo(info.c_str(), 0644); }},
    };
    for (const bool existed : {true, false}) {
        for (const auto& [what, make] : sideFiles) {
            SCOPED_TRACE(what + (existed ? " beside a recording" : " alone"));
            std::filesystem::remove_all(info);
            std::filesystem::remove(csv);
            if (existed) {
                k52test::WriteFile(csv, "yesterday");
            }
            make();
            const auto type = std::filesystem::symlink_status(info).type();
            const auto started = std::chrono::steady_clock::now();
            const Result result = RunK52ctl({"monitor", "--port", "sim:", "--cycles", "1", "--csv", csv.string()});
            EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(20)) << "not at once";
            EXPECT_EQ(result.status, 1);
            EXPECT_NE(result.err.find("\"" + info.string() + "\""), std::string::npos) << result.err;
            EXPECT_EQ(std::filesystem::symlink_status(info).type(), type);
            if (existed) {
                EXPECT_EQ(ReadFile(csv), "yesterday");
            } else {
                EXPECT_FALSE(Exists(csv.string()));
            }
        }
    }
}

// On a terminal a transfer says where it is, on one line drawn again in place,
// and leaves it complete; elsewhere it says nothing (see RoundTrip).
TEST_F(ControlProgramTest, ATransferShowsItsModulesAndItemsOnATerminal) {
    const std::string file = (m_dir.path() / "plant.cfg").string();
    const std::string port = "sim:0=K52HQ8,1=JK7W,3=KZ9W";
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"upload", "--port", port, "--output", file}, {"download", "--port", port, file}}) {
        SCOPED_TRACE(arguments[0]);
        int terminal = -1;
        int program = -1;
        ASSERT_EQ(::openpty(&terminal, &program, nullptr, nullptr, nullptr), 0);
        Launch launch;
        launch.arguments = arguments;
        launch.stderrFd = program;
        const Result result = RunProgram(launch);
        ::close(program);
        std::string shown;
        char buffer[4096];
        pollfd ready{terminal, POLLIN, 0};
        while (::poll(&ready, 1, 0) == 1) {
            const ssize_t got = ::read(terminal, buffer, sizeof buffer);
            if (got <= 0) {
                break;
            }
            shown.append(buffer, static_cast<std::size_t>(got));
        }
        ::close(terminal);
        EXPECT_EQ(result.status, 0) << shown;
        const std::string text = arguments[0] == "upload" ? "Reading the station..." : "Writing to the station...";
        EXPECT_EQ(shown.rfind("\r" + text, 0), 0u) << shown;
        const std::regex last(R"(\r[^\r]+ module 3 of 3, item (\d+) of \1 \(100%\)\r?\n$)");
        EXPECT_TRUE(std::regex_search(shown, last)) << shown;
    }
}

TEST_F(ControlProgramTest, OutputThatCannotBeWrittenEndsInAFailure) {
    const std::string file = (m_dir.path() / "plant.cfg").string();
    ASSERT_EQ(RunK52ctl({"upload", "--port", "sim:0=K52HQ8,1=JK7W", "--output", file}).status, 0);
    struct Case {
        int fd;
        int error;
    };
    int pipe[2];
    ASSERT_EQ(::pipe2(pipe, O_CLOEXEC), 0);
    ::close(pipe[0]); // nobody will read
    const int full = ::open("/dev/full", O_WRONLY | O_CLOEXEC);
    for (const Case& test : {Case{full, ENOSPC}, Case{pipe[1], EPIPE}}) {
        SCOPED_TRACE(test.error);
        if (test.fd < 0) {
            continue;
        }
        Launch launch;
        launch.arguments = {"show", file};
        launch.stdoutFd = test.fd;
        const Result result = RunProgram(launch);
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(result.err, Message(CResourceManager::FormatMessage(
                                  Msg::outputerr, CMessageFormatter::SystemErrorText(test.error))));
    }
    ::close(pipe[1]);
    if (full >= 0) {
        ::close(full);
    }
}

TEST_F(ControlProgramTest, CtrlCEndsItWhateverItWaitsFor) {
    // Output into a pipe that is full and never read: the program waits in
    // its write until Ctrl-C.
    const std::string file = (m_dir.path() / "big.cfg").string();
    ASSERT_EQ(RunK52ctl({"upload", "--port", "sim:0=K52HQ8,1=JK7W,2=JK7W,3=JK7W,4=JK7W,5=KZ9W,6=KZ9W",
                         "--output", file})
                  .status,
              0);
    int pipe[2];
    ASSERT_EQ(::pipe2(pipe, O_CLOEXEC), 0);
    ::fcntl(pipe[1], F_SETPIPE_SZ, 4096);
    Launch blocked;
    blocked.arguments = {"show", file};
    blocked.stdoutFd = pipe[1];
    blocked.interruptAfter = std::chrono::milliseconds(500);
    const auto started = std::chrono::steady_clock::now();
    const Result result = RunProgram(blocked);
    EXPECT_EQ(result.status, 130);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(10));
    ::close(pipe[0]);
    ::close(pipe[1]);

    // A demo stopped at any moment takes its folder with it.
    bool interrupted = false;
    for (const int delay : {2, 10, 20, 35, 50, 80}) {
        SCOPED_TRACE(delay);
        TempDir temporary;
        Launch demo;
        demo.arguments = {"demo"};
        demo.environment = {"TMPDIR=" + temporary.path().string()};
        demo.interruptAfter = std::chrono::milliseconds(delay);
        const Result stopped = RunProgram(demo);
        if (stopped.status == 130) {
            interrupted = true;
            EXPECT_TRUE(std::filesystem::is_empty(temporary.path())) << stopped.out;
        } else {
            EXPECT_EQ(stopped.status, 0) << stopped.err;
        }
    }
    EXPECT_TRUE(interrupted) << "no demo was stopped part-way";

    // An upload stopped at any moment, its save included, leaves the old
    // file or the new one, whole, and nothing beside it.
    for (const int delay : {5, 15, 25, 35, 45, 60}) {
        SCOPED_TRACE(delay);
        TempDir folder;
        const std::string output = (folder.path() / "plant.cfg").string();
        k52test::WriteFile(output, "old");
        const Result stopped = RunK52ctl({"upload", "--port", "sim:0=K52HQ8,1=JK7W", "--output", output},
                                         std::chrono::milliseconds(delay));
        if (ReadFile(output) != "old") {
            CCardSlot rack;
            EXPECT_NO_THROW(rack.LoadFromFile(FromUtf8(output))) << "status " << stopped.status;
        }
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()),
                                std::filesystem::directory_iterator()),
                  1);
    }
}

TEST_F(ControlProgramTest, TextsMissingFromTheLanguageFileNeverHideWhatHappened) {
    // A language file without the port's message, the slot caption and the
    // texts of one model.
    std::string partial = ReadFile(Program("English.lng"));
    for (const std::string key : {"serio.openerr", "iocap"}) {
        const std::size_t at = partial.find("<text name=\"" + key + "\">");
        ASSERT_NE(at, std::string::npos);
        partial.erase(at, partial.find("</text>", at) + 7 - at);
    }
    const std::size_t section = partial.find("<parameter name=\"JK7W\">");
    ASSERT_NE(section, std::string::npos);
    partial.erase(section, partial.find("</parameter>", section) + 12 - section);
    const std::string language = (m_dir.path() / "Partial.lng").string();
    k52test::WriteFile(language, partial);

    const Result missing =
        RunK52ctl({"--language", language, "upload", "--port", "/dev/k52-no-such-port", "--output", "x.cfg"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, Message(CResourceManager::FormatMessage(Msg::serio_openerr,
                                                                   std::wstring(L"/dev/k52-no-such-port")) +
                                   L"\n" + CResourceManager::GetMessage(Msg::serio_notpresent)));

    const std::string file = (m_dir.path() / "plant.cfg").string();
    ASSERT_EQ(RunK52ctl({"upload", "--port", "sim:0=K52HQ8,1=JK7W", "--output", file}).status, 0);
    const Result show = RunK52ctl({"show", file, "--language", language});
    EXPECT_EQ(show.status, 0) << show.err;
    EXPECT_NE(show.out.find("\nIO01\tJK7W\n\t\n"), std::string::npos) << "captions left empty";
}

TEST_F(ControlProgramTest, EveryCommandReadsItsArgumentsAlike) {
    const Result before =
        RunK52ctl({"--language", "English.lng", "monitor", "--port", "sim:", "--cycles", "1"});
    EXPECT_EQ(before.status, 0) << before.err;
    EXPECT_EQ(Line(before.out, 0), "cycle 1");

    struct Case {
        std::vector<std::string> arguments;
        std::string problem;
    };
    const std::vector<Case> refused = {
        {{"--bogus"}, "unknown option '--bogus'"},
        {{"show", "x.cfg", "--bogus", "1"}, "unknown option '--bogus'"},
        {{"upload", "--port", "sim:", "--output", "--base", "b.cfg"},
         "option --output needs a value, not the option '--base'"},
        {{"monitor", "--port", "sim:", "--cycles", "1", "--cycles", "2"}, "option --cycles is given twice"},
    };
    for (const Case& test : refused) {
        SCOPED_TRACE(test.problem);
        const Result result = RunK52ctl(test.arguments);
        EXPECT_EQ(result.status, 2);
        EXPECT_EQ(result.err.rfind("k52ctl: " + test.problem + "\nusage: k52ctl", 0), 0U) << result.err;
        EXPECT_EQ(result.out, "");
    }
    EXPECT_FALSE(Exists("--base"));
}

} // namespace

namespace {

// k52ctl running in the background with its output read line by line as it
// comes, each line with the moment it came.
class RunningK52ctl {
public:
    struct TimedLine {
        std::chrono::steady_clock::time_point at;
        std::string text;
    };

    explicit RunningK52ctl(const std::vector<std::string>& arguments) : m_err((m_dir.path() / "err").string()) {
        int output[2];
        if (::pipe2(output, O_CLOEXEC) != 0) {
            throw std::runtime_error("pipe");
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_adddup2(&actions, output[1], 1);
        posix_spawn_file_actions_addopen(&actions, 2, m_err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        std::vector<std::string> command = k52test::Command(k52test::K52ctl(), arguments);
        const std::string program = command.front();
        command.erase(command.begin());
        std::vector<char*> argv = Argv(program, command);
        const int started = posix_spawnp(&m_pid, program.c_str(), &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        ::close(output[1]);
        if (started != 0) {
            ::close(output[0]);
            throw std::runtime_error("cannot start k52ctl");
        }
        m_reader = std::thread([this, fd = output[0]] {
            std::string line;
            char c = 0;
            while (::read(fd, &c, 1) == 1) {
                if (c != '\n') {
                    line += c;
                    continue;
                }
                std::lock_guard lock(m_mutex);
                m_lines.push_back({std::chrono::steady_clock::now(), line});
                line.clear();
            }
            ::close(fd);
        });
    }
    ~RunningK52ctl() {
        if (m_pid != 0) {
            ::kill(m_pid, SIGKILL);
            Wait();
        }
    }
    RunningK52ctl(const RunningK52ctl&) = delete;
    RunningK52ctl& operator=(const RunningK52ctl&) = delete;

    std::vector<TimedLine> Lines() {
        std::lock_guard lock(m_mutex);
        return m_lines;
    }

    // Waits until a line satisfies the test, at most `limit`.
    bool WaitForLine(const std::function<bool(const TimedLine&)>& test, std::chrono::milliseconds limit) {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        while (std::chrono::steady_clock::now() < deadline) {
            for (const TimedLine& line : Lines()) {
                if (test(line)) {
                    return true;
                }
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return false;
    }

    // Ctrl-C; the exit status.
    int Interrupt() {
        ::kill(m_pid, SIGINT);
        return Wait();
    }

    std::string Err() const { return ReadFile(m_err); }

private:
    int Wait() {
        int status = 0;
        ::waitpid(m_pid, &status, 0);
        m_pid = 0;
        if (m_reader.joinable()) {
            m_reader.join();
        }
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }

    TempDir m_dir;
    std::string m_err;
    pid_t m_pid = 0;
    std::mutex m_mutex;
    std::vector<TimedLine> m_lines;
    std::thread m_reader;
};

// The printed cycles of a monitor run on a station of COM K52HQ8, IO01 JK7W
// and IO03 KZ9W: when each ended and whether it was a true reading.
struct PrintedCycle {
    std::chrono::steady_clock::time_point at;
    enum { True, NotRead, False } kind = False;
    std::string text;
};

std::vector<PrintedCycle> Cycles(const std::vector<RunningK52ctl::TimedLine>& lines) {
    std::vector<PrintedCycle> cycles;
    for (std::size_t at = 0; at < lines.size();) {
        PrintedCycle cycle;
        cycle.at = lines[at].at;
        cycle.text = lines[at].text;
        if (lines[at].text.find(": no reading from the station") != std::string::npos) {
            cycle.kind = PrintedCycle::NotRead;
            cycles.push_back(cycle);
            ++at;
            continue;
        }
        std::vector<std::string> slots;
        for (++at; at < lines.size() && lines[at].text.rfind("cycle ", 0) != 0; ++at) {
            slots.push_back(lines[at].text);
            cycle.text += "\n" + lines[at].text;
        }
        // A module that missed one cycle is told as not read; anything else
        // than the station's modules with values is a false reading.
        const auto is = [](const std::string& line, const std::string& start) {
            return line.rfind(start, 0) == 0 && (line.find("  Ch 1: ") != std::string::npos ||
                                                 line.find("(no reading)") != std::string::npos);
        };
        if (slots.size() == 3 && slots[0].rfind("COM  K52HQ8", 0) == 0 && is(slots[1], "IO01  JK7W  ") &&
            is(slots[2], "IO03  KZ9W  ")) {
            cycle.kind = cycle.text.find("(no reading)") == std::string::npos ? PrintedCycle::True
                                                                              : PrintedCycle::NotRead;
        }
        cycles.push_back(cycle);
    }
    return cycles;
}

bool IsTrueCycleAfter(const std::vector<RunningK52ctl::TimedLine>& lines,
                      std::chrono::steady_clock::time_point when) {
    for (const PrintedCycle& cycle : Cycles(lines)) {
        if (cycle.kind == PrintedCycle::True && cycle.at > when) {
            return true;
        }
    }
    return false;
}

// What both tests below expect of a monitor that lost its station at
// `lost` and got it back at `back`.
void ExpectRecovery(RunningK52ctl& monitor, std::chrono::steady_clock::time_point lost,
                    std::chrono::steady_clock::time_point back) {
    using std::chrono::milliseconds;
    EXPECT_TRUE(monitor.WaitForLine([&](const auto&) { return IsTrueCycleAfter(monitor.Lines(), back); },
                                    milliseconds(8000)));
    // The monitor is still running: Ctrl-C ends it with 130.
    EXPECT_EQ(monitor.Interrupt(), 130);
    const std::vector<PrintedCycle> cycles = Cycles(monitor.Lines());
    std::optional<double> recovered;
    bool failedMeanwhile = false;
    for (const PrintedCycle& cycle : cycles) {
        EXPECT_NE(cycle.kind, PrintedCycle::False) << "a false reading:\n" << cycle.text;
        failedMeanwhile = failedMeanwhile || (cycle.at > lost && cycle.kind != PrintedCycle::True);
        if (!recovered && cycle.kind == PrintedCycle::True && cycle.at > back) {
            recovered = std::chrono::duration<double>(cycle.at - back).count();
        }
    }
    EXPECT_TRUE(failedMeanwhile) << "the station was away";
    ASSERT_TRUE(recovered.has_value());
    EXPECT_LT(*recovered, 5.0) << "true readings again within 5 s";
    // The error stream tells the change of state once each way, and the
    // line's counts at the end.
    const std::string err = monitor.Err();
    const std::string noReply = ToUtf8(k52test::RawMessage(Msg::monitor_noreply)).substr(0, 8);
    EXPECT_NE(err.find("k52ctl: " + noReply), std::string::npos) << err;
    EXPECT_NE(err.find("k52ctl: " + ToUtf8(CResourceManager::GetMessage(Msg::monitor_reading)) + "\n"),
              std::string::npos)
        << err;
    std::size_t told = 0;
    for (std::size_t at = err.find("k52ctl: "); at != std::string::npos; at = err.find("k52ctl: ", at + 1)) {
        ++told;
    }
    EXPECT_LE(told, 5u) << "not once per failed cycle:\n" << err;
    EXPECT_NE(err.find("time-outs"), std::string::npos) << err;
}

} // namespace

// A station that stalls for three seconds while k52ctl monitors it.
TEST_F(ControlProgramTest, MonitorComesBackAfterAStallWithoutFalseReadingsAndAnUploadFollows) {
    using std::chrono::milliseconds;
    const std::string link = (m_dir.path() / "station").string();
    Simulator simulator({"--modules", "0=K52HQ8,1=JK7W,3=KZ9W", "--pace", "--link", link});
    const std::string port = k52test::PortOf(link);
    const std::string csv = (m_dir.path() / "live.csv").string();
    RunningK52ctl monitor({"monitor", "--port", port, "--cycles", "0", "--csv", csv});
    ASSERT_TRUE(monitor.WaitForLine([&](const auto&) { return IsTrueCycleAfter(monitor.Lines(), {}); },
                                    milliseconds(10000)));

    const auto stalled = std::chrono::steady_clock::now();
    simulator.Signal(SIGSTOP);
    std::this_thread::sleep_for(milliseconds(3000));
    simulator.Signal(SIGCONT);
    const auto resumed = std::chrono::steady_clock::now();
    ExpectRecovery(monitor, stalled, resumed);
    // The recording holds its head and a row for every true reading, the last ones too.
    const std::vector<PrintedCycle> cycles = Cycles(monitor.Lines());
    const std::string rows = ReadFile(csv);
    const auto isTrue = [](const PrintedCycle& cycle) { return cycle.kind == PrintedCycle::True; };
    EXPECT_GT(std::count(rows.begin(), rows.end(), '\n'), std::count_if(cycles.begin(), cycles.end(), isTrue))
        << rows;

    const std::string file = (m_dir.path() / "after.cfg").string();
    const Result upload = RunK52ctl({"upload", "--port", port, "--output", file});
    EXPECT_EQ(upload.status, 0) << upload.err;
}

// The station's program ends (an adapter unplugged) and a new one serves the
// same path (plugged in again).
TEST_F(ControlProgramTest, MonitorComesBackWhenTheStationIsReplacedAtTheSamePath) {
    using std::chrono::milliseconds;
    const std::string link = (m_dir.path() / "station").string();
    const std::vector<std::string> arguments = {"--modules", "0=K52HQ8,1=JK7W,3=KZ9W", "--pace", "--link",
                                                link};
    auto simulator = std::make_unique<Simulator>(arguments);
    const std::string port = k52test::PortOf(link);
    RunningK52ctl monitor({"monitor", "--port", port, "--cycles", "0"});
    ASSERT_TRUE(monitor.WaitForLine([&](const auto&) { return IsTrueCycleAfter(monitor.Lines(), {}); },
                                    milliseconds(10000)));

    const auto unplugged = std::chrono::steady_clock::now();
    simulator.reset();
    std::this_thread::sleep_for(milliseconds(2000));
    simulator = std::make_unique<Simulator>(arguments);
    const auto replugged = std::chrono::steady_clock::now();
    ExpectRecovery(monitor, unplugged, replugged);
    EXPECT_NE(monitor.Err().find(ToUtf8(CResourceManager::GetMessage(Msg::serio_notpresent))),
              std::string::npos)
        << "while away the port was not there";

    const std::string file = (m_dir.path() / "after.cfg").string();
    const Result upload = RunK52ctl({"upload", "--port", port, "--output", file});
    EXPECT_EQ(upload.status, 0) << upload.err;
}

// A second program on a port that a monitor holds is told why it cannot have it.
TEST_F(ControlProgramTest, APortInUseIsRefusedWithItsReason) {
    Simulator simulator({"--modules", "0=K52HQ8,1=JK7W,3=KZ9W", "--pace"});
    RunningK52ctl monitor({"monitor", "--port", simulator.Port(), "--cycles", "0"});
    ASSERT_TRUE(monitor.WaitForLine([&](const auto&) { return IsTrueCycleAfter(monitor.Lines(), {}); },
                                    std::chrono::milliseconds(10000)));
    const std::string file = (m_dir.path() / "x.cfg").string();
    const Result second = RunK52ctl({"upload", "--port", simulator.Port(), "--output", file});
    EXPECT_EQ(second.status, 1);
    const std::wstring port = FromUtf8(simulator.Port());
    EXPECT_EQ(second.err, Message(CResourceManager::FormatMessage(Msg::serio_openerr, port) + L"\n" +
                                  CResourceManager::GetMessage(Msg::serio_inuse)));
    EXPECT_EQ(monitor.Interrupt(), 130);
}
