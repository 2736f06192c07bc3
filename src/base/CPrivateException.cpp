#include "base/CPrivateException.h"

#include "base/TextConvert.h"

CPrivateException::CPrivateException(FailureKind kind, const wchar_t* text)
    : CPrivateException(kind, text != nullptr ? std::wstring(text) : std::wstring()) {}

CPrivateException::CPrivateException(FailureKind kind, std::wstring text)
    : m_kind(kind), m_message(std::move(text)), m_utf8(ToUtf8(m_message)) {}

CPrivateException::~CPrivateException() = default;

CPrivateException CPrivateException::Cancellation() {
    return CPrivateException(FailureKind::Cancelled, std::wstring());
}

bool CPrivateException::GetErrorMessage(wchar_t* buffer, std::size_t size, unsigned* /*helpContext*/) const {
    if (buffer == nullptr || size == 0) {
        return true;
    }
    std::size_t count = m_message.size() < size - 1 ? m_message.size() : size - 1;
    m_message.copy(buffer, count);
    buffer[count] = L'\0';
    buffer[size - 1] = L'\0';
    return true;
}

const char* CPrivateException::what() const noexcept {
    return m_utf8.c_str();
}

FailureKind GetFailureKind(const std::exception& error) {
    const auto* own = dynamic_cast<const CPrivateException*>(&error);
    return own != nullptr ? own->GetKind() : FailureKind::Other;
}

bool IsCancellation(const std::exception& error) {
    return GetFailureKind(error) == FailureKind::Cancelled;
}
