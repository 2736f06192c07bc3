#include "monitor/CMonitorThread.h"

#include "base/CException.h"
#include "base/CPrivateException.h"
#include "catalog/CCardInterface.h"
#include "link/CJX5COMInterface.h"

#include <algorithm>
#include <exception>
#include <stdexcept>
#include <utility>

CMonitorThread::CMonitorThread() {
    m_rack.Clear();
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

void CMonitorThread::PostCommand(std::uint32_t code, std::uint32_t argument) {
    {
        std::lock_guard<std::mutex> lock(m_queueMutex);
        m_queue.push_back(QueuedCommand{code, argument});
    }
    m_queueSignal.notify_one();
}

void CMonitorThread::RequestParameterWrite(std::int32_t slotNumber,
                                           const std::shared_ptr<CCardInterface>& card,
                                           std::int32_t parameterIndex) {
    // The fields are written before the command is queued; taking the queue
    // lock in PostCommand publishes them to the thread. The window goes on
    // editing its card while the write runs, so the thread writes a copy of
    // the card as it is now.
    m_parameterSlot = slotNumber;
    m_parameterCard = card ? CCardSlot::CopyCard(*card, slotNumber) : nullptr;
    m_parameterIndex = parameterIndex;
    PostCommand(CommandParameterWrite, 0);
}

void CMonitorThread::Stop() {
    m_notifying.store(false);
    if (!m_thread.joinable()) {
        return;
    }
    if (m_link != nullptr) {
        m_link->Cancel();
    }
    {
        std::lock_guard<std::mutex> lock(m_queueMutex);
        m_stopping = true;
    }
    // Wakes a rest as well as an idle thread.
    PostCommand(CommandEnd, 0);
    m_thread.join();
}

void CMonitorThread::Run() {
    for (;;) {
        QueuedCommand command{};
        {
            std::unique_lock<std::mutex> lock(m_queueMutex);
            m_queueSignal.wait(lock, [this] { return !m_queue.empty(); });
            command = m_queue.front();
            m_queue.pop_front();
        }
        if (!Execute(command.code)) {
            return;
        }
    }
}

CMonitorThread::LineState CMonitorThread::GetLineState() const {
    std::lock_guard<std::mutex> lock(m_stateMutex);
    return m_lineState;
}

void CMonitorThread::Rest() {
    const std::uint32_t rest = m_restMs.load();
    if (rest == 0) {
        return;
    }
    std::unique_lock<std::mutex> lock(m_queueMutex);
    m_queueSignal.wait_for(lock, std::chrono::milliseconds(rest), [this] { return m_stopping; });
}

void CMonitorThread::NoteOutcome(const std::wstring* failure) {
    // Without a station every command fails at once: the rest keeps the
    // thread from spinning, short at first so that a passing fault costs
    // little, longer while the station stays away.
    std::lock_guard<std::mutex> lock(m_stateMutex);
    if (failure == nullptr) {
        m_restMs.store(0);
    } else if (!m_lineState.reading && m_lineState.reason != *failure) {
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
        m_lineState.reason = *failure;
        ++m_lineState.changes;
    } else if (m_lineState.reason != *failure) {
        m_lineState.reason = *failure;
        ++m_lineState.changes;
    }
}

bool CMonitorThread::Execute(std::uint32_t code) {
    if (code != CommandEnd) {
        Rest();
    }
    m_currentCommand.store(code);
    m_cycleLock.Wait(CMutexHandle::kInfinite);
    try {
        Carry(code);
        m_lastCommandFailed.store(false);
        if (code != CommandEnd) {
            NoteOutcome(nullptr);
        }
    } catch (const std::exception& error) {
        // A failed cycle is shown as an empty rack, and the window keeps
        // asking; the next cycle may well succeed.
        if (code == CommandCycle) {
            m_rack = CCardSlot();
            m_rack.Clear();
        }
        m_lastCommandFailed.store(true);
        // A cancel is the owner's own doing, not news about the line.
        if (!IsCancellation(error)) {
            const std::wstring reason = GetExceptionMessage(error);
            NoteOutcome(&reason);
        }
    }
    if (m_notifying.load()) {
        NotifyObservers();
    }
    if (m_link != nullptr) {
        m_link->Close();
    }
    m_cycleLock.Release();
    return code != CommandEnd;
}

void CMonitorThread::Carry(std::uint32_t code) {
    if (code == CommandEnd) {
        return;
    }
    if (m_link == nullptr) {
        throw std::logic_error("monitor thread without a link");
    }
    m_link->Open();
    switch (code) {
    case CommandCycle:
        m_rack.RefreshForMonitor(*m_link);
        break;
    case CommandParameterWrite:
        if (m_parameterCard) {
            m_parameterCard->DownloadParameters(m_parameterSlot, *m_link, m_parameterIndex, true);
        }
        break;
    default:
        break;
    }
}
