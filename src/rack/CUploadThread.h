#pragma once
#include "rack/CTransferThread.h"

// Reads the station into a rack of the thread's own. The starter gives it
// its link (settings and selection mask filled in), starts it, and after a
// success takes the chosen slots of GetRack() into its own rack.
class CUploadThread : public CTransferThread {
public:
    CUploadThread();
    ~CUploadThread() override;
};
