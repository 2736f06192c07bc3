#pragma once
#include "base/CPrivateException.h"
#include "rack/CProgressCounter.h"

#include <atomic>
#include <exception>
#include <memory>
#include <string>
#include <thread>

// A long operation on a worker thread, watched by a progress window on the
// user's thread. The object is created, configured and only then started;
// it runs once. The worker never shows a failure itself: the failure is kept
// and shown by the destructor, on the user's thread, after the starter has
// done its own finishing steps.
class CProgressThreadInterface {
public:
    CProgressThreadInterface();
    CProgressThreadInterface(const CProgressThreadInterface&) = delete;
    CProgressThreadInterface& operator=(const CProgressThreadInterface&) = delete;

    // Waits for the worker and reports a kept failure through
    // CException::ReportError.
    virtual ~CProgressThreadInterface();

    // Starts the worker. A second call does nothing: the object runs once.
    void Start();

    // True once the worker has finished its body (without waiting).
    bool HasEnded() const;

    // The worker has ended without failure and without being cancelled: only
    // then may the starter take its result.
    bool Succeeded() const;

    // Waits for the worker, if one was started.
    void Wait();

    // The text that the progress window shows while the worker runs.
    virtual std::wstring GetProgressText() const;

    // Asks the worker to stop; called on the user's thread while it runs.
    // Overrides interrupt the work, then call this.
    virtual void Cancel();

    bool IsCancelled() const { return m_cancelled.load(); }

    // The kept failure, or what a cancel left to say (a module stopped
    // half-way), or nullptr. Read it only after the worker has ended.
    const CPrivateException* GetError() const { return m_error.get(); }

    CProgressCounter& GetProgress() { return m_progress; }
    const CProgressCounter& GetProgress() const { return m_progress; }

protected:
    // The worker's body. A failure it raises is kept as the thread's error,
    // unless the user has cancelled: a cancelled operation ends silently.
    //
    // A subclass whose body uses the subclass's own members must call Wait()
    // in its destructor, before those members go.
    virtual void Run();

    // Keeps a failure as the thread's error (replacing an earlier one), or
    // drops it when the user has cancelled.
    void StoreError(const std::exception& error);

    // Keeps a cancelled operation's exception unless it is the plain
    // cancellation, to be shown like a failure: a cancel is silent only when
    // it left nothing behind that the user must see to (a module half written).
    void StoreCancelNotice(const std::exception& error);

private:
    void ThreadMain();

    std::atomic<bool> m_cancelled{false};
    std::unique_ptr<CPrivateException> m_error;
    bool m_failed = false; // written by the worker before m_ended
    CProgressCounter m_progress;
    std::thread m_thread;
    std::atomic<bool> m_started{false};
    std::atomic<bool> m_ended{false};
};
