#pragma once
#include "link/CSerialBackend.h"

// A serial device of the operating system through termios: exclusive, raw,
// non-blocking underneath, with reads that wait in poll() on the device and
// on a self-pipe, so that a cancel from another thread ends the wait at once.
class CPosixSerialBackend : public CSerialBackend {
public:
    CPosixSerialBackend();
    ~CPosixSerialBackend() override;
    CPosixSerialBackend(const CPosixSerialBackend&) = delete;
    CPosixSerialBackend& operator=(const CPosixSerialBackend&) = delete;

    bool Open(const std::wstring& devicePath) override;
    // Whether joining the device's group would let a user open it: only when
    // that group may read and write it, and it is not the superuser's group.
    static bool GroupMembershipGrantsAccess(unsigned groupId, unsigned mode);
    SerialOpenFailure GetOpenFailure() const override { return m_openFailure; }
    bool Configure(const SerialLineSettings& settings) override;
    std::size_t Write(const std::uint8_t* data, std::size_t count) override;
    std::size_t Read(std::uint8_t* buffer, std::size_t count, std::uint32_t timeoutMs) override;
    void Purge(std::uint32_t flags) override;
    void CancelPending() override;
    void Close() override;

private:
    // Waits for the device to become ready for events, or for a cancel.
    // Returns false on a cancel, a time-out or a hang-up.
    bool WaitFor(short events, int timeoutMs);
    void ForgetCancel();
    bool FailOpen(const std::string& path, int error);

    int m_fd = -1;
    int m_cancelRead = -1;
    int m_cancelWrite = -1;
    SerialOpenFailure m_openFailure;
};
