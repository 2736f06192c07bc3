#include "monitor/CMonitorThread.h"

#include "base/CException.h"
#include "base/CPrivateException.h"
#include "catalog/CCardInterface.h"
#include "link/CJX5COMInterface.h"

#include <algorithm>
#include <exception>
#include <span>
#include <utility>

CMonitorThread::CMonitorThread(CJX5COMInterface& link, StationAttribute attribute) : m_link(link) {
    m_rack.SetStationAttribute(attribute);
    m_rack.Clear();
    auto report = std::make_shared<Report>();
    report->rack = m_rack.CopyWithOwnCards();
    m_report = std::move(report);
}

CMonitorThread::~CMonitorThread() {
    Stop();
}

void CMonitorThread::Start() {
    if (m_thread.joinable()) {
        return;
    }
    m_notifying.store(true);
    m_lastCommandFailed.store(false);
    {
        std::lock_guard<std::mutex> lock(m_queueMutex);
        m_stopping = false;
    }
    m_thread = std::thread(&CMonitorThread::Run, this);
}

void CMonitorThread::Post(QueuedCommand command) {
    {
        std::lock_guard<std::mutex> lock(m_queueMutex);
        m_queue.push_back(std::move(command));
    }
    m_queueSignal.notify_one();
}

void CMonitorThread::PostCycle(int monitoredSlot, std::optional<Simulation> simulation) {
    QueuedCommand command;
    command.code = CommandCycle;
    command.monitoredSlot = monitoredSlot;
    command.simulation = std::move(simulation);
    Post(std::move(command));
}

void CMonitorThread::RequestParameterWrite(std::int32_t slotNumber,
                                           const std::shared_ptr<CCardInterface>& card,
                                           std::int32_t parameterIndex) {
    // The window goes on editing its card while the write runs, so the
    // command carries a copy of the card as it is now.
    QueuedCommand command;
    command.code = CommandParameterWrite;
    command.card = card ? CCardSlot::CopyCard(*card, slotNumber) : nullptr;
    command.slotNumber = slotNumber;
    command.parameterIndex = parameterIndex;
    Post(std::move(command));
}

void CMonitorThread::RequestRowWrite(std::int32_t slotNumber, const std::shared_ptr<CCardInterface>& card,
                                     std::int32_t row) {
    QueuedCommand command;
    command.code = CommandParameterWrite;
    command.card = card ? CCardSlot::CopyCard(*card, slotNumber) : nullptr;
    command.slotNumber = slotNumber;
    command.parameterIndex = row;
    command.rowOnly = true;
    Post(std::move(command));
}

void CMonitorThread::Stop() {
    m_notifying.store(false);
    if (!m_thread.joinable()) {
        return;
    }
    m_link.Cancel();
    {
        std::lock_guard<std::mutex> lock(m_queueMutex);
        m_stopping = true;
    }
    // Wakes a rest as well as an idle thread.
    Post(QueuedCommand{});
    m_thread.join();
}

void CMonitorThread::Run() {
    for (;;) {
        QueuedCommand command;
        {
            std::unique_lock<std::mutex> lock(m_queueMutex);
            m_queueSignal.wait(lock, [this] { return !m_queue.empty(); });
            command = std::move(m_queue.front());
            m_queue.pop_front();
        }
        if (!Execute(command)) {
            return;
        }
    }
}

CMonitorThread::LineState CMonitorThread::GetLineState() const {
    std::lock_guard<std::mutex> lock(m_stateMutex);
    return m_lineState;
}

std::shared_ptr<const CMonitorThread::Report> CMonitorThread::GetReport() const {
    std::lock_guard<std::mutex> lock(m_stateMutex);
    return m_report;
}

void CMonitorThread::Rest() {
    const std::uint32_t rest = m_restMs.load();
    if (rest == 0) {
        return;
    }
    std::unique_lock<std::mutex> lock(m_queueMutex);
    m_queueSignal.wait_for(lock, std::chrono::milliseconds(rest), [this] { return m_stopping; });
}

