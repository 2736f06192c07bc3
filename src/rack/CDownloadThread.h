#pragma once
#include "rack/CTransferThread.h"

// Writes a rack into the station. The starter assigns its own rack to
// GetRack() (the two then share the cards) and gives it its link (settings
// and selection mask filled in) before starting it.
class CDownloadThread : public CTransferThread {
public:
    CDownloadThread();
    ~CDownloadThread() override;
};
