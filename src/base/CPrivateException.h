#pragma once
#include "base/CException.h"

#include <string>

// The one exception type that the system's own code raises. It carries a
// finished text; the empty text marks a user's cancellation.
class CPrivateException : public CException {
public:
    // A null pointer gives the empty text.
    explicit CPrivateException(const wchar_t* text);
    explicit CPrivateException(std::wstring text);
    CPrivateException(const CPrivateException&) = default;
    CPrivateException& operator=(const CPrivateException&) = default;
    ~CPrivateException() override;

    static const char* GetRuntimeClassName() { return "CPrivateException"; }

    // Copies at most size - 1 characters and always terminates; returns true.
    bool GetErrorMessage(wchar_t* buffer, std::size_t size, unsigned* helpContext = nullptr) const override;

    const std::wstring& GetText() const { return m_message; }
    bool IsCancellation() const { return m_message.empty(); }

    const char* what() const noexcept override;

private:
    std::wstring m_message;
    std::string m_utf8;
};
