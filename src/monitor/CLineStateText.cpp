#include "monitor/CLineStateText.h"

#include "base/LocalTime.h"

#include <ctime>

// A language file is outside input: one without these texts leaves the
// state with the bare reason and the counts unsaid, and the monitor runs on.
std::wstring CLineStateText::State(const CMonitorThread::LineState& state) {
    try {
        if (state.reading) {
            return GetMessage(Msg::monitor_reading);
        }
        return FormatMessage(Msg::monitor_noreply, TimeOfDay(state.failingSince), state.reason);
    } catch (const std::exception&) {
        return state.reason;
    }
}

std::wstring CLineStateText::Counts(const CJX5COMInterface::Counts& counts) {
    try {
        return FormatMessage(Msg::monitor_counts, static_cast<unsigned long long>(counts.exchanges),
                             static_cast<unsigned long long>(counts.timeouts),
                             static_cast<unsigned long long>(counts.invalidReplies),
                             static_cast<unsigned long long>(counts.errorStatuses));
    } catch (const std::exception&) {
        return std::wstring();
    }
}

std::wstring CLineStateText::TimeOfDay(std::chrono::system_clock::time_point when) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(when);
    std::tm local{};
    if (!ToLocalTime(seconds, local)) {
        return std::wstring();
    }
    return CMessageFormatter::Printf(L"%02d:%02d:%02d", local.tm_hour, local.tm_min, local.tm_sec);
}
