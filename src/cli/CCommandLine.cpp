#include "cli/CCommandLine.h"

#include <charconv>
#include <map>
#include <set>

namespace {

constexpr int kLastSlot = 16;
constexpr std::uint64_t kAllSlots = (std::uint64_t{1} << (kLastSlot + 1)) - 1;

// A slot number 0 to 16 written with digits only.
bool ParseSlotNumber(const std::string& text, int& number) {
    if (text.empty() || text.size() > 2) {
        return false;
    }
    number = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
        number = number * 10 + (c - '0');
    }
    return number <= kLastSlot;
}

// Which options each command takes, and how many files.
struct CommandShape {
    CCommandLine::Command command;
    std::set<std::string> options;
    std::size_t files;
};

// Options that are switched on by their name alone and take no value.
bool IsSwitch(const std::string& name) {
    return name == "--verify";
}

const std::map<std::string, CommandShape>& Shapes() {
    static const std::map<std::string, CommandShape> shapes = {
        {"ports", {CCommandLine::Command::Ports, {"--language"}, 0}},
        {"upload",
         {CCommandLine::Command::Upload, {"--port", "--slots", "--output", "--base", "--language"}, 0}},
        {"download", {CCommandLine::Command::Download, {"--port", "--slots", "--verify", "--language"}, 1}},
        {"show", {CCommandLine::Command::Show, {"--slot", "--language"}, 1}},
        {"monitor", {CCommandLine::Command::Monitor, {"--port", "--cycles", "--csv", "--language"}, 0}},
        {"demo", {CCommandLine::Command::Demo, {"--language"}, 0}},
        {"diff", {CCommandLine::Command::Diff, {"--slots", "--language"}, 2}},
        {"verify", {CCommandLine::Command::Verify, {"--port", "--slots", "--language"}, 1}},
        {"report",
         {CCommandLine::Command::Report, {"--before", "--title", "--output", "--language"}, 1}},
    };
    return shapes;
}

bool IsKnownOption(const std::string& name) {
    for (const auto& [word, shape] : Shapes()) {
        if (shape.options.count(name) != 0) {
            return true;
        }
    }
    return false;
}

bool IsHelp(const std::string& argument) {
    return argument == "--help" || argument == "-h";
}

} // namespace

const char* CCommandLine::Usage() {
    return "usage: k52ctl COMMAND [OPTIONS]\n"
           "  k52ctl ports\n"
           "      list the serial ports: device path, a tab, display name\n"
           "  k52ctl upload --port PORT [--slots SLOTS] --output FILE [--base FILE]\n"
           "      read the chosen slots of a station into a configuration file; the other\n"
           "      slots come from --base (else they are empty)\n"
           "  k52ctl download --port PORT [--slots SLOTS] [--verify] FILE\n"
           "      check that the station holds the file's modules, then write the chosen slots;\n"
           "      --verify reads them back afterwards and fails, listing them, on any difference\n"
           "  k52ctl show FILE [--slot N]\n"
           "      show each slot's module and parameters as the tool's parameter list does\n"
           "  k52ctl monitor --port PORT [--cycles N] [--csv FILE]\n"
           "      read the station's live values cycle after cycle and print them;\n"
           "      --cycles 0 runs until Ctrl-C; --csv also records them, one row per\n"
           "      channel and cycle, to FILE (and what was recorded to FILE.info)\n"
           "  k52ctl demo\n"
           "      a short session with the built-in simulated station\n"
           "  k52ctl diff A.cfg B.cfg [--slots SLOTS]\n"
           "      list the differences: slot, caption, A's value, B's value;\n"
           "      exit status 0 equal, 1 different, 2 a file cannot be read\n"
           "  k52ctl verify --port PORT [--slots SLOTS] FILE\n"
           "      read the chosen slots of the station and list where they differ from the file:\n"
           "      slot, caption, the file's value, the station's value; writes nothing;\n"
           "      exit status 0 equal, 1 different, 2 usage or the file or station cannot be read\n"
           "  k52ctl report FILE [--before FILE] [--title TEXT] --output REPORT.html\n"
           "      the commissioning report as one HTML page; --before names the file as found,\n"
           "      whose differences open the report\n"
           "options:\n"
           "  --language NAME  language file beside the program, or a path (default English.lng)\n"
           "  options go before or after the command, in any order, each once; --opt=VALUE works too\n"
           "PORT   a device path (/dev/ttyUSB0), sim: for the built-in simulated station\n"
           "       (sim:0=K52HQ8,1=JK7W chooses its modules), or a display name from 'k52ctl ports'\n"
           "SLOTS  all (the default), or slot numbers and ranges such as 0,1,3-5 (0 is the COM slot)\n"
           "exit status: 0 success, 1 the operation failed, 2 usage error, 130 interrupted\n";
}

bool CCommandLine::ParseSlots(const std::string& text, std::uint64_t& mask) {
    if (text == "all") {
        mask = kAllSlots;
        return true;
    }
    std::uint64_t result = 0;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = text.find(',', start);
        const std::string part =
            text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        const std::size_t dash = part.find('-');
        int first = 0;
        int last = 0;
        if (dash == std::string::npos) {
            if (!ParseSlotNumber(part, first)) {
                return false;
            }
            last = first;
        } else if (!ParseSlotNumber(part.substr(0, dash), first) ||
                   !ParseSlotNumber(part.substr(dash + 1), last) || first > last) {
            return false;
        }
        for (int slot = first; slot <= last; ++slot) {
            result |= std::uint64_t{1} << slot;
        }
        if (comma == std::string::npos) {
            break;
        }
        start = comma + 1;
    }
    mask = result;
    return true;
}

