#pragma once

#include <QDateTime>

#include <chrono>

// Time source for anything timed, so tests can move time by hand instead of sleeping.
class Clock {
public:
    using Uptime = std::chrono::steady_clock::time_point;

    virtual ~Clock() = default;
    virtual Uptime uptime() const = 0;
    virtual QDateTime now() const = 0;
};

class SystemClock final : public Clock {
public:
    Uptime uptime() const override { return std::chrono::steady_clock::now(); }
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

// Seconds of uptime as a double, the unit models and policies work in.
inline double uptimeSeconds(Clock::Uptime t)
{
    return std::chrono::duration<double>(t.time_since_epoch()).count();
}
