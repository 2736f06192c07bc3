#include "station/CStationPtyServer.h"

#include "base/CMessageFormatter.h"
#include "base/CPrivateException.h"
#include "station/CStationLine.h"

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>
#include <vector>

namespace {

[[noreturn]] void RaiseSystemError(const wchar_t* what) {
    const int error = errno;
    throw CPrivateException(FailureKind::Other,
                            std::wstring(what) + L": " + CMessageFormatter::SystemErrorText(error));
}

} // namespace

CStationPtyServer::CStationPtyServer(std::shared_ptr<CSimulatedStation> station)
    : m_station(std::move(station)) {}

CStationPtyServer::~CStationPtyServer() {
    Stop();
}

void CStationPtyServer::Start() {
    Stop();
    char name[PATH_MAX] = {};
    if (::openpty(&m_master, &m_slave, name, nullptr, nullptr) != 0) {
        RaiseSystemError(L"cannot open a pseudo-terminal");
    }
    termios raw{};
    int pipeEnds[2];
    if (::tcgetattr(m_slave, &raw) != 0) {
        CloseAll();
        RaiseSystemError(L"cannot read the pseudo-terminal's settings");
    }
    ::cfmakeraw(&raw);
    raw.c_cc[VMIN] = 0;
    raw.c_cc[VTIME] = 0;
    if (::tcsetattr(m_slave, TCSANOW, &raw) != 0) {
        CloseAll();
        RaiseSystemError(L"cannot set the pseudo-terminal to raw mode");
    }
    if (::pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0) {
        CloseAll();
        RaiseSystemError(L"cannot create the server's wake-up pipe");
    }
    m_wakeRead = pipeEnds[0];
    m_wakeWrite = pipeEnds[1];
    ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
    ::fcntl(m_master, F_SETFD, FD_CLOEXEC);
    ::fcntl(m_slave, F_SETFD, FD_CLOEXEC);
    m_devicePath = name;
    m_thread = std::thread([this] { Serve(); });
}

void CStationPtyServer::Stop() {
    if (m_thread.joinable()) {
        const char stop = 1;
        [[maybe_unused]] const ssize_t ignored = ::write(m_wakeWrite, &stop, 1);
        m_thread.join();
    }
    CloseAll();
}

void CStationPtyServer::CloseAll() {
    for (int* fd : {&m_master, &m_slave, &m_wakeRead, &m_wakeWrite}) {
        if (*fd >= 0) {
            ::close(*fd);
            *fd = -1;
        }
    }
}

void CStationPtyServer::Serve() {
    using Clock = CStationLine::Clock;
    CStationLine line(m_station);
    std::vector<std::uint8_t> unsent;
    std::uint8_t buffer[512];
    for (;;) {
        Clock::time_point now = Clock::now();
        // Reply bytes go out at the moment they are due.
        for (std::size_t taken; (taken = line.Take(buffer, sizeof buffer, now)) > 0;) {
            unsent.insert(unsent.end(), buffer, buffer + taken);
        }
        timespec wait{};
        timespec* timeout = nullptr;
        if (const std::optional<Clock::time_point> next = line.NextArrival(); next && unsent.empty()) {
            const auto left = std::max(Clock::duration::zero(), *next - now);
            const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(left).count();
            wait.tv_sec = static_cast<time_t>(ns / 1'000'000'000);
            wait.tv_nsec = static_cast<long>(ns % 1'000'000'000);
            timeout = &wait;
        }
        pollfd fds[2] = {{m_master, static_cast<short>(POLLIN | (unsent.empty() ? 0 : POLLOUT)), 0},
                         {m_wakeRead, POLLIN, 0}};
        const int ready = ::ppoll(fds, 2, timeout, nullptr);
        if (ready < 0 && errno != EINTR) {
            return;
        }
        if ((fds[1].revents & POLLIN) != 0) {
            return;
        }
        now = Clock::now();
        if ((fds[0].revents & POLLIN) != 0) {
            const ssize_t n = ::read(m_master, buffer, sizeof buffer);
            if (n > 0) {
                line.Receive(std::span<const std::uint8_t>(buffer, static_cast<std::size_t>(n)), now);
            }
        }
        if (!unsent.empty() && (fds[0].revents & POLLOUT) != 0) {
            const ssize_t n = ::write(m_master, unsent.data(), unsent.size());
            if (n > 0) {
                unsent.erase(unsent.begin(), unsent.begin() + n);
            }
        }
    }
}
