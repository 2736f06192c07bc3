#pragma once
#include "app/CResourceManager.h"
#include "rack/CCardSlot.h"
#include "rack/CProgressThreadInterface.h"

#include <string>

class CJX5COMInterface;

// Writes a rack into the station. The starter assigns its own rack to
// GetRack() (the two then share the cards) and gives it its link (settings
// and selection mask filled in) before starting it.
class CDownloadThread : public CProgressThreadInterface, protected CResourceManager {
public:
    CDownloadThread();
    ~CDownloadThread() override;

    // The starter's link; it must outlive the thread's work.
    void SetLink(CJX5COMInterface* link) { m_link = link; }

    CCardSlot& GetRack() { return m_rack; }
    const CCardSlot& GetRack() const { return m_rack; }

    std::wstring GetProgressText() const override { return m_progressText; }

    // Interrupts a pending exchange through the link, then marks the thread cancelled.
    void Cancel() override;

protected:
    void Run() override;

private:
    CCardSlot m_rack;
    CJX5COMInterface* m_link = nullptr;
    const std::wstring m_progressText;
};
