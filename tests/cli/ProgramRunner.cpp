#include "cli/ProgramRunner.h"

#include "base/CResourceDatabase.h"
#include "base/TextConvert.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <poll.h>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace k52test {

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

namespace {

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? std::string() : std::string(value);
}

} // namespace

std::string K52ctl() {
    const std::string chosen = Environment("K52_TEST_K52CTL");
    return chosen.empty() ? Program("k52ctl") : chosen;
}

std::vector<std::string> Command(const std::string& program, const std::vector<std::string>& arguments) {
    std::vector<std::string> command;
    const std::string launcher = Environment("K52_TEST_LAUNCHER");
    if (!launcher.empty() && program == K52ctl()) {
        command.push_back(launcher);
    }
    command.push_back(program);
    command.insert(command.end(), arguments.begin(), arguments.end());
    return command;
}

std::string PortOf(const std::string& devicePath) {
    const std::string links = Environment("K52_TEST_COM_LINKS");
    if (links.empty()) {
        return devicePath;
    }
    // COM5 to COM16 are always in the port list; each terminal of a run gets the next.
    static int next = 0;
    const int number = 5 + next++ % 12;
    const std::filesystem::path link = std::filesystem::path(links) / ("com" + std::to_string(number));
    std::filesystem::remove(link);
    std::filesystem::create_symlink(devicePath, link);
    return "COM" + std::to_string(number);
}

std::string MissingPort() {
    return RunsWindowsProgram() ? R"(\\.\COM199)" : "/dev/k52-no-such-port";
}

bool RunsWindowsProgram() {
    return !Environment("K52_TEST_COM_LINKS").empty();
}

std::chrono::milliseconds StartTime() {
    const std::string value = Environment("K52_TEST_START_MS");
    return std::chrono::milliseconds(value.empty() ? 0 : std::stoi(value));
}

Result RunProgram(Launch launch) {
    TempDir dir;
    const std::string out = (dir.path() / "out").string();
    const std::string err = (dir.path() / "err").string();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    if (launch.stdoutFd >= 0) {
        posix_spawn_file_actions_adddup2(&actions, launch.stdoutFd, 1);
    } else {
        posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    }
    if (launch.stderrFd >= 0) {
        posix_spawn_file_actions_adddup2(&actions, launch.stderrFd, 2);
    } else {
        posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    }
    std::vector<std::string> command = Command(launch.program, launch.arguments);
    const std::string started = command.front();
    command.erase(command.begin());
    std::vector<char*> argv = Argv(started, command);
    std::vector<char*> env;
    for (char** variable = environ; *variable != nullptr; ++variable) {
        env.push_back(*variable);
    }
    for (std::string& variable : launch.environment) {
        env.insert(env.begin(), variable.data());
    }
    env.push_back(nullptr);
    pid_t pid = 0;
    Result result;
    if (posix_spawnp(&pid, started.c_str(), &actions, nullptr, argv.data(), env.data()) != 0) {
        ADD_FAILURE() << "cannot start " << launch.program;
        posix_spawn_file_actions_destroy(&actions);
        return result;
    }
    posix_spawn_file_actions_destroy(&actions);
    if (launch.interruptAfter) {
        std::this_thread::sleep_for(*launch.interruptAfter + StartTime());
        ::kill(pid, SIGINT);
    }
    int status = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    while (::waitpid(pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            ADD_FAILURE() << launch.program << " did not end";
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    result.out = ReadFile(out);
    if (launch.stderrFd < 0) {
        result.err = ReadFile(err);
    }
    return result;
}

Result RunK52ctl(std::vector<std::string> arguments, std::optional<std::chrono::milliseconds> interruptAfter) {
    Launch launch;
    launch.arguments = std::move(arguments);
    launch.interruptAfter = interruptAfter;
    return RunProgram(std::move(launch));
}

Simulator::Simulator(std::vector<std::string> arguments) {
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
    m_port = PortOf(m_path);
}

Simulator::~Simulator() {
    ::kill(m_pid, SIGTERM);
    int status = 0;
    ::waitpid(m_pid, &status, 0);
}

void Simulator::Signal(int signal) const {
    ::kill(m_pid, signal);
}

} // namespace k52test
