#pragma once
#include "app/CResourceManager.h"
#include "rack/CCardSlot.h"
#include "rack/CProgressThreadInterface.h"

#include <string>

class CJX5COMInterface;

// Reads the station into a rack of the thread's own. The starter gives it
// its link (settings and selection mask filled in), starts it, and after a
// success takes the chosen slots of GetRack() into its own rack.
class CUploadThread : public CProgressThreadInterface, protected CResourceManager {
public:
    CUploadThread();
    ~CUploadThread() override;

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
