// `k52ctl monitor` against the simulated station.
#include "cli/CControlProgram.h"
#include "station/CSimulatedStation.h"
#include "station/CSimulatedStationPort.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

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
    EXPECT_EQ(lines[3].rfind("IO02  BJ58W  Ch 1: ", 0), 0u) << lines[3];
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
