#include "link/posix/CPosixSerialBackend.h"

#include "base/TextConvert.h"

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace {

bool SetNonBlockingCloseOnExec(int fd) {
    const int flags = ::fcntl(fd, F_GETFL);
    return flags >= 0 && ::fcntl(fd, F_SETFL, flags | O_NONBLOCK) == 0 &&
           ::fcntl(fd, F_SETFD, FD_CLOEXEC) == 0;
}

bool ToSpeed(std::uint32_t baudRate, speed_t& speed) {
    struct Rate {
        std::uint32_t baud;
        speed_t code;
    };
    static constexpr Rate kRates[] = {{1200, B1200},   {2400, B2400},   {4800, B4800},   {9600, B9600},
                                      {19200, B19200}, {38400, B38400}, {57600, B57600}, {115200, B115200}};
    for (const Rate& rate : kRates) {
        if (rate.baud == baudRate) {
            speed = rate.code;
            return true;
        }
    }
    return false;
}

} // namespace

CPosixSerialBackend::CPosixSerialBackend() {
    int fds[2];
    if (::pipe(fds) == 0) {
        m_cancelRead = fds[0];
        m_cancelWrite = fds[1];
        SetNonBlockingCloseOnExec(m_cancelRead);
        SetNonBlockingCloseOnExec(m_cancelWrite);
    }
}

CPosixSerialBackend::~CPosixSerialBackend() {
    CPosixSerialBackend::Close();
    if (m_cancelRead >= 0) {
        ::close(m_cancelRead);
    }
    if (m_cancelWrite >= 0) {
        ::close(m_cancelWrite);
    }
}

bool CPosixSerialBackend::GroupMembershipGrantsAccess(unsigned groupId, unsigned mode) {
    return groupId != 0 && (mode & (S_IRGRP | S_IWGRP)) == (S_IRGRP | S_IWGRP);
}

bool CPosixSerialBackend::FailOpen(const std::string& path, int error) {
    m_openFailure = SerialOpenFailure{};
    m_openFailure.systemError = error;
    switch (error) {
    case ENOENT:
    case ENODEV:
    case ENXIO:
    case ENOTDIR:
        // A removed adapter, or a pseudo-terminal whose server has gone: its
        // node (or the link to it) is missing, or is there without a device.
        m_openFailure.kind = SerialOpenFailure::Kind::NotPresent;
        break;
    case EBUSY:
    case EWOULDBLOCK:
        // EBUSY from a terminal another program has made exclusive, or the
        // lock of another holder.
        m_openFailure.kind = SerialOpenFailure::Kind::InUse;
        break;
    case EACCES:
    case EPERM: {
        m_openFailure.kind = SerialOpenFailure::Kind::NoPermission;
        struct stat info {};
        // The group is named only where joining it helps; otherwise the
        // reason says that the device's permissions do not allow it.
        if (::stat(path.c_str(), &info) == 0 && GroupMembershipGrantsAccess(info.st_gid, info.st_mode)) {
            group buffer{};
            group* found = nullptr;
            char text[1024];
            if (::getgrgid_r(info.st_gid, &buffer, text, sizeof text, &found) == 0 && found != nullptr) {
                m_openFailure.group = FromUtf8(found->gr_name);
            } else {
                m_openFailure.group = std::to_wstring(info.st_gid); // usermod takes the number too
            }
        }
        break;
    }
    default:
        break;
    }
    return false;
}

bool CPosixSerialBackend::Open(const std::wstring& devicePath) {
    Close();
    // Only device paths; a relative name would open some file in the working directory.
    if (devicePath.empty() || devicePath.front() != L'/' || m_cancelRead < 0) {
        return FailOpen(std::string(), ENOENT);
    }
    const std::string path = ToUtf8(devicePath);
    int fd;
    do {
        fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        return FailOpen(path, errno);
    }
    // The lock keeps out every other opener, the privileged ones too, which
    // TIOCEXCL alone does not.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        ::close(fd);
        return FailOpen(path, error);
    }
    if (!::isatty(fd)) {
        ::close(fd);
        return FailOpen(path, ENOTTY);
    }
    ::ioctl(fd, TIOCEXCL);
    m_fd = fd;
    m_openFailure = SerialOpenFailure{};
    ForgetCancel();
    return true;
}

