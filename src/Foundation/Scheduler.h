#pragma once

#include <QObject>

#include <chrono>
#include <functional>

// Delayed work on the GUI thread. A task is dropped once its context object is gone,
// so delayed work never reaches an owner that no longer exists.
class Scheduler {
public:
    virtual ~Scheduler() = default;
    virtual void schedule(std::chrono::milliseconds delay, QObject *context, std::function<void()> task) = 0;
};

class QtScheduler final : public Scheduler {
public:
    void schedule(std::chrono::milliseconds delay, QObject *context, std::function<void()> task) override;
};
