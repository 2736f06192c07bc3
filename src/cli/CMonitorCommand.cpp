#include "cli/CMonitorCommand.h"

#include "cli/PortArgument.h"

#include "base/CException.h"
#include "base/CObserver.h"
#include "base/FilePath.h"
#include "base/TextConvert.h"
#include "catalog/CCardInterface.h"
#include "catalog/CMonitorUnit.h"
#include "cli/CCommandLine.h"
#include "cli/CInterruptWatcher.h"
#include "link/CComPortList.h"
#include "link/CJX5COMInterface.h"
#include "monitor/CLineStateText.h"
#include "monitor/CLiveValueRecorder.h"
#include "monitor/CMonitorThread.h"
#include "monitor/CSimulationWatch.h"
#include "rack/CCardSlot.h"

#include <chrono>
#include <condition_variable>
#include <iostream>
#include <memory>
#include <mutex>
#include <utility>

namespace {

// Wakes the command's loop when the thread has ended a command.
class CCycleWaiter : public CObserver {
public:
    explicit CCycleWaiter(const CMonitorThread& thread) : m_thread(thread) {}

    // Keeps the report that came with the notification.
    void Update(CObservable*) override {
        std::shared_ptr<const CMonitorThread::Report> report = m_thread.GetReport();
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            ++m_notifications;
            m_report = std::move(report);
        }
        m_signal.notify_all();
    }

    void Interrupt() {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_interrupted = true;
        }
        m_signal.notify_all();
    }

    // The report of that many notifications; null when interrupted before
    // the notification came.
    std::shared_ptr<const CMonitorThread::Report> WaitFor(std::uint64_t notifications) {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_signal.wait(lock, [&] { return m_interrupted || m_notifications >= notifications; });
        return m_notifications >= notifications && !m_interrupted ? m_report : nullptr;
    }

private:
    const CMonitorThread& m_thread;
    std::shared_ptr<const CMonitorThread::Report> m_report;
    std::mutex m_mutex;
    std::condition_variable m_signal;
    std::uint64_t m_notifications = 0;
    bool m_interrupted = false;
};

} // namespace

CMonitorCommand::CMonitorCommand(std::ostream& out, CInterruptWatcher& interrupts)
    : m_out(out), m_interrupts(interrupts) {}

bool CMonitorCommand::ParseArguments(const std::vector<std::string>& arguments, std::string& problem) {
    // The one parser of every k52ctl command, so that the options behave alike.
    CCommandLine line;
    if (!line.Parse(arguments, problem)) {
        return false;
    }
    if (line.GetCommand() != CCommandLine::Command::Monitor) {
        problem = "not a monitor command";
        return false;
    }
    m_port = line.GetPort();
    m_cycles = line.GetCycles();
    m_csv = line.GetCsv();
    return true;
}

bool CMonitorCommand::IsOccupied(const CCardSlot& rack, int slotIndex) {
    const auto card = rack.GetCard(slotIndex);
    if (!card) {
        return false;
    }
    return !CCardSlot::IsIoSlotNumber(CCardSlot::GetSlotNumber(slotIndex)) || card->GetTypeCode() != 0;
}

std::wstring CMonitorCommand::FormatSlotLine(const CCardSlot& rack, int slotIndex) {
    std::wstring line = rack.GetSlotCaption(slotIndex);
    const auto card = rack.GetCard(slotIndex);
    if (!card) {
        return line;
    }
    line += L"  " + card->GetCardName().GetModelName();
    // A module that did not answer in this cycle has no values to show; its
    // channels' defaults would pass for readings.
    if (card->GetChannelCount() > 0 && !card->HasLiveValues()) {
        return line + L"  (no reading)";
    }
    for (int channel = 0; channel < card->GetChannelCount(); ++channel) {
        CMonitorUnit unit;
        card->FillMonitorUnit(channel, unit);
        std::wstring values;
        switch (unit.kind) {
        case CMonitorUnit::KindAnalog:
        case CMonitorUnit::KindCounter:
        case CMonitorUnit::KindDateTime:
            values = unit.values;
            for (wchar_t& character : values) {
                if (character == L'\n') {
                    character = L'/';
                }
            }
            break;
        case CMonitorUnit::KindDigital: {
            // Point 1 first, as the window's boxes.
            for (int point = 0; point < unit.pointCount && point < 32; ++point) {
                values += ((unit.bits >> point) & 1U) != 0 ? L'1' : L'0';
            }
            break;
        }
        case CMonitorUnit::KindSwitch:
            // The simulation switch is no channel: the line after the slots
            // names the modules that simulate.
        default:
            continue;
        }
        line += L"  " + unit.name + L": " + values;
    }
    return line;
}

