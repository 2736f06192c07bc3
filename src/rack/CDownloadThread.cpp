#include "rack/CDownloadThread.h"

#include "link/CJX5COMInterface.h"

#include <stdexcept>

CDownloadThread::CDownloadThread() : m_progressText(GetMessage(L"downloading")) {}

CDownloadThread::~CDownloadThread() {
    // The worker uses the rack and the link pointer, which go before the base.
    Wait();
}

void CDownloadThread::Cancel() {
    if (m_link != nullptr) {
        m_link->Cancel();
    }
    CProgressThreadInterface::Cancel();
}

void CDownloadThread::Run() {
    if (m_link == nullptr) {
        throw std::logic_error("the download was started without a link");
    }
    try {
        m_link->Open();
        m_rack.Download(*m_link, GetProgress(), m_link->GetSettings().GetModuleSelectionMask());
        GetProgress().Complete();
        m_link->Close();
    } catch (const std::exception&) {
        // The link's Cancel fails the pending exchange before Cancel() has
        // marked this thread, so the failure may arrive first. A failure on a
        // cancelled link is the cancellation and must end without a message.
        if (m_link->IsCancelled()) {
            CProgressThreadInterface::Cancel();
            return;
        }
        throw;
    }
}
