#include "link/win32/CWin32SerialBackend.h"

#include "link/CComPortList.h"

#include "base/Win32Error.h"

#include <windows.h>

#include <algorithm>

namespace {

// How long past its own time-out a transfer may take before it is given up:
// the port's driver ends reads itself, this only guards against one that does not.
constexpr DWORD kDriverGraceMs = 2000;

} // namespace

std::wstring Win32PortDeviceName(const std::wstring& devicePath) {
    std::wstring name = devicePath;
    if (name.starts_with(L"\\\\.\\")) {
        name.erase(0, 4);
    }
    const std::optional<int> number = CComPortList::PortNumberOfName(name);
    return number ? L"\\\\.\\COM" + std::to_wstring(*number) : std::wstring();
}

CWin32SerialBackend::CWin32SerialBackend()
    : m_port(INVALID_HANDLE_VALUE),
      m_cancelEvent(::CreateEventW(nullptr, TRUE, FALSE, nullptr)),
      m_ioEvent(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

CWin32SerialBackend::~CWin32SerialBackend() {
    CWin32SerialBackend::Close();
    if (m_cancelEvent != nullptr) {
        ::CloseHandle(m_cancelEvent);
    }
    if (m_ioEvent != nullptr) {
        ::CloseHandle(m_ioEvent);
    }
}

bool CWin32SerialBackend::Open(const std::wstring& devicePath) {
    Close();
    m_openFailure = SerialOpenFailure{};
    const std::wstring name = Win32PortDeviceName(devicePath);
    if (name.empty() || m_cancelEvent == nullptr || m_ioEvent == nullptr) {
        m_openFailure.kind = SerialOpenFailure::Kind::NotPresent;
        return false;
    }
    // Some port drivers (virtual ports, Wine's) let a second program open a
    // port that is held: a name of the port held while it is open keeps out
    // other programs of this tool at least, with the same reason.
    const std::wstring lockName = L"Local\\K52CFG-" + name.substr(4);
    HANDLE lock = ::CreateMutexW(nullptr, FALSE, lockName.c_str());
    if (lock == nullptr || ::GetLastError() == ERROR_ALREADY_EXISTS) {
        if (lock != nullptr) {
            ::CloseHandle(lock);
        }
        m_openFailure.kind = SerialOpenFailure::Kind::InUse;
        return false;
    }
    // No sharing: while we hold the port, nobody else opens it.
    HANDLE port = ::CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                FILE_FLAG_OVERLAPPED, nullptr);
    if (port == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        ::CloseHandle(lock);
        m_openFailure.systemError = static_cast<int>(error);
        switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_DEV_NOT_EXIST:
        case ERROR_BAD_UNIT:
        case ERROR_NOT_READY:
            m_openFailure.kind = SerialOpenFailure::Kind::NotPresent;
            break;
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
        case ERROR_BUSY:
            // Windows reports a COM port that another program holds as
            // "access denied": the port's driver admits one opener only.
            m_openFailure.kind = SerialOpenFailure::Kind::InUse;
            break;
        case ERROR_PRIVILEGE_NOT_HELD:
            m_openFailure.kind = SerialOpenFailure::Kind::NoPermission;
            break;
        default:
            m_openFailure.systemText = Win32ErrorText(error);
            break;
        }
        return false;
    }
    // Something that is no serial port (a pipe, a file) has no comm state.
    DCB state{};
    state.DCBlength = sizeof state;
    if (::GetFileType(port) != FILE_TYPE_CHAR || ::GetCommState(port, &state) == 0) {
        ::CloseHandle(port);
        ::CloseHandle(lock);
        m_openFailure.kind = SerialOpenFailure::Kind::NotPresent;
        return false;
    }
    m_port = port;
    m_portLock = lock;
    m_readTimeoutSet = false;
    m_cancelled = false;
    ::ResetEvent(m_cancelEvent);
    return true;
}

bool CWin32SerialBackend::Configure(const SerialLineSettings& settings) {
    if (m_port == INVALID_HANDLE_VALUE || settings.byteSize < 5 || settings.byteSize > 8 || settings.parity > 2 ||
        (settings.stopBits != 0 && settings.stopBits != 2)) {
        return false;
    }
    DCB state{};
    state.DCBlength = sizeof state;
    if (::GetCommState(m_port, &state) == 0) {
        return false;
    }
    state.BaudRate = settings.baudRate;
    state.ByteSize = static_cast<BYTE>(settings.byteSize);
    // The codes are the system's own: none/odd/even 0/1/2, one/two stop bits 0/2.
    state.Parity = static_cast<BYTE>(settings.parity);
    state.StopBits = static_cast<BYTE>(settings.stopBits);
    state.fBinary = TRUE;
    state.fParity = FALSE;
    state.fOutxCtsFlow = FALSE;
    state.fOutxDsrFlow = FALSE;
    state.fDtrControl = DTR_CONTROL_DISABLE;
    state.fDsrSensitivity = FALSE;
    state.fTXContinueOnXoff = TRUE;
    state.fOutX = FALSE;
    state.fInX = FALSE;
    state.fErrorChar = FALSE;
    state.fNull = FALSE;
    state.fRtsControl = RTS_CONTROL_DISABLE;
    state.fAbortOnError = FALSE;
    return ::SetCommState(m_port, &state) != 0 && SetReadTimeout(1000);
}

