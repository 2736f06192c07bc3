#include "link/CSerialIO.h"

#include "base/CMessageFormatter.h"
#include "base/CPrivateException.h"
#include "base/CProfile.h"
#ifdef _WIN32
#include "link/win32/CWin32SerialBackend.h"
#else
#include "link/posix/CPosixSerialBackend.h"
#endif

#include <algorithm>
#include <chrono>

namespace {

CMemoryProfile& EmptyProfile() {
    static CMemoryProfile profile;
    return profile;
}

} // namespace

// The copy of the settings is overwritten by ApplySettings; it need not read
// the user's profile before that.
CSerialIO::CSerialIO() : m_settings(EmptyProfile()) {}

CSerialIO::~CSerialIO() {
    Close();
}

void CSerialIO::ApplySettings(const CComSettings& settings) {
    m_settings = settings;
    m_devicePath = settings.GetDevicePath();
    Close();

    std::unique_ptr<CSerialBackend> backend;
    if (VirtualPortFactory factory = FindVirtualPortFactory(m_devicePath)) {
        backend = factory(m_devicePath);
    } else {
#ifdef _WIN32
        backend = std::make_unique<CWin32SerialBackend>();
#else
        backend = std::make_unique<CPosixSerialBackend>();
#endif
    }
    if (!backend) {
        throw CPrivateException(FailureKind::Port, OpenFailureText(SerialOpenFailure{}));
    }
    if (!backend->Open(m_devicePath)) {
        const SerialOpenFailure failure = backend->GetOpenFailure();
        throw CPrivateException(failure.kind == SerialOpenFailure::Kind::NotPresent ? FailureKind::PortMissing
                                : failure.kind == SerialOpenFailure::Kind::InUse    ? FailureKind::PortInUse
                                                                                    : FailureKind::Port,
                                OpenFailureText(failure));
    }
    {
        std::lock_guard lock(m_backendMutex);
        m_backend = std::move(backend);
    }

    m_line = SerialLineSettings{};
    m_line.baudRate = m_settings.GetBaudRate();
    m_line.byteSize = m_settings.GetByteSize();
    m_line.parity = m_settings.GetParity();
    m_line.stopBits = m_settings.GetStopBits();
    m_line.binary = true;
    if (!m_backend->Configure(m_line)) {
        throw CPrivateException(FailureKind::Port, GetMessage(Msg::serio_seterr));
    }
}

void CSerialIO::SetReadTimeout(std::uint32_t milliseconds) {
    // Reads take the time-out record with them; there is nothing to refuse.
    m_timeouts.readTotalConstant = milliseconds;
}

std::size_t CSerialIO::Write(const std::uint8_t* data, std::size_t count) {
    const std::size_t written = m_backend ? m_backend->Write(data, count) : 0;
    if (written < count) {
        throw CPrivateException(FailureKind::Port, GetMessage(Msg::serio_seterr));
    }
    return written;
}

std::size_t CSerialIO::Read(std::uint8_t* buffer, std::size_t count) {
    if (!m_backend || count == 0) {
        return 0;
    }
    return m_backend->Read(buffer, count, m_timeouts.readTotalConstant);
}

void CSerialIO::Purge(std::uint32_t flags) {
    if (m_backend) {
        m_backend->Purge(flags);
    }
}

std::wstring CSerialIO::OpenFailureText(const SerialOpenFailure& failure) const {
    std::wstring text = FormatMessage(Msg::serio_openerr, m_settings.GetDisplayName());
    std::wstring reason;
    // The reason is an addition: a language file without its text still
    // gives the port's own message.
    try {
        switch (failure.kind) {
        case SerialOpenFailure::Kind::NotPresent:
            reason = GetMessage(Msg::serio_notpresent);
            break;
        case SerialOpenFailure::Kind::InUse:
            reason = GetMessage(Msg::serio_inuse);
            break;
        case SerialOpenFailure::Kind::NoPermission: {
            // Advise a group only where joining it helps: never root's, never
            // one without read and write access to the device.
            reason = failure.group.empty() ? GetMessage(Msg::serio_nopermission)
                                           : FormatMessage(Msg::serio_noaccess, failure.group, failure.group);
            break;
        }
        case SerialOpenFailure::Kind::Unknown:
            if (!failure.systemText.empty()) {
                reason = failure.systemText;
            } else if (failure.systemError != 0) {
                reason = CMessageFormatter::SystemErrorText(failure.systemError);
            }
            break;
        }
    } catch (const std::exception&) {
        reason.clear();
    }
    if (!reason.empty()) {
        text += L"\n" + reason;
    }
    return text;
}

std::size_t CSerialIO::Drain(std::uint32_t firstByteMs, std::uint32_t settleMs, std::uint32_t boundMs) {
    using Clock = std::chrono::steady_clock;
    if (!m_backend) {
        return 0;
    }
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(boundMs);
    std::uint8_t sink[256];
    std::size_t discarded = 0;
    std::uint32_t quiet = firstByteMs;
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) {
            break;
        }
        // One byte, so that the read comes back as soon as anything arrives;
        // then whatever else is there already.
        const std::uint32_t wait = std::min(quiet, static_cast<std::uint32_t>(left));
        const std::size_t got = m_backend->Read(sink, 1, wait);
        if (got == 0) {
            break;
        }
        discarded += got + m_backend->Read(sink, sizeof sink, 0);
        quiet = settleMs;
    }
    return discarded;
}

void CSerialIO::Close() {
    std::unique_ptr<CSerialBackend> closing;
    {
        std::lock_guard lock(m_backendMutex);
        closing = std::move(m_backend);
    }
    if (closing) {
        closing->Close();
    }
}

void CSerialIO::CancelPending() {
    std::lock_guard lock(m_backendMutex);
    if (m_backend) {
        m_backend->CancelPending();
    }
}

bool CSerialIO::StartsClean() const {
    std::lock_guard lock(m_backendMutex);
    return m_backend != nullptr && m_backend->StartsClean();
}

bool CSerialIO::IsOpen() const {
    std::lock_guard lock(m_backendMutex);
    return m_backend != nullptr;
}
