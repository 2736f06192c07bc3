#pragma once
#include "base/CException.h"

#include <exception>
#include <string>

// What kind of failure an exception reports. Code that must tell failures
// apart asks the kind, never the text: the text is in the user's language.
enum class FailureKind {
    Cancelled,     // the user cancelled; nothing to tell (the text is empty)
    Timeout,       // the station did not answer in time
    InvalidReply,  // the station's answer could not be read
    StationStatus, // the station answered with an error status or reported a failure
    Mismatch,      // the station holds other modules than the configuration
    PortMissing,   // the serial port is not there (unplugged, or its server has ended)
    PortInUse,     // another program holds the serial port
    Port,          // the serial port cannot be opened or set up otherwise
    Input,         // a value or text refused by its checks
    File,          // a file that cannot be read or written, or is not one of ours
    PartialWrite,  // a download stopped (failed or cancelled) while writing a module
    Other          // anything else: the operating system, the program's own limits
};

// The one exception type that the system's own code raises. It carries its
// kind and a finished text. A failure that wraps another (a link failure
// around a time-out, "Upload failed." around that) keeps the inner kind.
class CPrivateException : public CException {
public:
    // A null pointer gives the empty text.
    CPrivateException(FailureKind kind, const wchar_t* text);
    CPrivateException(FailureKind kind, std::wstring text);
    CPrivateException(const CPrivateException&) = default;
    CPrivateException& operator=(const CPrivateException&) = default;
    ~CPrivateException() override;

    // The user's cancellation: kind Cancelled, the empty text.
    static CPrivateException Cancellation();

    static const char* GetRuntimeClassName() { return "CPrivateException"; }

    // Copies at most size - 1 characters and always terminates; returns true.
    bool GetErrorMessage(wchar_t* buffer, std::size_t size, unsigned* helpContext = nullptr) const override;

    FailureKind GetKind() const { return m_kind; }
    const std::wstring& GetText() const { return m_message; }
    bool IsCancellation() const { return m_kind == FailureKind::Cancelled; }

    const char* what() const noexcept override;

private:
    FailureKind m_kind;
    std::wstring m_message;
    std::string m_utf8;
};

// The kind of any caught exception: ours tell theirs, anything else
// (allocation, a broken argument) is Other.
FailureKind GetFailureKind(const std::exception& error);

// Whether a caught exception is the user's cancellation.
bool IsCancellation(const std::exception& error);