bool CPosixSerialBackend::Configure(const SerialLineSettings& settings) {
    if (m_fd < 0) {
        return false;
    }
    termios tio{};
    speed_t speed;
    if (::tcgetattr(m_fd, &tio) != 0 || !ToSpeed(settings.baudRate, speed)) {
        return false;
    }
    ::cfmakeraw(&tio);
    tio.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY | INPCK);
    tio.c_iflag |= IGNBRK;
    tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS | HUPCL);
    tio.c_cflag |= CLOCAL | CREAD;
    switch (settings.byteSize) {
    case 5:
        tio.c_cflag |= CS5;
        break;
    case 6:
        tio.c_cflag |= CS6;
        break;
    case 7:
        tio.c_cflag |= CS7;
        break;
    case 8:
        tio.c_cflag |= CS8;
        break;
    default:
        return false;
    }
    switch (settings.parity) {
    case 0:
        break;
    case 1:
        tio.c_cflag |= PARENB | PARODD;
        break;
    case 2:
        tio.c_cflag |= PARENB;
        break;
    default:
        return false;
    }
    if (settings.stopBits == 2) {
        tio.c_cflag |= CSTOPB;
    } else if (settings.stopBits != 0) {
        return false;
    }
    // Reads are timed by poll(), never by the driver.
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    if (::cfsetispeed(&tio, speed) != 0 || ::cfsetospeed(&tio, speed) != 0 ||
        ::tcsetattr(m_fd, TCSANOW, &tio) != 0) {
        return false;
    }
    // Pseudo-terminals and some adapters have no modem lines; that is no fault.
    int lines = TIOCM_DTR | TIOCM_RTS;
    ::ioctl(m_fd, TIOCMBIC, &lines);
    return true;
}

std::size_t CPosixSerialBackend::Write(const std::uint8_t* data, std::size_t count) {
    if (m_fd < 0) {
        return 0;
    }
    std::size_t written = 0;
    while (written < count) {
        const ssize_t n = ::write(m_fd, data + written, count - written);
        if (n > 0) {
            written += static_cast<std::size_t>(n);
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            if (!WaitFor(POLLOUT, -1)) {
                break;
            }
        } else {
            break;
        }
    }
    while (::tcdrain(m_fd) != 0 && errno == EINTR) {
    }
    return written;
}

std::size_t CPosixSerialBackend::Read(std::uint8_t* buffer, std::size_t count, std::uint32_t timeoutMs) {
    if (m_fd < 0) {
        return 0;
    }
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    std::size_t got = 0;
    while (got < count) {
        const ssize_t n = ::read(m_fd, buffer + got, count - got);
        if (n > 0) {
            got += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) {
            continue;
        }
        // A raw terminal without a minimum count answers "nothing yet" with 0.
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) {
            break; // a device error: return what came
        }
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0 || !WaitFor(POLLIN, static_cast<int>(left + 1))) {
            break;
        }
    }
    return got;
}

bool CPosixSerialBackend::WaitFor(short events, int timeoutMs) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline =
        Clock::now() + std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs);
    for (;;) {
        pollfd fds[2] = {{m_fd, events, 0}, {m_cancelRead, POLLIN, 0}};
        int wait = timeoutMs;
        if (timeoutMs >= 0) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
            wait = left > 0 ? static_cast<int>(left) : 0;
        }
        const int ready = ::poll(fds, 2, wait);
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        // A hang-up ends the wait even when the device also reports input:
        // whatever was there has been read before we got here.
        if (ready <= 0 || (fds[1].revents & POLLIN) != 0 ||
            (fds[0].revents & (POLLHUP | POLLERR | POLLNVAL)) != 0) {
            return false;
        }
        return (fds[0].revents & events) != 0;
    }
}

void CPosixSerialBackend::Purge(std::uint32_t flags) {
    ForgetCancel();
    if (m_fd < 0) {
        return;
    }
    const bool input = (flags & (kPurgeRxAbort | kPurgeRxClear)) != 0;
    const bool output = (flags & (kPurgeTxAbort | kPurgeTxClear)) != 0;
    if (input && output) {
        ::tcflush(m_fd, TCIOFLUSH);
    } else if (input) {
        ::tcflush(m_fd, TCIFLUSH);
    } else if (output) {
        ::tcflush(m_fd, TCOFLUSH);
    }
}

void CPosixSerialBackend::CancelPending() {
    if (m_cancelWrite >= 0) {
        const std::uint8_t signal = 1;
        // A full pipe already holds a pending cancel.
        [[maybe_unused]] const ssize_t ignored = ::write(m_cancelWrite, &signal, 1);
    }
}

void CPosixSerialBackend::ForgetCancel() {
    if (m_cancelRead < 0) {
        return;
    }
    std::uint8_t sink[64];
    while (::read(m_cancelRead, sink, sizeof sink) > 0) {
    }
}

void CPosixSerialBackend::Close() {
    if (m_fd < 0) {
        return;
    }
    // The exclusive flag belongs to the terminal, not to this descriptor: leave
    // it set and nobody could open the device again while another holder stays.
    ::ioctl(m_fd, TIOCNXCL);
    ::flock(m_fd, LOCK_UN);
    ::close(m_fd);
    m_fd = -1;
}
