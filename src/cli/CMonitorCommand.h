#pragma once
#include "base/CResourceManager.h"

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

class CCardSlot;
class CComSettings;
class CInterruptWatcher;
class CSimulationWatch;

// `k52ctl monitor --port PORT [--cycles N] [--csv FILE]`: reads the whole
// station cycle after cycle, as the monitor window does, and prints after
// each cycle one line per occupied slot, then a line naming the modules that
// simulate, if any. With --cycles 0 it runs until Ctrl-C. --csv records the
// readings as the window's recording does.
class CMonitorCommand : protected CResourceManager {
public:
    static constexpr int kExitSuccess = 0;
    static constexpr int kExitFailure = 1;
    static constexpr int kExitUsage = 2;
    static constexpr int kExitInterrupted = 130;

    CMonitorCommand(std::ostream& out, CInterruptWatcher& interrupts);

    // arguments are k52ctl's, for the command "monitor"; the language is loaded.
    int Run(const std::vector<std::string>& arguments);

    // The line of one slot: caption, model and the value texts of its channels.
    static std::wstring FormatSlotLine(const CCardSlot& rack, int slotIndex);
    // Only slots that hold a module are printed; the COM slot always is.
    static bool IsOccupied(const CCardSlot& rack, int slotIndex);

    // "Simulating: IO02 BJ58W, IO04 QB9W".
    static std::wstring SimulatingLine(const CSimulationWatch& simulation);

private:
    bool ParseArguments(const std::vector<std::string>& arguments, std::string& problem);

    std::ostream& m_out;
    CInterruptWatcher& m_interrupts;
    std::string m_port;
    std::uint64_t m_cycles = 1;
    std::string m_csv;
};
