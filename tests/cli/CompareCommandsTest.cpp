// k52ctl diff, verify, download --verify and report, run as a script runs
// them: against files, the built-in station and k52sim on a pseudo-terminal.
#include "base/CException.h"
#include "base/CResourceManager.h"
#include "base/TextConvert.h"
#include "cli/CControlProgram.h"
#include "cli/ProgramRunner.h"
#include "rack/CCardSlot.h"
#include "station/CSimulatedStation.h"
#include "station/CSimulatedStationPort.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <sstream>
#include <sys/stat.h>

namespace {

using k52test::Result;
using k52test::RunK52ctl;
using k52test::Simulator;

// The first row of a card with the caption key, and its caption.
int RowOf(const CCardInterface& card, const std::wstring& key) {
    for (int row = 0; row < card.GetParameterCount(); ++row) {
        if (key == card.GetParameter(row).textKey) {
            return row;
        }
    }
    ADD_FAILURE() << ToUtf8(key);
    return 0;
}

std::string Caption(const CCardSlot& rack, int slot, const std::wstring& key) {
    const CCardInterface& card = *rack.GetCard(slot);
    return ToUtf8(card.GetCaption(RowOf(card, key)));
}

std::string Text(PlainMessageKey key) {
    return ToUtf8(CResourceManager::GetMessage(key));
}

class CompareCommandsTest : public ::testing::Test {
protected:
    void SetUp() override { k52test::LoadEnglish(); }

    std::string File(const std::string& name) const { return (m_dir.path() / name).string(); }

    // A copy of a file with one value typed over as the list would take it.
    std::string Edited(const std::string& file, int slot, const std::wstring& key, const std::wstring& text,
                       const std::string& name) {
        CCardSlot rack;
        rack.LoadForComparison(FromUtf8(file));
        CCardInterface& card = *rack.GetCard(slot);
        card.SetFromText(RowOf(card, key), text);
        rack.SaveToFile(FromUtf8(File(name)));
        return File(name);
    }

