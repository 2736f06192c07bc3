#pragma once
#include "base/CResourceManager.h"
#include "cli/CCommandLine.h"
#include "cli/CInterruptWatcher.h"

#include <optional>
#include <ostream>
#include <string>
#include <vector>

class CCardSlot;
class CComSettings;
class CProgressThreadInterface;
class CRackComparison;

// k52ctl: backup, restore and commissioning of a station from scripts, on
// the same core as the windows. Results go to the output stream; failures
// go through the process-wide error report (stderr), with the texts the
// windows would show.
class CControlProgram : protected CResourceManager {
public:
    static constexpr int kExitSuccess = 0;
    static constexpr int kExitFailure = 1;
    static constexpr int kExitUsage = 2;
    static constexpr int kExitInterrupted = 130;

    explicit CControlProgram(std::ostream& out);

    int Run(const std::vector<std::string>& arguments);

private:
    enum class Outcome { Succeeded, Failed, Cancelled };

    int Ports();
    int Upload(const CCommandLine& line);
    int Download(const CCommandLine& line);
    int Show(const CCommandLine& line);
    int Diff(const CCommandLine& line);
    int Verify(const CCommandLine& line);
    int Report(const CCommandLine& line);
    int Demo();
    // The demo's steps, with the file in a folder of its own.
    int DemoIn(const std::string& port, const std::string& file);
    int RunCommand(const CCommandLine& line, const std::vector<std::string>& arguments);
    // Flushes the results; a failed write turns the status into a failure
    // with its reason (failureStatus where success or "different" stood).
    int FinishOutput(int status, int failureStatus = kExitFailure);

    int UploadTo(const std::string& port, std::uint64_t mask, const std::string& output,
                 const std::string& base, CCardSlot* uploaded);
    int DownloadFrom(const std::string& port, std::uint64_t mask, const std::string& file, bool verify = false);
    // Reads the chosen slots of the station into rack as an upload does,
    // writing no file: success, usage (no such port), failure or interrupted.
    int ReadStation(const std::string& port, std::uint64_t mask, CCardSlot& rack);
    // One line per difference, those not counted apart, and a summary line.
    void PrintDifferences(const CRackComparison& comparison, const CCardSlot& rack);

    // Starts the worker, shows its progress while it runs, and waits for it.
    Outcome RunThread(CProgressThreadInterface& thread);
    void PrintSlot(const CCardSlot& rack, int slotIndex, int maxRows);
    int UsageError(const std::string& problem);

    std::ostream& m_out;
    CInterruptWatcher m_interrupts;
    bool m_showProgress = false;
};
