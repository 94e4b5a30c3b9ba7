#pragma once

#include <atomic>

// The cancellation request of one running import, shared between the interface (which may
// cancel it) and the worker (which checks it between steps).
class ImportProgress {
public:
    void cancel() noexcept { m_cancelled.store(true, std::memory_order_relaxed); }
    bool isCancelled() const noexcept { return m_cancelled.load(std::memory_order_relaxed); }

private:
    std::atomic<bool> m_cancelled{false};
};