std::wstring CMonitorCommand::SimulatingLine(const CSimulationWatch& simulation) {
    return FormatMessage(Msg::monitor_simulating, simulation.Describe());
}

int CMonitorCommand::Run(const std::vector<std::string>& arguments) {
    std::string problem;
    if (!ParseArguments(arguments, problem)) {
        std::cerr << "k52ctl: " << problem << "\n" << CCommandLine::Usage();
        return kExitUsage;
    }
    CJX5COMInterface link;
    CComSettings settings = link.GetSettings();
    if (!ResolvePortArgument(m_port, settings, problem)) {
        std::cerr << "k52ctl: " << problem << "\n";
        return kExitUsage;
    }
    link.SetSettings(settings);

    CLiveValueRecorder recorder;
    bool recordingFailed = false;
    if (!m_csv.empty()) {
        try {
            recorder.Start(PathFromArgument(m_csv), CLiveValueRecorder::Source::Of(settings),
                           std::chrono::system_clock::now());
        } catch (const std::exception& error) {
            ReportErrorText(GetExceptionMessage(error));
            return kExitFailure;
        }
    }
    CSimulationWatch simulation;

    // Nothing has read the station's attribute word in this run.
    CMonitorThread thread(link, StationAttribute());
    CCycleWaiter waiter(thread);
    thread.Attach(&waiter);
    m_interrupts.SetAction([&waiter, &link] {
        link.Cancel();
        waiter.Interrupt();
    });

    bool anyRead = false;
    bool interrupted = m_interrupts.WasInterrupted();
    std::uint64_t stateShown = 0;
    thread.Start();
    for (std::uint64_t cycle = 1; !interrupted && (m_cycles == 0 || cycle <= m_cycles); ++cycle) {
        thread.PostCycle();
        const std::shared_ptr<const CMonitorThread::Report> report = waiter.WaitFor(cycle);
        if (!report) {
            interrupted = true;
            break;
        }
        // Why there is no reading is told once, when it changes, on the
        // error stream: the readings stay on the output for whoever reads them.
        const CMonitorThread::LineState& state = report->line;
        if (state.changes != stateShown) {
            stateShown = state.changes;
            std::cerr << "k52ctl: " << ToUtf8(CLineStateText::State(state)) << std::endl;
        }
        const CCardSlot& rack = report->rack;
        if (report->failed) {
            m_out << "cycle " << cycle << ": no reading from the station\n";
        } else {
            anyRead = true;
            m_out << "cycle " << cycle << "\n";
            for (int slot = 0; slot < CCardSlot::kSlotCount; ++slot) {
                if (IsOccupied(rack, slot)) {
                    m_out << ToUtf8(FormatSlotLine(rack, slot)) << "\n";
                }
            }
            simulation.Update(rack);
            if (simulation.Any()) {
                m_out << ToUtf8(SimulatingLine(simulation)) << "\n";
            }
            if (recorder.IsRecording()) {
                try {
                    recorder.AppendCycle(rack, std::chrono::system_clock::now());
                } catch (const std::exception& error) {
                    // The readings go on; the recording has stopped.
                    std::cerr << "k52ctl: " << ToUtf8(GetExceptionMessage(error)) << std::endl;
                    recordingFailed = true;
                }
            }
        }
        m_out.flush();
        if (m_out.fail()) {
            break; // nowhere left to print: the program reports the failed output
        }
    }
    thread.Stop();
    m_interrupts.SetAction(nullptr);
    recorder.Stop();
    std::cerr << "k52ctl: " << ToUtf8(CLineStateText::Counts(link.GetCounts())) << std::endl;
    // Forced values stay in the modules after the command ends.
    if (simulation.Any()) {
        std::cerr << "k52ctl: " << ToUtf8(SimulatingLine(simulation)) << std::endl;
    }
    if (interrupted) {
        return kExitInterrupted;
    }
    return anyRead && !recordingFailed ? kExitSuccess : kExitFailure;
}
