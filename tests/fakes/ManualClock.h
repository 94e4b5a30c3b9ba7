#pragma once

#include "Foundation/Clock.h"
#include "Foundation/Scheduler.h"

#include <QPointer>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <vector>

// A clock that moves only when the test says so. The audio thread reads it while the test
// thread moves it, so both readings are safe from any thread.
class ManualClock final : public Clock {
public:
    Uptime uptime() const override { return m_uptime.load(std::memory_order_acquire); }
    QDateTime now() const override
    {
        const std::lock_guard lock(m_nowMutex);
        return m_now;
    }

    void advance(std::chrono::milliseconds step)
    {
        const std::lock_guard lock(m_nowMutex);
        m_now = m_now.addMSecs(step.count());
        m_uptime.store(m_uptime.load(std::memory_order_relaxed) + step, std::memory_order_release);
    }
    void setNow(const QDateTime &now)
    {
        const std::lock_guard lock(m_nowMutex);
        m_now = now;
    }

private:
    std::atomic<Uptime> m_uptime{Uptime(std::chrono::hours(1))};
    mutable std::mutex m_nowMutex;
    QDateTime m_now = QDateTime(QDate(2026, 3, 14), QTime(10, 0));
};

// Delayed tasks that run when the test advances time past them, in due order.
class ManualScheduler final : public Scheduler {
public:
    explicit ManualScheduler(ManualClock &clock) : m_clock(clock) {}

    void schedule(std::chrono::milliseconds delay, QObject *context, std::function<void()> task) override
    {
        m_pending.push_back({m_clock.uptime() + delay, m_sequence++, context, std::move(task)});
    }

    void advance(std::chrono::milliseconds step)
    {
        const auto target = m_clock.uptime() + step;
        for (;;) {
            auto next = std::min_element(m_pending.begin(), m_pending.end(), [](const auto &a, const auto &b) {
                return a.due != b.due ? a.due < b.due : a.sequence < b.sequence;
            });
            if (next == m_pending.end() || next->due > target)
                break;
            Pending due = std::move(*next);
            m_pending.erase(next);
            // A task overdue (the clock was moved on by itself, as in a stall) runs late, at
            // the present; a steady clock never goes back.
            if (due.due > m_clock.uptime())
                m_clock.advance(std::chrono::duration_cast<std::chrono::milliseconds>(due.due - m_clock.uptime()));
            if (due.context)
                due.task();
        }
        if (target > m_clock.uptime())
            m_clock.advance(std::chrono::duration_cast<std::chrono::milliseconds>(target - m_clock.uptime()));
    }

    std::size_t pendingCount() const { return m_pending.size(); }

private:
    struct Pending {
        Clock::Uptime due;
        int sequence;
        QPointer<QObject> context;
        std::function<void()> task;
    };
    ManualClock &m_clock;
    std::vector<Pending> m_pending;
    int m_sequence = 0;
};
