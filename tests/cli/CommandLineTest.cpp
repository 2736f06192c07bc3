// The argument rules of k52ctl that a script relies on.
#include "cli/CCommandLine.h"
#include "cli/PortArgument.h"

#include "base/TextConvert.h"
#include "link/CComPortList.h"
#include "link/CComSettings.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

std::uint64_t Slots(const std::string& text) {
    std::uint64_t mask = 0xDEAD;
    EXPECT_TRUE(CCommandLine::ParseSlots(text, mask)) << text;
    return mask;
}

TEST(CommandLine, SlotListsBecomeSelectionMasks) {
    EXPECT_EQ(Slots("all"), 0x1FFFFU);
    EXPECT_EQ(Slots("0,1,3-5"), 0x3BU);
    EXPECT_EQ(Slots("16"), 0x10000U);
    EXPECT_EQ(Slots("0-16"), 0x1FFFFU);
    EXPECT_EQ(Slots("4-4,4"), 0x10U);
}

TEST(CommandLine, MalformedSlotListsAreRefusedWholeAndChangeNothing) {
    for (const std::string text :
         {"", "17", "5-3", "1,,2", "-1", "1-", "a", "1 ,2", "001", "ALL", "0-17", ",1"}) {
        std::uint64_t mask = 0xDEAD;
        EXPECT_FALSE(CCommandLine::ParseSlots(text, mask)) << text;
        EXPECT_EQ(mask, 0xDEADU) << text;
    }
}

TEST(CommandLine, CommandsTakeTheirOwnOptionsAndFiles) {
    CCommandLine line;
    std::string error;
    ASSERT_TRUE(line.Parse({"download", "rack.cfg", "--port", "sim:", "--slots=1-3"}, error)) << error;
    EXPECT_EQ(line.GetCommand(), CCommandLine::Command::Download);
    EXPECT_EQ(line.GetFile(), "rack.cfg");
    EXPECT_EQ(line.GetPort(), "sim:");
    EXPECT_EQ(line.GetSlotMask(), 0xEU);
    EXPECT_EQ(line.GetLanguage(), "English.lng");

    ASSERT_TRUE(line.Parse({"upload", "--port", "/dev/ttyUSB0", "--output", "out.cfg"}, error)) << error;
    EXPECT_EQ(line.GetSlotMask(), 0x1FFFFU) << "all slots unless told otherwise";
    EXPECT_EQ(line.GetBase(), "");

    ASSERT_TRUE(line.Parse({"show", "rack.cfg", "--slot", "0", "--language", "Japanese.lng"}, error));
    EXPECT_EQ(line.GetShownSlot(), 0);
    EXPECT_TRUE(line.HasLanguage());

    const std::vector<std::vector<std::string>> refused = {
        {},
        {"uplaod"},
        {"upload", "--output", "out.cfg"},                     // no port
        {"upload", "--port", "sim:"},                          // no output
        {"upload", "--port", "sim:", "--output", "a", "b"},    // stray argument
        {"download", "--port", "sim:"},                        // no file
        {"download", "--port", "sim:", "a.cfg", "b.cfg"},      // two files
        {"download", "--port", "sim:", "--output", "x", "a"},  // option of another command
        {"download", "--port", "sim:", "--port", "sim:", "a"}, // given twice
        {"show", "a.cfg", "--slot", "17"},
        {"show", "a.cfg", "--slot"},
        {"ports", "--port="},
    };
    for (const auto& arguments : refused) {
        error.clear();
        EXPECT_FALSE(line.Parse(arguments, error)) << (arguments.empty() ? "" : arguments[0]);
        EXPECT_FALSE(error.empty());
    }
}

