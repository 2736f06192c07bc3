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

    // Where a transfer is in finer steps, for a progress line that names them:
    // the module it is at (counted from 1) of how many, and the items of that
    // module done of how many (0 while the module's items are not known yet).
    void SetModuleCount(std::int32_t modules) {
        m_modules.store(modules, std::memory_order_relaxed);
        m_module.store(0, std::memory_order_relaxed);
    }
    void BeginModule() {
        m_items.store(0, std::memory_order_relaxed);
        m_item.store(0, std::memory_order_relaxed);
        m_module.fetch_add(1, std::memory_order_relaxed);
    }
    void SetItemCount(std::int32_t items) { m_items.store(items, std::memory_order_relaxed); }
    void AdvanceItem() { m_item.fetch_add(1, std::memory_order_relaxed); }
    std::int32_t GetModuleCount() const { return m_modules.load(std::memory_order_relaxed); }
    std::int32_t GetModule() const { return m_module.load(std::memory_order_relaxed); }
    std::int32_t GetItemCount() const { return m_items.load(std::memory_order_relaxed); }
    std::int32_t GetItem() const { return m_item.load(std::memory_order_relaxed); }

private:
    std::atomic<std::int32_t> m_modules{0};
    std::atomic<std::int32_t> m_module{0};
    std::atomic<std::int32_t> m_items{0};
    std::atomic<std::int32_t> m_item{0};
    std::atomic<std::int32_t> m_total{0};
    std::atomic<std::int32_t> m_current{0};
};
