// What a monitor costs while its station is away: processor use of a monitor
// on a port that cannot be opened, over five seconds, for the monitoring
// thread as the window drives it and for `k52ctl monitor`, and how long
// "close" (Stop, Ctrl-C) takes while the monitor rests between attempts.
// A plain timed program, not registered with CTest: bench_idle [seconds].
#include "base/CObserver.h"
#include "base/CResourceManager.h"
#include "base/TextConvert.h"
#include "link/CJX5COMInterface.h"
#include "monitor/CMonitorThread.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
constexpr const char* kMissingPort = "/dev/k52-bench-no-such-port";

double Seconds(const timeval& time) {
    return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) / 1e6;
}

double ProcessorSeconds(int who) {
    rusage usage{};
    getrusage(who, &usage);
    return Seconds(usage.ru_utime) + Seconds(usage.ru_stime);
}

double MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Answers every notification with the next cycle, as the monitor window does.
class NextCycle : public CObserver {
public:
    explicit NextCycle(CMonitorThread& thread) : m_thread(thread) {}
    void Update(CObservable*) override {
        ++m_cycles;
        m_thread.PostCycle();
    }
    int Cycles() const { return m_cycles.load(); }

private:
    CMonitorThread& m_thread;
    std::atomic<int> m_cycles{0};
};

void MonitorThread(double seconds) {
    CJX5COMInterface link;
    CComSettings settings = link.GetSettings();
    settings.SetDevicePath(FromUtf8(kMissingPort));
    settings.SetDisplayName(L"bench");
    link.SetSettings(settings);
    CMonitorThread thread(link, StationAttribute());
    NextCycle next(thread);
    thread.Attach(&next);

    const double processorBefore = ProcessorSeconds(RUSAGE_SELF);
    const Clock::time_point start = Clock::now();
    thread.Start();
    thread.PostCycle();
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
    const double share =
        (ProcessorSeconds(RUSAGE_SELF) - processorBefore) / (MillisecondsSince(start) / 1000.0);
    const Clock::time_point stopping = Clock::now();
    thread.Stop();
    std::printf("monitoring thread, missing port: %.2f%% of one core over %.1f s, %d attempts, "
                "close during a rest %.1f ms\n",
                share * 100.0, seconds, next.Cycles(), MillisecondsSince(stopping));
}

void K52ctl(const std::string& program, double seconds) {
    std::string port = kMissingPort;
    std::string command = "monitor";
    std::string portOption = "--port";
    std::string cyclesOption = "--cycles";
    std::string cycles = "0";
    char* argv[] = {const_cast<char*>(program.c_str()), command.data(), portOption.data(), port.data(),
                    cyclesOption.data(), cycles.data(), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, environ) != 0) {
        std::printf("k52ctl: cannot start %s\n", program.c_str());
        posix_spawn_file_actions_destroy(&actions);
        return;
    }
    posix_spawn_file_actions_destroy(&actions);
    const Clock::time_point start = Clock::now();
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
    const double ran = MillisecondsSince(start) / 1000.0;
    const Clock::time_point interrupting = Clock::now();
    ::kill(pid, SIGINT);
    int status = 0;
    rusage usage{};
    ::wait4(pid, &status, 0, &usage);
    const double closeMs = MillisecondsSince(interrupting);
    const double processor = Seconds(usage.ru_utime) + Seconds(usage.ru_stime);
    std::printf("k52ctl monitor, missing port: %.2f%% of one core over %.1f s (start-up included), "
                "Ctrl-C ended it in %.1f ms with status %d\n",
                processor / ran * 100.0, ran, closeMs, WIFEXITED(status) ? WEXITSTATUS(status) : -1);
}

} // namespace

int main(int argc, char** argv) {
    const double seconds = argc > 1 ? std::atof(argv[1]) : 5.0;
    CResourceManager::Database().Load(L"English.lng");
    MonitorThread(seconds);
    std::string self = argv[0];
    const std::size_t slash = self.rfind('/');
    K52ctl((slash == std::string::npos ? std::string(".") : self.substr(0, slash)) + "/k52ctl", seconds);
    return 0;
}
