#include "monitor/CMonitorSession.h"

#include "base/CException.h"
#include "base/Version.h"
#include "catalog/CCardInterface.h"
#include "link/CJX5COMInterface.h"

#include <exception>
#include <utility>

CMonitorSession::~CMonitorSession() {
    Stop();
}

void CMonitorSession::Start(CJX5COMInterface& link, StationAttribute attribute, Deliver deliver) {
    Stop();
    m_link = &link;
    m_deliver = std::move(deliver);
    ++m_run;
    m_thread = std::make_unique<CMonitorThread>(link, attribute);
    m_thread->Attach(this);
    m_thread->Start();
    m_thread->PostCycle();
    m_state = State::Reading;
    m_writes.clear();
    m_simulations.clear();
    m_simulation.Clear();
    m_history.Clear();
}

void CMonitorSession::Stop() {
    if (m_thread) {
        m_thread->Stop();
    }
    m_state = State::Stopped;
}

void CMonitorSession::Update(CObservable* subject) {
    // On the thread, right after it published the report of its command.
    m_deliver(m_run, static_cast<CMonitorThread*>(subject)->GetReport());
}

CMonitorSession::Outcome CMonitorSession::Take(std::uint64_t run, const Report& report) {
    const bool current = run == m_run && m_thread && m_thread->IsRunning();
    if (!current || m_state == State::Stopped || m_state == State::SwitchedOff) {
        return {};
    }
    Outcome outcome;
    outcome.taken = true;
    const bool closing = m_state == State::SwitchingOff;
    if (closing) {
        ContinueSwitchingOff(report);
    } else if (m_state == State::Reading && !m_writes.empty()) {
        // The write goes out between two cycles; the display waits for the
        // report that follows it. The cycle is taken in all the same.
        const Write& write = m_writes.front();
        m_thread->RequestParameterWrite(write.slotNumber, write.card, write.parameter);
        m_writes.pop_front();
        m_state = State::Writing;
    } else {
        // One simulation request a cycle: the cycle carries it.
        std::optional<CMonitorThread::Simulation> simulation;
        if (!m_simulations.empty()) {
            simulation = std::move(m_simulations.front());
            m_simulations.pop_front();
        }
        outcome.simulationSent = simulation.has_value();
        m_thread->PostCycle(m_monitoredSlot, std::move(simulation));
        m_state = State::Reading;
    }
    if (!closing && report.command == CMonitorThread::CommandCycle && !report.failed) {
        TakeCycle(report.rack, outcome);
    }
    return outcome;
}

void CMonitorSession::TakeCycle(const CCardSlot& rack, Outcome& outcome) {
    const auto now = std::chrono::system_clock::now();
    outcome.cycleAt = now;
    m_simulation.Update(rack);
    m_history.Add(rack, now);
    if (m_recording != Recording::On) {
        return;
    }
    try {
        m_recorder.AppendCycle(rack, now);
    } catch (const std::exception& error) {
        m_recording = Recording::Failed;
        outcome.recordingError = GetExceptionMessage(error);
    }
}

void CMonitorSession::QueueWrite(std::int32_t slotNumber, std::shared_ptr<CCardInterface> card,
                                 std::int32_t parameter) {
    m_writes.push_back(Write{slotNumber, std::move(card), parameter});
}

void CMonitorSession::QueueSimulation(CMonitorThread::Simulation simulation) {
    m_simulations.push_back(std::move(simulation));
}

void CMonitorSession::StartRecording(const std::filesystem::path& path) {
    const auto source = m_link ? CLiveValueRecorder::Source::Of(m_link->GetSettings())
                               : CLiveValueRecorder::Source{L"", GetVersionCaption()};
    m_recorder.Start(path, source, std::chrono::system_clock::now());
    m_recording = Recording::On;
    m_recordingSince = std::chrono::steady_clock::now();
}

void CMonitorSession::StopRecording() {
    if (m_recording == Recording::On) {
        m_recorder.Stop();
        m_recording = Recording::Stopped;
    }
}

std::chrono::steady_clock::duration CMonitorSession::RecordingTime() const {
    return std::chrono::steady_clock::now() - m_recordingSince;
}

bool CMonitorSession::StartSwitchingOff(const CCardSlot& rack) {
    m_switchOffs.clear();
    m_notSwitchedOff.clear();
    m_switchOffWriting.reset();
    for (const CSimulationWatch::Module& module : m_simulation.GetModules()) {
        const auto card = rack.GetCard(module.slotIndex);
        const int row = card && card->GetTypeCode() != 0 ? card->GetSimulationSwitchRow() : -1;
        if (row < 0) {
            m_notSwitchedOff.push_back(module);
            continue;
        }
        // The module's own switch, written as an adjustment is; only that
        // row, for the other values of a module not selected were never read.
        auto copy = CCardSlot::CopyCard(*card, CCardSlot::GetSlotNumber(module.slotIndex));
        try {
            copy->SetCheckedValue(row, 0);
        } catch (const std::exception&) {
            m_notSwitchedOff.push_back(module);
            continue;
        }
        m_switchOffs.push_back(SwitchOff{module, copy, row});
    }
    if (m_switchOffs.empty()) {
        return false;
    }
    m_state = State::SwitchingOff;
    return true;
}

void CMonitorSession::ContinueSwitchingOff(const Report& report) {
    // The thread has just ended a command: the one that ran when switching
    // off began, or the last switch write, whose outcome is its own.
    if (m_switchOffWriting && report.command == CMonitorThread::CommandParameterWrite) {
        if (report.failed) {
            m_notSwitchedOff.push_back(*m_switchOffWriting);
        }
        m_switchOffWriting.reset();
    }
    if (m_switchOffs.empty()) {
        m_state = State::SwitchedOff;
        return;
    }
    const SwitchOff& next = m_switchOffs.front();
    m_switchOffWriting = next.module;
    m_thread->RequestRowWrite(CCardSlot::GetSlotNumber(next.module.slotIndex), next.card, next.row);
    m_switchOffs.pop_front();
}
