#pragma once
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

// The monitor thread's lock. It behaves like an operating-system mutex: the
// owning thread may take it again (and releases it as often), a thread that
// does not own it cannot release it, and a wait may be bounded.
class CMutexHandle {
public:
    static constexpr std::uint32_t kInfinite = 0xFFFFFFFF;

    CMutexHandle() = default;
    ~CMutexHandle();
    CMutexHandle(const CMutexHandle&) = delete;
    CMutexHandle& operator=(const CMutexHandle&) = delete;

    // False only when the wait timed out; kInfinite waits without limit.
    bool Wait(std::uint32_t milliseconds = kInfinite);

    // False when the calling thread does not own the mutex.
    bool Release();

private:
    std::mutex m_mutex;
    std::condition_variable m_released;
    std::thread::id m_owner;
    std::uint32_t m_count = 0;
};
