#pragma once
#include "base/CResourceManager.h"
#include "link/CComSettings.h"
#include "link/CSerialBackend.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

// The serial port of the link: opens, configures, writes, reads, purges and
// closes one port. Device paths with a registered prefix (RegisterVirtualPortFactory)
// are served in-process; every other path is a device of the operating system.
class CSerialIO : public CResourceManager {
public:
    // Millisecond values in the platform's order; zero means no limit for the
    // write values and no use of the interval and multiplier.
    struct Timeouts {
        std::uint32_t readInterval = 0;
        std::uint32_t readTotalMultiplier = 0;
        std::uint32_t readTotalConstant = 3000;
        std::uint32_t writeTotalMultiplier = 0;
        std::uint32_t writeTotalConstant = 0;
    };

    CSerialIO();
    ~CSerialIO() override;
    CSerialIO(const CSerialIO&) = delete;
    CSerialIO& operator=(const CSerialIO&) = delete;

    // Copies the settings, then opens and configures the port of their device
    // path. Raises "serio.openerr" (with the display name) or "serio.seterr".
    void ApplySettings(const CComSettings& settings);

    void SetReadTimeout(std::uint32_t milliseconds);

    // Writes the whole buffer and pushes it out; a short write raises "serio.seterr".
    std::size_t Write(const std::uint8_t* data, std::size_t count);

    // Waits up to the read time-out for count bytes and returns how many came.
    // Never raises.
    std::size_t Read(std::uint8_t* buffer, std::size_t count);

    // Discards input and/or output as the purge bits of CSerialBackend say.
    void Purge(std::uint32_t flags);

    // Reads and throws away what comes in: waits up to firstByteMs for a
    // byte, then goes on until no byte has come for settleMs, or until
    // boundMs have passed in all. Ends at once on a cancel or a dead device.
    // Returns how many bytes it threw away.
    std::size_t Drain(std::uint32_t firstByteMs, std::uint32_t settleMs, std::uint32_t boundMs);

    void Close();

    // The one operation another thread may call while a read or write runs:
    // ends it at once. Harmless when the port is closed or idle.
    void CancelPending();

    bool IsOpen() const;
    // See CSerialBackend::StartsClean; false when closed.
    bool StartsClean() const;
    const std::wstring& GetDevicePath() const { return m_devicePath; }
    const Timeouts& GetTimeouts() const { return m_timeouts; }
    const SerialLineSettings& GetLineSettings() const { return m_line; }
    const CComSettings& GetSettings() const { return m_settings; }

    // The text of a failed opening: "serio.openerr" with the display name,
    // then the reason in the user's language.
    std::wstring OpenFailureText(const SerialOpenFailure& failure) const;

private:
    // Guards the backend pointer against CancelPending from another thread;
    // reads and writes run on the owning thread, which alone replaces it.
    mutable std::mutex m_backendMutex;
    std::unique_ptr<CSerialBackend> m_backend;
    Timeouts m_timeouts;
    std::wstring m_devicePath;
    SerialLineSettings m_line;
    CComSettings m_settings;
};
