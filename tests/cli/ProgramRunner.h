#pragma once
#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include <sys/types.h>

// Running k52ctl and k52sim as a script would: the programs built beside the
// tests, their output caught in files.
namespace k52test {

struct Result {
    int status = -1;
    std::string out;
    std::string err;
};

// A program built beside the tests.
std::string Program(const std::string& name);

// The argument vector of posix_spawn; it points into arguments.
std::vector<char*> Argv(const std::string& program, std::vector<std::string>& arguments);

// How a test starts a program: what it gets as standard output, what it
// finds in its environment, and whether Ctrl-C is pressed after a while.
struct Launch {
    std::vector<std::string> arguments;
    std::string program = Program("k52ctl");
    int stdoutFd = -1; // -1: a file the result holds
    int stderrFd = -1; // likewise
    std::vector<std::string> environment;
    std::optional<std::chrono::milliseconds> interruptAfter;
};

// Runs the program to its end (killed after a minute, so that a hang fails
// the test instead of stopping it) with stderr and, unless given, stdout in files.
Result RunProgram(Launch launch);

// Runs k52ctl with its output in files; optionally presses Ctrl-C after a while.
Result RunK52ctl(std::vector<std::string> arguments,
                 std::optional<std::chrono::milliseconds> interruptAfter = std::nullopt);

// k52sim serving a station on a pseudo-terminal for the length of a test.
class Simulator {
public:
    explicit Simulator(std::vector<std::string> arguments);
    ~Simulator();
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;

    const std::string& Path() const { return m_path; }
    // The station stalls (SIGSTOP) or goes on (SIGCONT), as a busy or hung one would.
    void Signal(int signal) const;

private:
    pid_t m_pid = 0;
    std::string m_path;
};

} // namespace k52test
