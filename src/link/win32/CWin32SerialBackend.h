#pragma once
#include "link/CSerialBackend.h"

#include <atomic>

// A COM port of Windows: opened exclusively with overlapped I/O, so that a
// read waits on the port's own time-out and on a cancel event at once, and a
// cancel from another thread ends it without waiting for the time-out.
class CWin32SerialBackend : public CSerialBackend {
public:
    CWin32SerialBackend();
    ~CWin32SerialBackend() override;
    CWin32SerialBackend(const CWin32SerialBackend&) = delete;
    CWin32SerialBackend& operator=(const CWin32SerialBackend&) = delete;

    // "COM3" or "\\.\COM3"; any other path (a file, a pipe) is refused.
    bool Open(const std::wstring& devicePath) override;
    SerialOpenFailure GetOpenFailure() const override { return m_openFailure; }
    bool Configure(const SerialLineSettings& settings) override;
    std::size_t Write(const std::uint8_t* data, std::size_t count) override;
    std::size_t Read(std::uint8_t* buffer, std::size_t count, std::uint32_t timeoutMs) override;
    void Purge(std::uint32_t flags) override;
    void CancelPending() override;
    void Close() override;

private:
    // Runs one overlapped transfer to its end, a cancel or a bound; returns the bytes moved.
    std::size_t Transfer(bool write, void* data, std::uint32_t count, std::uint32_t boundMs);
    bool SetReadTimeout(std::uint32_t timeoutMs);

    void* m_port;               // HANDLE; INVALID_HANDLE_VALUE when closed
    void* m_portLock = nullptr; // the named mutex held with the port
    void* m_cancelEvent;        // manual reset: set by CancelPending, reset by Open and Purge
    // Whether the cancel event is set: each system call costs a round trip
    // on some systems (Wine), so the exchange's own path asks this instead.
    std::atomic<bool> m_cancelled = false;
    void* m_ioEvent;
    std::uint32_t m_readTimeoutMs = 0;
    bool m_readTimeoutSet = false;
    SerialOpenFailure m_openFailure;
};

// The name Windows opens a COM port by ("\\.\COM12"), from "COM12" or
// "\\.\COM12" (any case); empty for anything else.
std::wstring Win32PortDeviceName(const std::wstring& devicePath);
