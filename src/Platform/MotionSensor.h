#pragma once

#include <QString>

#include <functional>

// One accelerometer reading in g, with the uptime (steady clock, seconds) it was taken at.
struct MotionSample {
    double uptimeSeconds = 0.0;
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
};

class MotionSensor {
public:
    // Called on the sensor's own thread, one sample at a time.
    using Handler = std::function<void(const MotionSample &)>;

    virtual ~MotionSensor() = default;
    // Starts reading on a thread labelled threadLabel; false when the sensor cannot be read.
    virtual bool start(Handler handler, const QString &threadLabel) = 0;
    // Returns once the handler will not be called again.
    virtual void stop() = 0;
};
