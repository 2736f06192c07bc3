#include "cli/CInterruptWatcher.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <stdexcept>

#ifdef _WIN32
#include <windows.h>
#include <io.h>
#else
#include <unistd.h>
#endif

namespace {

constexpr char kInterrupt = 'i';
constexpr char kStop = 's';

int g_signalPipe = -1;

#ifdef _WIN32
// Windows calls this on a thread of its own for Ctrl-C and Ctrl-Break; the
// rest goes as on Linux.
BOOL WINAPI OnConsoleControl(DWORD event) {
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) {
        return FALSE;
    }
    const char byte = kInterrupt;
    [[maybe_unused]] int written = ::_write(g_signalPipe, &byte, 1);
    return TRUE;
}
#else
struct sigaction g_previous {};

void OnInterrupt(int) {
    const int saved = errno;
    const char byte = kInterrupt;
    [[maybe_unused]] ssize_t written = ::write(g_signalPipe, &byte, 1);
    errno = saved;
}
#endif

} // namespace

CInterruptWatcher::CInterruptWatcher() {
#ifdef _WIN32
    if (::_pipe(m_pipe, 64, _O_BINARY | _O_NOINHERIT) != 0) {
        throw std::runtime_error("cannot create the interrupt pipe");
    }
    g_signalPipe = m_pipe[1];
    ::SetConsoleCtrlHandler(OnConsoleControl, TRUE);
#else
    if (::pipe2(m_pipe, O_CLOEXEC) != 0) {
        throw std::runtime_error("cannot create the interrupt pipe");
    }
    g_signalPipe = m_pipe[1];
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGINT, &action, &g_previous);
#endif
    m_thread = std::thread(&CInterruptWatcher::Watch, this);
}

CInterruptWatcher::~CInterruptWatcher() {
#ifdef _WIN32
    ::SetConsoleCtrlHandler(OnConsoleControl, FALSE);
#else
    ::sigaction(SIGINT, &g_previous, nullptr);
#endif
    const char byte = kStop;
    [[maybe_unused]] auto written = ::write(m_pipe[1], &byte, 1);
    if (m_thread.joinable()) {
        m_thread.join();
    }
    g_signalPipe = -1;
    ::close(m_pipe[0]);
    ::close(m_pipe[1]);
}

void CInterruptWatcher::SetAction(std::function<void()> action) {
    std::lock_guard lock(m_mutex);
    m_action = std::move(action);
}

void CInterruptWatcher::RemoveOnInterrupt(std::filesystem::path path) {
    std::lock_guard lock(m_mutex);
    m_removedOnInterrupt = std::move(path);
}

void CInterruptWatcher::Watch() {
    for (;;) {
        char byte = 0;
        const auto got = ::read(m_pipe[0], &byte, 1);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0 || byte == kStop) {
            return;
        }
        m_interrupted = true;
        std::lock_guard lock(m_mutex);
        if (m_action) {
            m_action();
            continue;
        }
        if (!m_removedOnInterrupt.empty()) {
            std::error_code ignored;
            std::filesystem::remove_all(m_removedOnInterrupt, ignored);
        }
        // Nothing is running that a cancel could stop in order: the process
        // ends here, without unwinding the thread that waits somewhere.
        ::_exit(kExitInterrupted);
    }
}