TEST(CommandLine, CompareCommandsTakeTwoFilesAReportItsOutputAndVerifyIsASwitch) {
    CCommandLine line;
    std::string error;
    ASSERT_TRUE(line.Parse({"diff", "a.cfg", "--slots", "1", "b.cfg"}, error)) << error;
    EXPECT_EQ(line.GetFiles(), (std::vector<std::string>{"a.cfg", "b.cfg"}));
    EXPECT_EQ(line.GetSlotMask(), 0x2U);
    ASSERT_TRUE(line.Parse({"download", "--verify", "a.cfg", "--port", "sim:"}, error)) << error;
    EXPECT_TRUE(line.IsVerifying());
    EXPECT_EQ(line.GetFile(), "a.cfg") << "a switch takes no value";
    ASSERT_TRUE(line.Parse({"download", "a.cfg", "--port", "sim:"}, error)) << error;
    EXPECT_FALSE(line.IsVerifying());
    ASSERT_TRUE(line.Parse({"report", "a.cfg", "--output", "r.html", "--title", "Line 3"}, error)) << error;
    EXPECT_EQ(line.GetOutput(), "r.html");
    EXPECT_EQ(line.GetTitle(), "Line 3");
    EXPECT_EQ(line.GetBefore(), "");

    const std::vector<std::pair<std::vector<std::string>, std::string>> refused = {
        {{"diff", "a.cfg"}, "'diff' needs two files"},
        {{"diff", "a.cfg", "b.cfg", "c.cfg"}, "more than two files given"},
        {{"verify", "a.cfg"}, "--port is required"},
        {{"download", "--port", "sim:", "--verify=1", "a.cfg"}, "option --verify takes no value"},
        {{"download", "--port", "sim:", "--verify", "--verify", "a.cfg"}, "option --verify is given twice"},
        {{"verify", "--port", "sim:", "--verify", "a.cfg"}, "option --verify does not belong to 'verify'"},
        {{"report", "a.cfg"}, "--output is required"},
    };
    for (const auto& [arguments, problem] : refused) {
        error.clear();
        EXPECT_FALSE(line.Parse(arguments, error)) << problem;
        EXPECT_EQ(error, problem);
    }
}

TEST(CommandLine, OptionsGoAnywhereOnceAndEachWithAValue) {
    CCommandLine line;
    std::string error;
    ASSERT_TRUE(
        line.Parse({"--language", "Japanese.lng", "monitor", "--cycles", "0", "--port", "sim:"}, error))
        << error;
    EXPECT_EQ(line.GetCommand(), CCommandLine::Command::Monitor);
    EXPECT_EQ(line.GetCycles(), 0U);
    EXPECT_EQ(line.GetPort(), "sim:");
    EXPECT_EQ(line.GetLanguage(), "Japanese.lng");
    ASSERT_TRUE(line.Parse({"monitor", "--port", "sim:"}, error)) << error;
    EXPECT_EQ(line.GetCycles(), 1U) << "one reading unless told otherwise";

    const std::vector<std::pair<std::vector<std::string>, std::string>> refused = {
        {{"monitor", "--port", "sim:", "--cycles", "-1"}, "--cycles needs a whole number of 0 or more"},
        {{"monitor", "--port", "sim:", "--cycles", "1x"}, "--cycles needs a whole number of 0 or more"},
        {{"monitor", "--cycles", "2"}, "--port is required"},
        {{"-x", "show", "a.cfg"}, "unknown option '-x'"},
        {{"show", "a.cfg", "--slot=--x"}, "option --slot needs a value, not the option '--x'"},
        {{"--language", "English.lng"}, "no command given"},
    };
    for (const auto& [arguments, problem] : refused) {
        error.clear();
        EXPECT_FALSE(line.Parse(arguments, error)) << problem;
        EXPECT_EQ(error, problem);
    }
}

} // namespace

// What each kind of PORT argument opens, or why it opens nothing.
TEST(CommandLine, PortArgumentsNameAPortOrSayWhyNot) {
    ComPortSources sources;
    sources.adapters = [] {
        return std::vector<ComPortAdapterRecord>{{L"/dev/ttyUSB0", L"Acme USB/RS485 Converter (A1)"}};
    };
    const CComPortList ports(sources);
    const std::string here = std::filesystem::current_path().string();
    const struct {
        std::string argument;
        std::string path;   // the device path it opens
        std::string reason; // or a part of the reason it opens none
    } cases[] = {
        {"Acme USB/RS485 Converter (A1)", "/dev/ttyUSB0", ""},
        {"COM2", "/dev/ttyS1", ""},
        {"/dev/ttyUSB7", "/dev/ttyUSB7", ""},
        {"./k52", here + "/k52", ""},
        {"links/../k52", here + "/k52", ""},
        {"sim:", "sim:", ""},
        {"sim:0=K52HQ8,1=JK7W", "sim:0=K52HQ8,1=JK7W", ""},
        {"sim:0=BOGUS", "", "'BOGUS' is no communication"},
        {"sim:17=JK7W", "", "'17=JK7W' names no slot"},
        {"sim:1=K52HQ8", "", "'K52HQ8' is no I/O"},
        {"sim:1=JK7W,1=KZ9W", "", "slot 1 is named twice"},
        {"k52", "", "no port 'k52'"},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.argument);
        CComSettings settings;
        std::string problem;
        const bool named = ResolvePortArgument(test.argument, ports, settings, problem);
        EXPECT_EQ(named, test.reason.empty()) << problem;
        if (named) {
            EXPECT_EQ(ToUtf8(settings.GetDevicePath()), test.path);
        } else {
            EXPECT_NE(problem.find(test.reason), std::string::npos) << problem;
        }
    }
}
