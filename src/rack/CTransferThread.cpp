#include "rack/CTransferThread.h"

#include "link/CJX5COMInterface.h"

#include <stdexcept>

CTransferThread::CTransferThread(Operation operation)
    : m_operation(operation),
      m_progressText(GetMessage(operation == Operation::Upload ? Msg::uploading : Msg::downloading)) {}

CTransferThread::~CTransferThread() {
    // The worker uses the rack and the link pointer, which go before the base.
    Wait();
}

void CTransferThread::Cancel() {
    if (m_link != nullptr) {
        m_link->Cancel();
    }
    CProgressThreadInterface::Cancel();
}

void CTransferThread::Run() {
    if (m_link == nullptr) {
        throw std::logic_error("the transfer was started without a link");
    }
    try {
        m_link->Open();
        const std::uint64_t mask = m_link->GetSettings().GetModuleSelectionMask();
        if (m_operation == Operation::Upload) {
            m_rack.Upload(*m_link, GetProgress(), mask);
        } else {
            m_rack.Download(*m_link, GetProgress(), mask);
        }
        GetProgress().Complete();
        m_link->Close();
    } catch (const std::exception& error) {
        // The link's Cancel fails the pending exchange before Cancel() has
        // marked this thread, so the failure may arrive first. A failure on a
        // cancelled link is the cancellation and ends without a failure; only
        // a module left half-written is still mentioned.
        if (m_link->IsCancelled()) {
            CProgressThreadInterface::Cancel();
            StoreCancelNotice(error);
            return;
        }
        throw;
    }
}
