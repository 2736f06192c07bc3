#pragma once
#include <atomic>
#include <cstdint>

// Steps of a long operation: the worker counts, the progress window reads.
// Each field is read and written whole, without a lock; a reader may see a
// total and a current from different moments, which only affects one drawing.
class CProgressCounter {
public:
    CProgressCounter() = default;
    CProgressCounter(const CProgressCounter&) = delete;
    CProgressCounter& operator=(const CProgressCounter&) = delete;
    virtual ~CProgressCounter();

    std::int32_t GetTotal() const { return m_total.load(std::memory_order_relaxed); }
    std::int32_t GetCurrent() const { return m_current.load(std::memory_order_relaxed); }
    void SetTotal(std::int32_t total) { m_total.store(total, std::memory_order_relaxed); }
    void SetCurrent(std::int32_t current) { m_current.store(current, std::memory_order_relaxed); }
    void Advance(std::int32_t steps = 1) { m_current.fetch_add(steps, std::memory_order_relaxed); }

    // Makes the count read as complete, whatever it was before: an operation
    // may take more or fewer steps than it first expected.
    void Complete() { SetTotal(GetCurrent()); }

private:
    std::atomic<std::int32_t> m_total{0};
    std::atomic<std::int32_t> m_current{0};
};
