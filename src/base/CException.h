#pragma once
#include <cstddef>
#include <exception>
#include <functional>
#include <string>

// Root of the system's exceptions. It offers two services: fetching the
// message into a bounded buffer, and reporting it to the user through the
// process-wide error handler (a message box in the windows, stderr elsewhere).
class CException : public std::exception {
public:
    CException() = default;
    CException(const CException&) = default;
    CException& operator=(const CException&) = default;
    ~CException() override;

    // The root itself carries no message: empty buffer, help context 0, false.
    virtual bool GetErrorMessage(wchar_t* buffer, std::size_t size, unsigned* helpContext = nullptr) const;

    // Fetches the text into a buffer of 512 characters and hands it to the handler.
    void ReportError() const;

    const char* what() const noexcept override;
};

// Shows a finished message to the user. Replaceable: the windows install a
// message box, the command line prints, tests collect the texts.
using ErrorReportHandler = std::function<void(const std::wstring&)>;

// Installs a handler and returns the one it replaces. An empty handler
// restores the default, which writes the text to stderr.
ErrorReportHandler SetErrorReportHandler(ErrorReportHandler handler);

// Passes a text to the current handler.
void ReportErrorText(const std::wstring& text);

// The message of any caught exception, cut to bufferSize - 1 characters as
// GetErrorMessage would: our own exceptions give their text, others the
// text of what() (allocation and argument failures take the same road).
std::wstring GetExceptionMessage(const std::exception& error, std::size_t bufferSize = 1024);
