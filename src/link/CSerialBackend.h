#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

// Line parameters handed to a port: the values, not the stored codes.
struct SerialLineSettings {
    std::uint32_t baudRate = 9600;
    std::uint32_t byteSize = 8;
    std::uint32_t parity = 0;   // 0 none, 1 odd, 2 even
    std::uint32_t stopBits = 0; // 0 one, 2 two
    bool binary = true;
};

// Why a port could not be opened, as far as the system tells.
struct SerialOpenFailure {
    enum class Kind {
        Unknown,      // no reason known; systemError may still hold one
        NotPresent,   // no such device (unplugged, or the program serving it has ended)
        InUse,        // another program holds it
        NoPermission, // the user may not open it
    };
    Kind kind = Kind::Unknown;
    int systemError = 0;
    std::wstring group; // NoPermission: the device's group, when joining it would grant access
};

// What CSerialIO needs from a port. The operating system's serial driver is
// one implementation; an in-process station (device paths such as "sim:") is
// another. Every operation except CancelPending runs on the owning thread.
class CSerialBackend {
public:
    // Purge bits: abort transmit, abort receive, clear transmit, clear receive.
    static constexpr std::uint32_t kPurgeTxAbort = 0x01;
    static constexpr std::uint32_t kPurgeRxAbort = 0x02;
    static constexpr std::uint32_t kPurgeTxClear = 0x04;
    static constexpr std::uint32_t kPurgeRxClear = 0x08;

    virtual ~CSerialBackend();

    // Exclusive open; false when the device is missing or busy.
    virtual bool Open(const std::wstring& devicePath) = 0;
    // Why the last Open failed.
    virtual SerialOpenFailure GetOpenFailure() const { return {}; }
    // True when nothing from before the Open can arrive (an in-process
    // station starts a new line with every opening); a device of the system
    // may still deliver what its last user left on the way.
    virtual bool StartsClean() const { return false; }
    // False when the device refuses the settings.
    virtual bool Configure(const SerialLineSettings& settings) = 0;
    // Writes the whole buffer and pushes it out; returns how many bytes went.
    virtual std::size_t Write(const std::uint8_t* data, std::size_t count) = 0;
    // Waits up to timeoutMs for all count bytes; returns how many arrived.
    virtual std::size_t Read(std::uint8_t* buffer, std::size_t count, std::uint32_t timeoutMs) = 0;
    // Discards pending input and/or output, and forgets an earlier cancel.
    virtual void Purge(std::uint32_t flags) = 0;
    // Ends a blocked Read or Write at once; a cancel that arrives before the
    // read starts ends that read as well. Callable from any thread.
    virtual void CancelPending() = 0;
    virtual void Close() = 0;
};

// Makes a backend for a device path that begins with a registered prefix.
using VirtualPortFactory = std::function<std::unique_ptr<CSerialBackend>(const std::wstring& devicePath)>;

// Registers the factory of a prefix, process-wide; an empty factory removes it.
void RegisterVirtualPortFactory(const std::wstring& prefix, VirtualPortFactory factory);

// The factory whose prefix begins the path (the longest one), or an empty one.
VirtualPortFactory FindVirtualPortFactory(const std::wstring& devicePath);
