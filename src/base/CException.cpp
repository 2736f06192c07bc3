#include "base/CException.h"

#include "base/TextConvert.h"

#include <cstdio>
#include <mutex>
#include <vector>

namespace {

std::mutex g_handlerMutex;
ErrorReportHandler g_handler;

void DefaultReport(const std::wstring& text) {
    std::string utf8 = ToUtf8(text);
    std::fprintf(stderr, "%s\n", utf8.c_str());
    std::fflush(stderr);
}

} // namespace

CException::~CException() = default;

bool CException::GetErrorMessage(wchar_t* buffer, std::size_t size, unsigned* helpContext) const {
    if (buffer != nullptr && size > 0) {
        buffer[0] = L'\0';
    }
    if (helpContext != nullptr) {
        *helpContext = 0;
    }
    return false;
}

void CException::ReportError() const {
    wchar_t buffer[512];
    buffer[0] = L'\0';
    GetErrorMessage(buffer, 512);
    ReportErrorText(buffer);
}

const char* CException::what() const noexcept {
    return "CException";
}

ErrorReportHandler SetErrorReportHandler(ErrorReportHandler handler) {
    std::lock_guard lock(g_handlerMutex);
    ErrorReportHandler previous = std::move(g_handler);
    g_handler = std::move(handler);
    return previous;
}

void ReportErrorText(const std::wstring& text) {
    ErrorReportHandler handler;
    {
        std::lock_guard lock(g_handlerMutex);
        handler = g_handler;
    }
    if (handler) {
        handler(text);
    } else {
        DefaultReport(text);
    }
}

std::wstring GetExceptionMessage(const std::exception& error, std::size_t bufferSize) {
    if (bufferSize == 0) {
        return {};
    }
    if (const auto* own = dynamic_cast<const CException*>(&error)) {
        std::vector<wchar_t> buffer(bufferSize, L'\0');
        own->GetErrorMessage(buffer.data(), buffer.size());
        return std::wstring(buffer.data());
    }
    std::wstring text = FromUtf8(error.what());
    if (text.size() > bufferSize - 1) {
        text.resize(bufferSize - 1);
    }
    return text;
}
