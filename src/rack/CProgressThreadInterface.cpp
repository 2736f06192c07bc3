#include "rack/CProgressThreadInterface.h"

CProgressThreadInterface::CProgressThreadInterface() = default;

CProgressThreadInterface::~CProgressThreadInterface() {
    Wait();
    if (m_error) {
        try {
            m_error->ReportError();
        } catch (...) {
            // A destructor must not raise; a failing report has nowhere to go.
        }
    }
}

void CProgressThreadInterface::Start() {
    if (m_started.exchange(true)) {
        return;
    }
    try {
        m_thread = std::thread(&CProgressThreadInterface::ThreadMain, this);
    } catch (...) {
        m_started = false;
        throw;
    }
}

bool CProgressThreadInterface::HasEnded() const {
    return m_ended.load(std::memory_order_acquire);
}

bool CProgressThreadInterface::Succeeded() const {
    return HasEnded() && !m_failed && !IsCancelled();
}

void CProgressThreadInterface::Wait() {
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

std::wstring CProgressThreadInterface::GetProgressText() const {
    return {};
}

void CProgressThreadInterface::Cancel() {
    m_cancelled = true;
}

void CProgressThreadInterface::Run() {}

void CProgressThreadInterface::StoreError(const std::exception& error) {
    if (IsCancelled()) {
        return;
    }
    m_failed = true;
    m_error = std::make_unique<CPrivateException>(GetFailureKind(error), GetExceptionMessage(error, 1024));
}

void CProgressThreadInterface::StoreCancelNotice(const std::exception& error) {
    if (!IsCancellation(error)) {
        m_error =
            std::make_unique<CPrivateException>(GetFailureKind(error), GetExceptionMessage(error, 1024));
    }
}

void CProgressThreadInterface::ThreadMain() {
    try {
        Run();
    } catch (const std::exception& error) {
        try {
            StoreError(error);
        } catch (...) {
            // Not even the copy of the text could be made (memory). The
            // failure flag still tells the starter that the work did not succeed.
        }
    }
    // Release: whoever sees the end also sees the kept error.
    m_ended.store(true, std::memory_order_release);
}