void CMonitorThread::KeepCycleInterval() {
    const auto now = std::chrono::steady_clock::now();
    if (m_lastCycleStart) {
        const auto earliest = *m_lastCycleStart + std::chrono::milliseconds(kMinCycleIntervalMs);
        if (now < earliest) {
            std::unique_lock<std::mutex> lock(m_queueMutex);
            m_queueSignal.wait_until(lock, earliest, [this] { return m_stopping; });
        }
    }
    m_lastCycleStart = std::chrono::steady_clock::now();
}

void CMonitorThread::NoteOutcome(const CPrivateException* failure) {
    // Without a station every command fails at once: the rest keeps the
    // thread from spinning, short at first so that a passing fault costs
    // little, longer while the station stays away.
    std::lock_guard<std::mutex> lock(m_stateMutex);
    if (failure == nullptr) {
        m_restMs.store(0);
    } else if (!m_lineState.reading && m_lineState.kind != failure->GetKind()) {
        // Something changed at the port (a device coming back is first
        // busy, then answers): look again soon.
        m_restMs.store(kFirstRestMs);
    } else {
        const std::uint32_t rest = m_restMs.load();
        m_restMs.store(rest == 0 ? kFirstRestMs : std::min(rest * 2, kLongestRestMs));
    }
    if (failure == nullptr) {
        if (!m_lineState.reading) {
            m_lineState.reading = true;
            m_lineState.reason.clear();
            ++m_lineState.changes;
        }
        return;
    }
    if (m_lineState.reading) {
        m_lineState.reading = false;
        m_lineState.failingSince = std::chrono::system_clock::now();
    } else if (m_lineState.kind == failure->GetKind()) {
        return;
    }
    m_lineState.kind = failure->GetKind();
    m_lineState.reason = failure->GetText();
    ++m_lineState.changes;
}

void CMonitorThread::Publish(std::uint32_t command, bool failed) {
    auto report = std::make_shared<Report>();
    report->command = command;
    report->failed = failed;
    report->rack = m_rack.CopyWithOwnCards();
    std::lock_guard<std::mutex> lock(m_stateMutex);
    report->line = m_lineState;
    m_report = std::move(report);
}

bool CMonitorThread::Execute(const QueuedCommand& command) {
    const std::uint32_t code = command.code;
    if (code != CommandEnd) {
        Rest();
    }
    if (code == CommandCycle) {
        KeepCycleInterval();
    }
    bool failed = false;
    try {
        Carry(command);
        if (code != CommandEnd) {
            NoteOutcome(nullptr);
        }
    } catch (const std::exception& error) {
        // A failed cycle is shown as an empty rack, and the window keeps
        // asking; the next cycle may well succeed.
        if (code == CommandCycle) {
            m_rack = CCardSlot(m_rack.GetStationAttribute());
            m_rack.Clear();
        }
        failed = true;
        // A cancel is the owner's own doing, not news about the line.
        if (!IsCancellation(error)) {
            const CPrivateException failure(GetFailureKind(error), GetExceptionMessage(error));
            NoteOutcome(&failure);
        }
    }
    m_lastCommandFailed.store(failed);
    if (m_notifying.load()) {
        Publish(code, failed);
        NotifyObservers();
    }
    m_link.Close();
    return code != CommandEnd;
}

void CMonitorThread::Carry(const QueuedCommand& command) {
    if (command.code == CommandEnd) {
        return;
    }
    m_link.Open();
    switch (command.code) {
    case CommandCycle:
        m_rack.SetMonitoredSlot(command.monitoredSlot);
        if (command.simulation) {
            const Simulation& simulation = *command.simulation;
            m_rack.RequestSimulation(simulation.slotIndex, simulation.mode,
                                     std::span<const std::int32_t>(simulation.values));
        }
        m_rack.RefreshForMonitor(m_link);
        break;
    case CommandParameterWrite:
        if (command.card && command.rowOnly) {
            command.card->WriteParameter(command.slotNumber, m_link, command.parameterIndex,
                                         m_rack.GetStationAttribute());
        } else if (command.card) {
            command.card->DownloadParameters(command.slotNumber, m_link, command.parameterIndex, true,
                                             m_rack.GetStationAttribute());
        }
        break;
    default:
        break;
    }
}
