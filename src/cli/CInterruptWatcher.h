#pragma once
#include <atomic>
#include <filesystem>
#include <functional>
#include <mutex>
#include <thread>

// Turns Ctrl-C (SIGINT) into a call on an ordinary thread, where it may do
// what a signal handler must not: cancel a link, take locks. The handler
// itself only writes a byte to a pipe. One watcher per process.
class CInterruptWatcher {
public:
    // The status of a process that an interrupt ended.
    static constexpr int kExitInterrupted = 130;

    CInterruptWatcher();
    ~CInterruptWatcher();
    CInterruptWatcher(const CInterruptWatcher&) = delete;
    CInterruptWatcher& operator=(const CInterruptWatcher&) = delete;

    // What an interrupt does from now on. Without an action (the default)
    // it ends the process at once with status 130, whatever the program is
    // waiting for (a file, a full pipe), after removing what RemoveOnInterrupt
    // names. An action that does nothing defers the interrupt: it is only
    // recorded, for a step that must not be cut off half-way.
    void SetAction(std::function<void()> action);

    // A file or folder that an interrupt ending the process removes first
    // (what the program made and would otherwise leave half-done); an empty
    // path removes nothing.
    void RemoveOnInterrupt(std::filesystem::path path);

    bool WasInterrupted() const { return m_interrupted.load(); }

private:
    void Watch();

    std::mutex m_mutex;
    std::function<void()> m_action;
    std::filesystem::path m_removedOnInterrupt;
    std::atomic<bool> m_interrupted{false};
    int m_pipe[2] = {-1, -1};
    std::thread m_thread;
};
