#pragma once

#include "Foundation/Clock.h"

#include <chrono>

// The safety margin an output keeps queued beyond its shortest buffer: one step wider each
// time the stream is found to have run dry, one step narrower after a quiet stretch without,
// never past the ceiling. A stream that ran dry once under load is so not held at a long
// latency for good. Times come from the caller's clock.
class LatencyMargin {
public:
    static constexpr std::chrono::microseconds step{4000};
    static constexpr std::chrono::microseconds ceiling{20000};
    static constexpr std::chrono::seconds quietStretch{10};

    // The stream ran dry, once or more since the last report.
    void noteUnderrun(Clock::Uptime now);
    // The margin to keep from `now` on: a step narrower when a quiet stretch has passed since
    // the last change.
    std::chrono::microseconds at(Clock::Uptime now);

private:
    std::chrono::microseconds m_margin{0};
    Clock::Uptime m_changedAt{};
};
