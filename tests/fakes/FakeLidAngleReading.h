#pragma once

#include "Platform/LidAngleReading.h"

#include <deque>

// A lid sensor that answers each read with the next angle the test queued, then repeats
// the last one.
class FakeLidAngleReading final : public LidAngleReading {
public:
    bool isAvailable() const override { return available; }
    std::optional<double> readAngle() override
    {
        ++reads;
        if (!queued.empty()) {
            last = queued.front();
            queued.pop_front();
        }
        return last;
    }
    bool available = true;
    std::deque<std::optional<double>> queued;
    std::optional<double> last;
    int reads = 0;
};