bool CCommandLine::Parse(const std::vector<std::string>& arguments, std::string& error) {
    *this = CCommandLine();
    std::map<std::string, std::string> options;
    std::vector<std::string> words;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (IsHelp(argument)) {
            m_command = Command::Help;
            return true;
        }
        if (argument.size() < 2 || argument[0] != '-') {
            words.push_back(argument);
            continue;
        }
        std::string name = argument;
        std::string value;
        bool hasValue = false;
        if (const std::size_t equals = argument.find('='); equals != std::string::npos) {
            name = argument.substr(0, equals);
            value = argument.substr(equals + 1);
            hasValue = true;
        }
        if (!IsKnownOption(name)) {
            error = "unknown option '" + name + "'";
            return false;
        }
        if (IsSwitch(name)) {
            if (hasValue) {
                error = "option " + name + " takes no value";
                return false;
            }
            if (!options.emplace(name, std::string()).second) {
                error = "option " + name + " is given twice";
                return false;
            }
            continue;
        }
        if (!hasValue && i + 1 < arguments.size()) {
            value = arguments[++i];
            hasValue = true;
        }
        if (!hasValue || value.empty()) {
            error = "option " + name + " needs a value";
            return false;
        }
        // "--output --base x" is a forgotten value, not a file named "--base".
        if (value.rfind("--", 0) == 0) {
            error = "option " + name;
            error += " needs a value, not the option '" + value + "'";
            return false;
        }
        if (!options.emplace(name, value).second) {
            error = "option " + name + " is given twice";
            return false;
        }
    }

    if (words.empty()) {
        error = "no command given";
        return false;
    }
    if (words[0] == "help") {
        m_command = Command::Help;
        return true;
    }
    const auto shape = Shapes().find(words[0]);
    if (shape == Shapes().end()) {
        error = "unknown command '" + words[0] + "'";
        return false;
    }
    m_command = shape->second.command;
    for (const auto& [name, value] : options) {
        if (shape->second.options.count(name) == 0) {
            error = "option " + name + " does not belong to '" + words[0] + "'";
            return false;
        }
    }

    const std::vector<std::string> files(words.begin() + 1, words.end());
    const std::size_t wanted = shape->second.files;
    if (wanted == 0 && !files.empty()) {
        error = "unexpected argument '" + files[0] + "'";
        return false;
    }
    if (files.size() < wanted) {
        error = files.empty() ? "no file given" : "'" + words[0] + "' needs two files";
        return false;
    }
    if (files.size() > wanted) {
        error = wanted == 1 ? "more than one file given" : "more than two files given";
        return false;
    }
    m_files = files;
    if (!files.empty()) {
        m_file = files[0];
    }
    m_verify = options.count("--verify") != 0;

    if (const auto found = options.find("--language"); found != options.end()) {
        m_language = found->second;
        m_hasLanguage = true;
    }
    m_slotMask = kAllSlots;
    if (const auto found = options.find("--slots");
        found != options.end() && !ParseSlots(found->second, m_slotMask)) {
        error = "SLOTS must be 'all' or slot numbers 0 to 16 and ranges such as 0,1,3-5, not '" +
                found->second + "'";
        return false;
    }
    if (const auto found = options.find("--slot"); found != options.end()) {
        int slot = 0;
        if (!ParseSlotNumber(found->second, slot)) {
            error = "--slot takes a slot number 0 to 16, not '" + found->second + "'";
            return false;
        }
        m_shownSlot = slot;
    }
    if (const auto found = options.find("--cycles"); found != options.end()) {
        const std::string& text = found->second;
        const char* end = text.data() + text.size();
        const auto [stop, problem] = std::from_chars(text.data(), end, m_cycles);
        if (problem != std::errc() || stop != end) {
            error = "--cycles needs a whole number of 0 or more";
            return false;
        }
    }
    if (const auto found = options.find("--csv"); found != options.end()) {
        m_csv = found->second;
    }
    if (m_command == Command::Upload || m_command == Command::Download || m_command == Command::Monitor ||
        m_command == Command::Verify) {
        const auto port = options.find("--port");
        if (port == options.end()) {
            error = "--port is required";
            return false;
        }
        m_port = port->second;
    }
    if (m_command == Command::Upload) {
        const auto output = options.find("--output");
        if (output == options.end()) {
            error = "--output is required";
            return false;
        }
        m_output = output->second;
        if (const auto base = options.find("--base"); base != options.end()) {
            m_base = base->second;
        }
    }
    if (m_command == Command::Report) {
        const auto output = options.find("--output");
        if (output == options.end()) {
            error = "--output is required";
            return false;
        }
        m_output = output->second;
        if (const auto before = options.find("--before"); before != options.end()) {
            m_before = before->second;
        }
        if (const auto title = options.find("--title"); title != options.end()) {
            m_title = title->second;
        }
    }
    return true;
}
