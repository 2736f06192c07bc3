#pragma once
#include "base/CResourceManager.h"
#include "link/CJX5COMInterface.h"
#include "monitor/CMonitorThread.h"

#include <string>

// What the monitor tells the user about the line, in the user's language:
// the state ("Reading", or since when and why there is no reply) and the
// link's counts. The window's status line and k52ctl share it.
class CLineStateText : protected CResourceManager {
public:
    // The reason keeps its line breaks; a one-line display replaces them.
    static std::wstring State(const CMonitorThread::LineState& state);
    static std::wstring Counts(const CJX5COMInterface::Counts& counts);
    // Local time of day as hh:mm:ss.
    static std::wstring TimeOfDay(std::chrono::system_clock::time_point when);
};
