#include "link/CMutexHandle.h"

#include <chrono>

CMutexHandle::~CMutexHandle() {
    // Waiters, if any, are the destroyer's fault; the owner's hold simply ends.
    std::lock_guard lock(m_mutex);
    m_count = 0;
    m_owner = std::thread::id();
}

bool CMutexHandle::Wait(std::uint32_t milliseconds) {
    const std::thread::id self = std::this_thread::get_id();
    std::unique_lock lock(m_mutex);
    if (m_count > 0 && m_owner == self) {
        ++m_count;
        return true;
    }
    const auto free = [this] { return m_count == 0; };
    if (milliseconds == kInfinite) {
        m_released.wait(lock, free);
    } else if (!m_released.wait_for(lock, std::chrono::milliseconds(milliseconds), free)) {
        return false;
    }
    m_owner = self;
    m_count = 1;
    return true;
}

bool CMutexHandle::Release() {
    std::unique_lock lock(m_mutex);
    if (m_count == 0 || m_owner != std::this_thread::get_id()) {
        return false;
    }
    if (--m_count == 0) {
        m_owner = std::thread::id();
        lock.unlock();
        m_released.notify_one();
    }
    return true;
}
