#pragma once
#include "base/CObservable.h"
#include "link/CMutexHandle.h"
#include "rack/CCardSlot.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

class CCardInterface;
class CJX5COMInterface;

// The thread that reads the whole station over and over while the monitor
// runs. It is driven one command at a time: its owner posts a command, the
// thread carries it out and tells its observers, and the owner answers the
// notification with the next command. The port is opened before and closed
// after every command, so nothing holds it between cycles.
//
// The owner reads the rack and writes the monitored slot and the simulation
// request only between a notification and its next command; that hand-over
// is what keeps the two threads off the rack at the same time.
//
// While commands fail (no station, no port) the thread rests before each
// next one, from kFirstRestMs growing to kLongestRestMs, so that a monitor
// without a station leaves the processor and the line alone; a good command
// ends the rest, and Stop ends it at once.
class CMonitorThread : public CObservable {
public:
    enum Command : std::uint32_t {
        CommandEnd = 0,
        CommandCycle = 1,
        CommandParameterWrite = 2,
    };

    static constexpr std::uint32_t kFirstRestMs = 100;
    static constexpr std::uint32_t kLongestRestMs = 1000;

    // Whether the station answers, and since when it does not.
    struct LineState {
        bool reading = true;
        // The end of the first failed command of the current run of failures.
        std::chrono::system_clock::time_point failingSince{};
        // The message of the last failure.
        std::wstring reason;
        // Changes whenever reading turns or the reason changes.
        std::uint64_t changes = 0;
    };

    CMonitorThread();
    // Stops a thread that is still running.
    ~CMonitorThread() override;

    // The link is not owned; it must outlive the thread.
    void SetLink(CJX5COMInterface* link) { m_link = link; }

    // Lets the thread run; it then waits for commands. Observers must be
    // attached before.
    void Start();
    bool IsRunning() const { return m_thread.joinable(); }

    // Queues a command and returns at once. The argument is carried along for
    // the queue's sake; no command reads it.
    void PostCommand(std::uint32_t code, std::uint32_t argument = 0);

    // Queues the write of one card's adjustment rows (and the given row when
    // it is a one-shot row) to the module in the slot. The card's values are
    // taken now: the caller may go on editing the card meanwhile.
    void RequestParameterWrite(std::int32_t slotNumber, const std::shared_ptr<CCardInterface>& card,
                               std::int32_t parameterIndex);

    // Ends the thread: no notification is sent any more, the exchange in
    // progress is cancelled, the commands already queued run out, and the call
    // returns once the thread has ended. Safe to call more than once.
    void Stop();

    CCardSlot& GetRack() { return m_rack; }
    const CCardSlot& GetRack() const { return m_rack; }

    bool HasLastCommandFailed() const { return m_lastCommandFailed.load(); }
    LineState GetLineState() const;
    // The rest before the next command, 0 while commands succeed.
    std::uint32_t GetRestMs() const { return m_restMs.load(); }
    std::uint32_t GetCurrentCommand() const { return m_currentCommand.load(); }

private:
    struct QueuedCommand {
        std::uint32_t code;
        std::uint32_t argument;
    };

    void Run();
    // Returns false for the command that ends the loop.
    bool Execute(std::uint32_t code);
    void Carry(std::uint32_t code);
    void Rest();
    void NoteOutcome(const std::wstring* failure);

    CCardSlot m_rack;
    CMutexHandle m_cycleLock;
    std::atomic<bool> m_notifying{false};
    std::atomic<bool> m_lastCommandFailed{false};
    std::atomic<std::uint32_t> m_currentCommand{CommandEnd};
    std::shared_ptr<CCardInterface> m_parameterCard;
    std::int32_t m_parameterSlot = 0;
    std::int32_t m_parameterIndex = 0;
    CJX5COMInterface* m_link = nullptr;

    std::mutex m_queueMutex;
    std::condition_variable m_queueSignal;
    std::deque<QueuedCommand> m_queue;
    bool m_stopping = false; // guarded by m_queueMutex
    std::atomic<std::uint32_t> m_restMs{0};

    mutable std::mutex m_stateMutex;
    LineState m_lineState;
    std::thread m_thread;
};
