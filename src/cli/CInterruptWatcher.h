#pragma once
#include <atomic>
#include <functional>
#include <mutex>
#include <thread>

// Turns Ctrl-C (SIGINT) into a call on an ordinary thread, where it may do
// what a signal handler must not: cancel a link, take locks. The handler
// itself only writes a byte to a pipe. One watcher per process.
class CInterruptWatcher {
public:
    CInterruptWatcher();
    ~CInterruptWatcher();
    CInterruptWatcher(const CInterruptWatcher&) = delete;
    CInterruptWatcher& operator=(const CInterruptWatcher&) = delete;

    // What an interrupt does from now on; an empty action only records it.
    void SetAction(std::function<void()> action);

    bool WasInterrupted() const { return m_interrupted.load(); }

private:
    void Watch();

    std::mutex m_mutex;
    std::function<void()> m_action;
    std::atomic<bool> m_interrupted{false};
    int m_pipe[2] = {-1, -1};
    std::thread m_thread;
};
