#pragma once
#include "base/CObserver.h"
#include "monitor/CLiveValueRecorder.h"
#include "monitor/CMonitorThread.h"
#include "monitor/CSimulationWatch.h"
#include "monitor/CTrendHistory.h"

#include <chrono>
#include <deque>
#include <functional>
#include <memory>
#include <optional>

class CJX5COMInterface;

// What the monitor does with the station, without its window. It drives the
// monitoring thread one command at a time: every report the owner hands in
// (Take) is answered with the next command. Adjustment writes and simulation
// requests wait here until they can go out between two commands; every good
// cycle goes to the simulation watch, the trend's history and the recording.
// On closing, the simulation switches of the modules that simulate are
// written off one after the other, with no cycle between them.
//
// Each notification of the thread goes, with the report it is about and the
// start (run) it belongs to, to the owner's deliver function, on the thread;
// the owner hands it to Take on its own thread, where everything else runs.
class CMonitorSession : public CObserver {
public:
    using Report = CMonitorThread::Report;
    using Deliver = std::function<void(std::uint64_t run, std::shared_ptr<const Report>)>;

    // What is on its way after the report last taken.
    enum class State {
        Stopped,      // nothing: no thread runs
        Reading,      // a cycle: the owner shows the report
        Writing,      // an adjustment write: the report waits for the one after it
        SwitchingOff, // closing: a module's simulation switch
        SwitchedOff,  // closing: nothing, every switch is written; the owner stops
    };
    enum class Recording { Off, On, Stopped, Failed };

    struct Outcome {
        // False for a report of an earlier run or of a stopped thread.
        bool taken = false;
        // A simulation request went out with the next cycle.
        bool simulationSent = false;
        // The report was a good cycle, taken in at this time.
        std::optional<std::chrono::system_clock::time_point> cycleAt;
        // The recording stopped because its file could not be written.
        std::optional<std::wstring> recordingError;
    };

    CMonitorSession() = default;
    ~CMonitorSession() override;

    // Starts a thread on the link (ending one left from an earlier start),
    // forgets what an earlier station showed and posts the first cycle.
    void Start(CJX5COMInterface& link, StationAttribute attribute, Deliver deliver);
    // Ends the thread; its notifications under way are ignored. The recording goes on.
    void Stop();
    // A report of an earlier run, or one under way when the thread ended, is ignored.
    Outcome Take(std::uint64_t run, const Report& report);

    State GetState() const { return m_state; }
    bool IsClosing() const { return m_state == State::SwitchingOff || m_state == State::SwitchedOff; }
    CMonitorThread* Thread() const { return m_thread.get(); }

    // The slot (-1: none) whose parameters every cycle reads too.
    void Monitor(int slotIndex) { m_monitoredSlot = slotIndex; }
    // The card is the caller's copy as it is when the value is committed.
    void QueueWrite(std::int32_t slotNumber, std::shared_ptr<CCardInterface> card, std::int32_t parameter);
    bool HasWritesWaiting() const { return !m_writes.empty(); }
    // Goes out with a cycle, one a cycle, for the module it names.
    void QueueSimulation(CMonitorThread::Simulation simulation);

    // Names the link's port in the recording; raises what CLiveValueRecorder::Start raises.
    void StartRecording(const std::filesystem::path& path);
    void StopRecording();
    Recording GetRecording() const { return m_recording; }
    bool IsRecording() const { return m_recording == Recording::On; }
    std::chrono::steady_clock::duration RecordingTime() const;
    const CLiveValueRecorder& Recorder() const { return m_recorder; }

    // True when at least one simulating module's switch is to be written;
    // the modules whose switch cannot be written are NotSwitchedOff.
    bool StartSwitchingOff(const CCardSlot& rack);
    const std::vector<CSimulationWatch::Module>& NotSwitchedOff() const { return m_notSwitchedOff; }

    const CSimulationWatch& Simulation() const { return m_simulation; }
    CTrendHistory& History() { return m_history; }

    void Update(CObservable* subject) override;

private:
    struct Write {
        std::int32_t slotNumber = 0;
        std::shared_ptr<CCardInterface> card;
        std::int32_t parameter = -1;
    };
    // The simulation switch of one module, written alone.
    struct SwitchOff {
        CSimulationWatch::Module module;
        std::shared_ptr<CCardInterface> card;
        std::int32_t row = -1;
    };

    void TakeCycle(const CCardSlot& rack, Outcome& outcome);
    void ContinueSwitchingOff(const Report& report);

    State m_state = State::Stopped;
    CJX5COMInterface* m_link = nullptr;
    std::unique_ptr<CMonitorThread> m_thread;
    Deliver m_deliver;
    std::uint64_t m_run = 0;
    int m_monitoredSlot = -1;
    std::deque<Write> m_writes;
    std::deque<CMonitorThread::Simulation> m_simulations;
    std::deque<SwitchOff> m_switchOffs;
    std::optional<CSimulationWatch::Module> m_switchOffWriting;
    std::vector<CSimulationWatch::Module> m_notSwitchedOff;

    CSimulationWatch m_simulation;
    CTrendHistory m_history;
    CLiveValueRecorder m_recorder;
    Recording m_recording = Recording::Off;
    std::chrono::steady_clock::time_point m_recordingSince{};
};
