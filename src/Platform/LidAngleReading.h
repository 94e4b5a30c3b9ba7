#pragma once

#include <optional>

// The lid-angle sensor as its controller reads it: polled, on the GUI thread.
class LidAngleReading {
public:
    virtual ~LidAngleReading() = default;
    // Whether this machine has a sensor to read.
    virtual bool isAvailable() const = 0;
    // Degrees between lid and base (0 closed, about 180 flat); none when there is no reading.
    virtual std::optional<double> readAngle() = 0;
};
