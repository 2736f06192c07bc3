#pragma once
#include "rack/CProgressThreadInterface.h"

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>

namespace k52test {

// A worker whose body is given by the test. The body can wait for the user's
// Cancel (as a pending read waits until the link is cancelled) and for the
// test's permission to go on, so a test decides when the worker ends.
class ScriptedThread : public CProgressThreadInterface {
public:
    explicit ScriptedThread(std::function<void(ScriptedThread&)> body) : m_body(std::move(body)) {}
    ~ScriptedThread() override {
        Release();
        ScriptedThread::Cancel();
        Wait();
    }

    void Release() {
        std::lock_guard lock(m_mutex);
        m_released = true;
        m_condition.notify_all();
    }
    void WaitForRelease() {
        std::unique_lock lock(m_mutex);
        m_condition.wait(lock, [this] { return m_released; });
    }
    void WaitForCancel() {
        std::unique_lock lock(m_mutex);
        m_condition.wait(lock, [this] { return IsCancelled(); });
    }

    void Cancel() override {
        std::lock_guard lock(m_mutex);
        CProgressThreadInterface::Cancel();
        m_condition.notify_all();
    }

    void SetProgressText(const std::wstring& text) {
        std::lock_guard lock(m_mutex);
        m_text = text;
    }
    std::wstring GetProgressText() const override {
        std::lock_guard lock(m_mutex);
        return m_text;
    }

    std::atomic<int> runs{0};

protected:
    void Run() override {
        ++runs;
        m_body(*this);
    }

private:
    std::function<void(ScriptedThread&)> m_body;
    mutable std::mutex m_mutex;
    std::condition_variable m_condition;
    bool m_released = false;
    std::wstring m_text;
};

} // namespace k52test