bool CWin32SerialBackend::SetReadTimeout(std::uint32_t timeoutMs) {
    if (m_readTimeoutSet && m_readTimeoutMs == timeoutMs) {
        return true;
    }
    COMMTIMEOUTS timeouts{};
    if (timeoutMs == 0) {
        // Return at once with what is there (all zero would mean "wait for ever").
        timeouts.ReadIntervalTimeout = MAXDWORD;
    } else {
        // Wait at most the constant for all asked bytes, then return what came.
        timeouts.ReadTotalTimeoutConstant = timeoutMs;
    }
    if (::SetCommTimeouts(m_port, &timeouts) == 0) {
        return false;
    }
    m_readTimeoutMs = timeoutMs;
    m_readTimeoutSet = true;
    return true;
}

std::size_t CWin32SerialBackend::Transfer(bool write, void* data, std::uint32_t count, std::uint32_t boundMs) {
    // ReadFile and WriteFile reset the event themselves.
    OVERLAPPED overlapped{};
    overlapped.hEvent = m_ioEvent;
    DWORD moved = 0;
    const BOOL done = write ? ::WriteFile(m_port, data, count, &moved, &overlapped)
                            : ::ReadFile(m_port, data, count, &moved, &overlapped);
    if (done == 0 && ::GetLastError() != ERROR_IO_PENDING) {
        return 0;
    }
    if (done == 0) {
        HANDLE events[2] = {m_ioEvent, m_cancelEvent};
        const DWORD woke = ::WaitForMultipleObjects(2, events, FALSE, boundMs);
        if (woke != WAIT_OBJECT_0) {
            // Cancelled, or the driver overran every bound: end the transfer
            // and take what it had moved by then.
            ::CancelIoEx(m_port, &overlapped);
        }
        if (::GetOverlappedResult(m_port, &overlapped, &moved, TRUE) == 0) {
            // A cancelled transfer still reports what it moved.
            return moved;
        }
    }
    return moved;
}

std::size_t CWin32SerialBackend::Write(const std::uint8_t* data, std::size_t count) {
    if (m_port == INVALID_HANDLE_VALUE) {
        return 0;
    }
    std::size_t written = 0;
    while (written < count && !m_cancelled.load()) {
        const auto chunk = static_cast<std::uint32_t>(std::min<std::size_t>(count - written, 65536));
        const std::size_t n = Transfer(true, const_cast<std::uint8_t*>(data + written), chunk, INFINITE);
        if (n == 0) {
            break;
        }
        written += n;
    }
    ::FlushFileBuffers(m_port);
    return written;
}

std::size_t CWin32SerialBackend::Read(std::uint8_t* buffer, std::size_t count, std::uint32_t timeoutMs) {
    if (m_port == INVALID_HANDLE_VALUE || count == 0 || !SetReadTimeout(timeoutMs)) {
        return 0;
    }
    // One read: the driver returns when all bytes came or the time-out ran out.
    const auto asked = static_cast<std::uint32_t>(std::min<std::size_t>(count, MAXDWORD));
    return Transfer(false, buffer, asked, timeoutMs + kDriverGraceMs);
}

void CWin32SerialBackend::Purge(std::uint32_t flags) {
    if (m_cancelled.exchange(false)) {
        ::ResetEvent(m_cancelEvent);
    }
    if (m_port == INVALID_HANDLE_VALUE) {
        return;
    }
    // (A line error stops no transfer: the port does not abort on errors,
    // so there is no error state to clear first.)
    // The bits are the system's own PURGE_* values.
    ::PurgeComm(m_port, flags & (PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR));
}

void CWin32SerialBackend::CancelPending() {
    if (m_cancelEvent != nullptr) {
        m_cancelled = true;
        ::SetEvent(m_cancelEvent);
    }
}

void CWin32SerialBackend::Close() {
    if (m_port == INVALID_HANDLE_VALUE) {
        return;
    }
    ::CancelIoEx(m_port, nullptr);
    ::CloseHandle(m_port);
    m_port = INVALID_HANDLE_VALUE;
    ::CloseHandle(m_portLock);
    m_portLock = nullptr;
}
