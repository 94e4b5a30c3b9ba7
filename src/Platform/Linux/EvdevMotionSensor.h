#pragma once

#include "Foundation/UniqueFd.h"
#include "Platform/Linux/EvdevRecordReader.h"
#include "Platform/Linux/FdWatchThread.h"
#include "Platform/MotionSensor.h"

#include <array>
#include <optional>

// An accelerometer that the kernel offers as an input device (INPUT_PROP_ACCELEROMETER):
// a reading per SYN_REPORT, in g by the axes' resolution (units per g).
class EvdevMotionSensor final : public MotionSensor {
public:
    struct Axis {
        double value = 0.0;         // the axis' current raw value
        double unitsPerG = 1.0;
    };

    EvdevMotionSensor(UniqueFd fd, std::array<Axis, 3> axes);
    ~EvdevMotionSensor() override;

    // An fd and axes of the device at that node, when it is a readable accelerometer.
    static std::unique_ptr<EvdevMotionSensor> open(const QString &node);

    bool start(Handler handler, const QString &threadLabel) override;
    void stop() override;

private:
    bool readRecords();

    UniqueFd m_fd;
    std::array<Axis, 3> m_axes;
    EvdevRecordReader m_reader;
    Handler m_handler;
    FdWatchThread m_thread;
};
