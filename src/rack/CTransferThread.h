#pragma once
#include "base/CResourceManager.h"
#include "rack/CCardSlot.h"
#include "rack/CProgressThreadInterface.h"

#include <string>

class CJX5COMInterface;

// What an upload and a download thread share: the thread's own rack, the
// starter's link, the progress text, the cancel through the link, and the
// worker body (open the link, run the rack operation, complete the counter,
// close the link).
class CTransferThread : public CProgressThreadInterface, protected CResourceManager {
public:
    enum class Operation { Upload, Download };

    ~CTransferThread() override;

    // The starter's link, given before Start. The starter keeps it until the
    // thread object is gone: the destructor waits for the work to end.
    void SetLink(CJX5COMInterface& link) { m_link = &link; }

    CCardSlot& GetRack() { return m_rack; }
    const CCardSlot& GetRack() const { return m_rack; }

    std::wstring GetProgressText() const override { return m_progressText; }

    // Interrupts a pending exchange through the link, then marks the thread cancelled.
    void Cancel() override;

protected:
    // The operation is fixed at construction rather than chosen by a virtual
    // call, so the worker never calls into a derived part being destroyed.
    explicit CTransferThread(Operation operation);

    void Run() override;

private:
    const Operation m_operation;
    CCardSlot m_rack;
    CJX5COMInterface* m_link = nullptr;
    const std::wstring m_progressText;
};
