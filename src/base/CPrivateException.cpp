#include "base/CPrivateException.h"

#include "base/TextConvert.h"

CPrivateException::CPrivateException(const wchar_t* text)
    : CPrivateException(text != nullptr ? std::wstring(text) : std::wstring()) {}

CPrivateException::CPrivateException(std::wstring text) : m_message(std::move(text)), m_utf8(ToUtf8(m_message)) {}

CPrivateException::~CPrivateException() = default;

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