    k52test::TempDir m_dir;
};

TEST_F(CompareCommandsTest, DiffSaysEqualDifferentOrTroubleByItsStatus) {
    const std::string a = File("a.cfg");
    ASSERT_EQ(RunK52ctl({"upload", "--port", "sim:0=K52HQ8,1=JK7W,3=KZ9W", "--output", a}).status, 0);
    const std::string b = Edited(a, 1, L"gain01", L"1.25", "b.cfg");
    const std::string other = File("other.cfg");
    ASSERT_EQ(RunK52ctl({"upload", "--port", "sim:0=K52HQ8,1=JK7W,3=JK9W", "--output", other}).status, 0);
    CCardSlot rack;
    rack.LoadFromFile(FromUtf8(a));
    const std::string gain = "IO01\t" + Caption(rack, 1, L"gain01") + "\t";

    const Result same = RunK52ctl({"diff", a, a});
    EXPECT_EQ(same.status, 0) << same.err;
    EXPECT_EQ(same.out, Text(Msg::cmp_equal) + "\n");

    const Result changed = RunK52ctl({"diff", a, b});
    EXPECT_EQ(changed.status, 1) << changed.err;
    EXPECT_EQ(changed.out, gain + "1.0000\t1.2500\n" +
                               ToUtf8(CResourceManager::FormatMessage(Msg::cmp_counts, 0, 1)) + "\n");
    EXPECT_EQ(changed.err, "");

    // Another model: the module with both names, and none of its rows.
    const Result model = RunK52ctl({"diff", a, other});
    EXPECT_EQ(model.status, 1);
    EXPECT_EQ(model.out, "IO03\t" + Text(Msg::cmp_module) + "\tKZ9W\tJK9W\n" +
                             ToUtf8(CResourceManager::FormatMessage(Msg::cmp_counts, 1, 0)) + "\n");

    // Only the chosen slots.
    EXPECT_EQ(RunK52ctl({"diff", a, other, "--slots", "0-2"}).status, 0);
    EXPECT_EQ(RunK52ctl({"diff", "--slots", "3", a, b}).status, 0);

    // Trouble is 2, never 1: a missing file, one that is no configuration, a missing argument.
    k52test::WriteFile(File("notes.cfg"), "<root><application>Other</application></root>");
    for (const std::vector<std::string>& arguments :
         std::vector<std::vector<std::string>>{{"diff", a, File("missing.cfg")},
                                               {"diff", File("notes.cfg"), a},
                                               {"diff", a},
                                               {"diff", a, b, a}}) {
        const Result trouble = RunK52ctl(arguments);
        EXPECT_EQ(trouble.status, 2) << arguments.size();
        EXPECT_NE(trouble.err, "");
        EXPECT_EQ(trouble.out, "");
    }
}

TEST_F(CompareCommandsTest, VerifyReadsTheStationWithoutWritingAndDownloadVerifyReadsBack) {
    // With a 16-point digital module, which a file only knows how to make
    // once the station has told its attribute word.
    Simulator simulator({"--modules", "0=K52HQ8,1=JK7W,2=BJ58W,3=KZ9W"});
    const std::string plant = File("plant.cfg");
    ASSERT_EQ(RunK52ctl({"upload", "--port", simulator.Path(), "--output", plant}).status, 0);
    const std::string edited = Edited(plant, 1, L"gain01", L"1.25", "edited.cfg");
    CCardSlot rack;
    rack.LoadFromFile(FromUtf8(plant));
    const std::string gain = "IO01\t" + Caption(rack, 1, L"gain01") + "\t";

    const Result equal = RunK52ctl({"verify", "--port", simulator.Path(), plant});
    EXPECT_EQ(equal.status, 0) << equal.err;
    EXPECT_EQ(equal.out, Text(Msg::cmp_equal) + "\n");

    // The file's value first, the station's second; the station is not written.
    for (int round = 0; round < 2; ++round) {
        const Result differs = RunK52ctl({"verify", "--port", simulator.Path(), edited});
        EXPECT_EQ(differs.status, 1) << differs.err;
        EXPECT_EQ(differs.out.rfind(gain + "1.2500\t1.0000\n", 0), 0u) << differs.out;
    }
    EXPECT_EQ(RunK52ctl({"verify", "--port", simulator.Path(), "--slots", "0,2-16", edited}).status, 0);

    const Result written = RunK52ctl({"download", "--port", simulator.Path(), "--verify", edited});
    EXPECT_EQ(written.status, 0) << written.err;
    EXPECT_EQ(written.out, "");
    EXPECT_EQ(RunK52ctl({"verify", "--port", simulator.Path(), edited}).status, 0);
    EXPECT_EQ(RunK52ctl({"verify", "--port", simulator.Path(), plant}).status, 1);

    // Trouble, not "different": no such file, a station that cannot be read, a wrong call.
    for (const std::vector<std::string>& arguments : std::vector<std::vector<std::string>>{
             {"verify", "--port", simulator.Path(), File("missing.cfg")},
             {"verify", "--port", "/dev/k52-no-such-port", plant},
             {"verify", plant},
             {"verify", "--port", simulator.Path(), "--verify", plant}}) {
        const Result trouble = RunK52ctl(arguments);
        EXPECT_EQ(trouble.status, 2) << arguments[1];
        EXPECT_NE(trouble.err, "");
    }
    EXPECT_EQ(RunK52ctl({"download", "--port", simulator.Path(), "--verify=yes", plant}).status, 2);

    // Ctrl-C while the station is read: 130 and not a word.
    simulator.Signal(SIGSTOP);
    const Result interrupted =
        RunK52ctl({"verify", "--port", simulator.Path(), plant}, std::chrono::milliseconds(500));
    simulator.Signal(SIGCONT);
    EXPECT_EQ(interrupted.status, 130);
    EXPECT_EQ(interrupted.err, "");
}

// A module that does not keep what it is sent: the download succeeds, the
// read-back finds the value it refused and fails with the list.
TEST_F(CompareCommandsTest, DownloadVerifyFailsWithTheListWhenTheStationDoesNotHoldTheFile) {
    RegisterSimulatedStationPort();
    const std::string port = "sim:0=K52HQ8,1=JK7W,4=KZ9W";
    const std::string plant = File("plant.cfg");
    std::ostringstream ignored;
    ASSERT_EQ(CControlProgram(ignored).Run({"upload", "--port", port, "--output", plant}), 0);
    const std::string edited = Edited(plant, 1, L"gain01", L"1.25", "edited.cfg");
    const std::shared_ptr<CSimulatedStation> station = GetSimulatedStation(FromUtf8(port));
    ASSERT_NE(station, nullptr);
    const std::optional<std::wstring> kept = station->GetValue(1, 1, 0x0b);
    ASSERT_TRUE(kept);
    station->PinValue(1, 1, 0x0b, kept);

    std::ostringstream out;
    std::vector<std::wstring> reported;
    const ErrorReportHandler previous =
        SetErrorReportHandler([&reported](const std::wstring& text) { reported.push_back(text); });
    const int status = CControlProgram(out).Run({"download", "--port", port, "--verify", edited});
    SetErrorReportHandler(previous);
    station->PinValue(1, 1, 0x0b, std::nullopt);
    EXPECT_EQ(status, 1);
    EXPECT_EQ(reported, std::vector<std::wstring>{CResourceManager::FormatMessage(Msg::verifyerr, 1)});
    CCardSlot rack;
    rack.LoadFromFile(FromUtf8(plant));
    EXPECT_EQ(out.str(), "IO01\t" + Caption(rack, 1, L"gain01") + "\t1.2500\t1.0000\n" +
                             ToUtf8(CResourceManager::FormatMessage(Msg::cmp_counts, 0, 1)) + "\n");
}

TEST_F(CompareCommandsTest, ReportWritesOnePageAndReplacesOnlyWhatItMay) {
    const std::string before = File("before.cfg");
    ASSERT_EQ(RunK52ctl({"upload", "--port", "sim:0=K52HQ8,1=JK7W", "--output", before}).status, 0);
    const std::string after = Edited(before, 1, L"gain01", L"1.25", "after.cfg");

    const std::string output = File("report.html");
    const Result made = RunK52ctl(
        {"report", after, "--before", before, "--title", "Line 3 <pumps>", "--output", output});
    EXPECT_EQ(made.status, 0) << made.err;
    EXPECT_EQ(made.out, "");
    const std::string page = k52test::ReadFile(output);
    EXPECT_EQ(page.rfind("<!DOCTYPE html>", 0), 0u);
    EXPECT_NE(page.find("<h1>Line 3 &lt;pumps&gt;</h1>"), std::string::npos);
    EXPECT_NE(page.find("<td>after.cfg</td>"), std::string::npos) << "the file's name, not its folder";
    EXPECT_EQ(page.find(m_dir.path().string()), std::string::npos);
    EXPECT_NE(page.find("<td>1.0000</td><td>1.2500</td>"), std::string::npos);

    // A FIFO is refused before anything is read or written, and stays one.
    const std::string fifo = File("fifo.html");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    const Result refused = RunK52ctl({"report", after, "--output", fifo});
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("not a regular file"), std::string::npos) << refused.err;
    EXPECT_TRUE(std::filesystem::is_fifo(fifo));

