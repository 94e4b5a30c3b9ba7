#pragma once

#include "fakes/ManualClock.h"

#include <chrono>
#include <functional>
#include <mutex>
#include <vector>

// Delayed calls for an audio engine that fire when the test moves the clock past them.
// Engines schedule from their own queue, so the list is lock-guarded.
class ManualAudioTimer {
public:
    explicit ManualAudioTimer(ManualClock &clock) : m_clock(clock) {}

    auto delayedCall()
    {
        return [this](std::chrono::milliseconds delay, std::function<void()> task) {
            std::lock_guard lock(m_mutex);
            m_pending.push_back({m_clock.uptime() + delay, std::move(task)});
        };
    }

    // Moves the clock on and runs every call that has come due.
    void advance(std::chrono::milliseconds step)
    {
        std::vector<std::function<void()>> due;
        {
            std::lock_guard lock(m_mutex);
            m_clock.advance(step);
            std::erase_if(m_pending, [&](Pending &pending) {
                if (pending.due > m_clock.uptime())
                    return false;
                due.push_back(std::move(pending.task));
                return true;
            });
        }
        for (auto &task : due)
            task();
    }

private:
    struct Pending {
        Clock::Uptime due;
        std::function<void()> task;
    };
    ManualClock &m_clock;
    std::mutex m_mutex;
    std::vector<Pending> m_pending;
};
