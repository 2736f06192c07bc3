// `k52ctl monitor` against the simulated station.
#include "cli/CControlProgram.h"
#include "station/CSimulatedStation.h"
#include "station/CSimulatedStationPort.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <regex>
#include <sstream>

namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

TEST(MonitorCommand, PrintsOneLinePerOccupiedSlotAfterEveryCycle) {
    RegisterSimulatedStationPort();
    const std::string port = "sim:0=K52HQ8,1=KZ9W,2=BJ58W";
    const auto station = GetSimulatedStation(L"sim:0=K52HQ8,1=KZ9W,2=BJ58W");
    ASSERT_NE(station, nullptr);

    std::ostringstream out;
    CControlProgram program(out);
    ASSERT_EQ(program.Run({"monitor", "--port", port, "--cycles", "2"}), 0) << out.str();

    const auto lines = Lines(out.str());
    ASSERT_EQ(lines.size(), 8u) << out.str();
    EXPECT_EQ(lines[0], "cycle 1");
    EXPECT_EQ(lines[4], "cycle 2");
    EXPECT_EQ(lines[1].rfind("COM  K52HQ8", 0), 0u) << lines[1];
    EXPECT_EQ(lines[2].rfind("IO01  KZ9W  Ch 1: ", 0), 0u) << lines[2];
    EXPECT_NE(lines[2].find("Ch 2: "), std::string::npos);
    EXPECT_EQ(lines[2].find("Ch 3"), std::string::npos) << "the simulation switch is no channel";
    EXPECT_EQ(lines[3].rfind("IO02  BJ58W  Ch 1: ", 0), 0u) << lines[3];
}

std::vector<std::string> Fields(const std::string& row) {
    std::vector<std::string> fields;
    std::istringstream in(row);
    for (std::string field; std::getline(in, field, ',');) {
        fields.push_back(field);
    }
    return fields;
}

// --csv: every cycle's channels as rows, the values the printed lines show,
// and the modules that simulate named after each cycle's lines.
TEST(MonitorCommand, RecordsEveryCycleToCsvAndNamesTheSimulatingModules) {
    k52test::LoadEnglish();
    RegisterSimulatedStationPort();
    const std::string port = "sim:0=K52HQ8,3=JK7W,5=BJ58W";
    const auto station = GetSimulatedStation(L"sim:0=K52HQ8,3=JK7W,5=BJ58W");
    ASSERT_NE(station, nullptr);
    station->FreezeClock(123456);
    station->SetValue(3, 0, 78, L"1"); // JK7W's simulation switch
    k52test::TempDir dir;
    const std::string csv = (dir.path() / "live.csv").string();

    std::ostringstream out;
    CControlProgram program(out);
    ASSERT_EQ(program.Run({"monitor", "--port", port, "--cycles", "3", "--csv", csv}), 0) << out.str();
    station->SetValue(3, 0, 78, L"0");
    station->RunClock();

    const auto lines = Lines(out.str());
    ASSERT_EQ(lines.size(), 15u) << out.str();
    EXPECT_EQ(lines[4], "Simulating: IO03 JK7W");
    EXPECT_EQ(lines[5], "cycle 2");
    // "IO03  JK7W  Ch 1: 12.34  Ch 2: ..." gives the texts each row must hold.
    const std::regex channel("Ch (\\d): ([-0-9.]+)( |$)");
    std::vector<std::string> shown;
    for (std::sregex_iterator it(lines[2].begin(), lines[2].end(), channel), end; it != end; ++it) {
        shown.push_back((*it)[2]);
    }
    ASSERT_EQ(shown.size(), 4u) << lines[2];

    const auto rows = Lines(k52test::ReadFile(csv));
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows[0], "time,slot,model,channel,value,raw,status,simulating");
    const std::regex time(R"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d{3})");
    std::string lastTime;
    int analog = 0;
    int digital = 0;
    for (std::size_t i = 1; i < rows.size(); ++i) {
        SCOPED_TRACE(rows[i]);
        const auto fields = Fields(rows[i]);
        ASSERT_EQ(fields.size(), 8u);
        EXPECT_TRUE(std::regex_match(fields[0], time));
        EXPECT_LE(lastTime, fields[0]);
        lastTime = fields[0];
        if (fields[1] == "3") {
            EXPECT_EQ(fields[2], "JK7W");
            const std::string& value = shown.at(static_cast<std::size_t>(std::stoi(fields[3]) - 1));
            EXPECT_EQ(fields[4], value);
            // Without decimals the raw word reads the same.
            EXPECT_EQ(fields[5], value);
            EXPECT_EQ(fields[6], "0");
            EXPECT_EQ(fields[7], "yes");
            ++analog;
        } else if (fields[1] == "5") {
            EXPECT_EQ(fields[2], "BJ58W");
            EXPECT_TRUE(std::regex_match(fields[4], std::regex("0x[0-9A-F]{4}|0x[0-9A-F]{8}")));
            EXPECT_EQ(std::stoul(fields[4], nullptr, 16), std::stoul(fields[5]));
            EXPECT_EQ(fields[7], "no");
            ++digital;
        }
    }
    EXPECT_EQ(analog, 3 * 4);
    EXPECT_GT(digital, 0);
    EXPECT_EQ(digital % 3, 0);
    const std::string info = k52test::ReadFile(csv + ".info");
    EXPECT_NE(info.find("port: " + port), std::string::npos) << info;
    EXPECT_NE(info.find("program: K52CFG Version "), std::string::npos) << info;

    // A file that cannot be made stops the command before the station is read.
    std::ostringstream none;
    CControlProgram refused(none);
    EXPECT_EQ(refused.Run({"monitor", "--port", port, "--csv", dir.path().string()}), 1);
    EXPECT_TRUE(none.str().empty());
}

TEST(MonitorCommand, AnAbsentStationGivesFailedCyclesAndAFailure) {
    std::ostringstream out;
    CControlProgram program(out);
    EXPECT_EQ(program.Run({"monitor", "--port", "/dev/k52-no-such-port", "--cycles", "3"}), 1);
    const auto lines = Lines(out.str());
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[2], "cycle 3: no reading from the station");
}

TEST(MonitorCommand, RejectsBadArguments) {
    std::ostringstream out;
    CControlProgram program(out);
    EXPECT_EQ(program.Run({"monitor"}), 2);
    EXPECT_EQ(program.Run({"monitor", "--port", "sim:", "--cycles", "-1"}), 2);
    EXPECT_EQ(program.Run({"monitor", "--port", "sim:", "--cycles"}), 2);
    EXPECT_EQ(program.Run({"monitor", "--port", "sim:", "--speed", "9"}), 2);
    EXPECT_TRUE(out.str().empty());
}

} // namespace
