#pragma once

#include <functional>

enum class SleepTransition { willSleep, didWake };

// The system going to sleep and waking up, reported on the GUI thread.
class SleepMonitor {
public:
    using Handler = std::function<void(SleepTransition)>;

    virtual ~SleepMonitor() = default;
    // False when this session cannot report sleep.
    virtual bool start(Handler handler) = 0;
    virtual void stop() = 0;
};