    // A missing file leaves an earlier report as it was.
    const Result missing = RunK52ctl({"report", File("missing.cfg"), "--output", output});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(k52test::ReadFile(output), page);
    EXPECT_EQ(RunK52ctl({"report", after}).status, 2) << "--output is required";
}

} // namespace

// A file holding a value twice opens as before, the first copy winning, but
// every command that reads it says so; download refuses it, naming it.
TEST_F(CompareCommandsTest, AFileHoldingAValueTwiceIsNamedByEveryCommandAndNeverDownloaded) {
    const std::string port = "sim:0=K52HQ8,1=JK7W";
    const std::string a = File("a.cfg");
    ASSERT_EQ(RunK52ctl({"upload", "--port", port, "--output", a}).status, 0);
    std::string content = k52test::ReadFile(a);
    const std::size_t first = content.find("<parameter", content.find("<slot no=\"1\">"));
    const std::string item = content.substr(first, content.find("</parameter>", first) + 12 - first);
    content.insert(first + item.size(), item.substr(0, item.find('>') + 1) + "77</parameter>");
    const std::string twice = File("twice.cfg");
    k52test::WriteFile(twice, content);

    for (const std::vector<std::string>& arguments : std::vector<std::vector<std::string>>{
             {"show", twice}, {"diff", a, twice}, {"verify", "--port", port, twice},
             {"report", twice, "--output", File("r.html")}}) {
        const Result result = RunK52ctl(arguments);
        EXPECT_EQ(result.status, 0) << arguments[0] << result.err;
        EXPECT_NE(result.err.find("twice.cfg was opened, but parts of it are odd:\n  IO01, "), std::string::npos)
            << arguments[0] << result.err;
    }
    const Result download = RunK52ctl({"download", "--port", port, twice});
    EXPECT_EQ(download.status, 1);
    EXPECT_NE(download.err.find("twice.cfg can be read two ways and is not downloaded: IO01, "), std::string::npos)
        << download.err;
}
