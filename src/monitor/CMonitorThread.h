#pragma once
#include "base/CObservable.h"
#include "base/CPrivateException.h"
#include "rack/CCardSlot.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

class CCardInterface;
class CJX5COMInterface;

// The thread that reads the whole station over and over while the monitor
// runs. It is driven one command at a time: its owner posts a command, the
// thread carries it out and tells its observers, and the owner answers the
// notification with the next command. The port is opened before and closed
// after every command, so nothing holds it between cycles.
//
// Nothing is shared between the two threads but data handed over whole: a
// command carries what it needs (the slot to read in full, the simulation
// to write, the card to write), and every notification publishes a report
// of what the command left (GetReport), a copy whose cards are the report's
// own; the thread keeps its rack to itself.
//
// While commands fail (no station, no port) the thread rests before each
// next one, from kFirstRestMs growing to kLongestRestMs, so that a monitor
// without a station leaves the processor and the line alone; a good command
// ends the rest, and Stop ends it at once.
//
// Cycles never start closer together than kMinCycleIntervalMs. On a real line
// a healthy cycle takes longer than that (one exchange at 9600 baud alone is
// some 20 to 60 ms, and a cycle is at least two), so cycles there run back to
// back as before; a station that answers at once (the built-in demo station)
// would otherwise be read a thousand times a second, keeping a core busy and
// a recording growing by gigabytes an hour, for values no one can follow.
// Ten readings a second is more than a person watching or a trend needs.
class CMonitorThread : public CObservable {
public:
    enum Command : std::uint32_t {
        CommandEnd = 0,
        CommandCycle = 1,
        CommandParameterWrite = 2,
    };

    static constexpr std::uint32_t kFirstRestMs = 100;
    static constexpr std::uint32_t kLongestRestMs = 1000;
    static constexpr std::uint32_t kMinCycleIntervalMs = 100;

    // Whether the station answers, and since when it does not.
    struct LineState {
        bool reading = true;
        // The end of the first failed command of the current run of failures.
        std::chrono::system_clock::time_point failingSince{};
        // The kind and message of the first failure of the current run of
        // failures of that kind.
        FailureKind kind = FailureKind::Other;
        std::wstring reason;
        // Changes whenever reading turns or the kind of failure changes.
        std::uint64_t changes = 0;
    };

    // Values for a module to simulate, written at the start of a cycle.
    struct Simulation {
        int slotIndex = 0;
        std::int32_t mode = 0;
        std::vector<std::int32_t> values;
    };

    // What one command left behind. Once published nothing changes it: the
    // rack's cards are copies that only the report holds.
    struct Report {
        std::uint32_t command = CommandEnd;
        bool failed = false;
        // The rack after the command: empty after a failed cycle.
        CCardSlot rack;
        LineState line;
    };

    // The link is the owner's; the owner keeps it while the thread exists
    // (the destructor stops the thread first).
    // The station attribute is the one the window's rack holds: cycles do
    // not read it.
    CMonitorThread(CJX5COMInterface& link, StationAttribute attribute);
    // Stops a thread that is still running.
    ~CMonitorThread() override;

    // Lets the thread run; it then waits for commands. Observers must be
    // attached before.
    void Start();
    bool IsRunning() const { return m_thread.joinable(); }

    // Queues a monitoring cycle and returns at once. The slot with this index
    // (-1: none) has its parameters read too; the simulation, if any, is
    // written to its module before the cycle reads.
    void PostCycle(int monitoredSlot = -1, std::optional<Simulation> simulation = std::nullopt);

    // Queues the write of one card's adjustment rows (and the given row when
    // it is a one-shot row) to the module in the slot. The card's values are
    // taken now: the caller may go on editing the card meanwhile.
    void RequestParameterWrite(std::int32_t slotNumber, const std::shared_ptr<CCardInterface>& card,
                               std::int32_t parameterIndex);
    // Queues the write of that one row alone, in the same write frame: for
    // a module whose adjustment rows this card never read.
    void RequestRowWrite(std::int32_t slotNumber, const std::shared_ptr<CCardInterface>& card,
                         std::int32_t row);

    // Ends the thread: no notification is sent any more, the exchange in
    // progress is cancelled, the commands already queued run out, and the call
    // returns once the thread has ended. Safe to call more than once.
    void Stop();

    // The report of the last command carried out, published before its
    // notification; an empty rack before the first.
    std::shared_ptr<const Report> GetReport() const;

    bool HasLastCommandFailed() const { return m_lastCommandFailed.load(); }
    LineState GetLineState() const;
    // The rest before the next command, 0 while commands succeed.
    std::uint32_t GetRestMs() const { return m_restMs.load(); }

private:
    // A command with its arguments.
    struct QueuedCommand {
        std::uint32_t code = CommandEnd;
        int monitoredSlot = -1;
        std::optional<Simulation> simulation;
        std::shared_ptr<CCardInterface> card; // a copy of the caller's
        std::int32_t slotNumber = 0;
        std::int32_t parameterIndex = 0;
        bool rowOnly = false; // the one row at parameterIndex, nothing else
    };

    void Post(QueuedCommand command);
    void Run();
    // Returns false for the command that ends the loop.
    bool Execute(const QueuedCommand& command);
    void Carry(const QueuedCommand& command);
    void Rest();
    // Waits until kMinCycleIntervalMs after the start of the previous cycle.
    void KeepCycleInterval();
    // Null for a command that went well.
    void NoteOutcome(const CPrivateException* failure);
    void Publish(std::uint32_t command, bool failed);

    CJX5COMInterface& m_link;
    CCardSlot m_rack; // the thread's alone
    std::atomic<bool> m_notifying{false};
    std::atomic<bool> m_lastCommandFailed{false};

    std::mutex m_queueMutex;
    std::condition_variable m_queueSignal;
    std::deque<QueuedCommand> m_queue;
    bool m_stopping = false; // guarded by m_queueMutex
    std::atomic<std::uint32_t> m_restMs{0};
    std::optional<std::chrono::steady_clock::time_point> m_lastCycleStart; // the thread's alone

    mutable std::mutex m_stateMutex;
    LineState m_lineState;
    std::shared_ptr<const Report> m_report; // guarded by m_stateMutex
    std::thread m_thread;
};
