#pragma once

#include "Foundation/UniqueFd.h"
#include "Platform/Linux/FdWatchThread.h"
#include "Platform/Linux/IioSysfs.h"
#include "Platform/MotionSensor.h"

#include <array>

// An IIO accelerometer read through sysfs at a fixed rate (sysfs offers no readings
// without a configured buffer, which needs the superuser).
class IioMotionSensor final : public MotionSensor {
public:
    static constexpr int sampleRateHz = 100;

    explicit IioMotionSensor(QString deviceFolder);
    ~IioMotionSensor() override;

    bool start(Handler handler, const QString &threadLabel) override;
    void stop() override;

private:
    bool sample();
    void closeFiles();

    QString m_device;
    Handler m_handler;
    std::array<UniqueFd, 3> m_axisFds;
    std::array<IioSysfs::Conversion, 3> m_conversions;
    UniqueFd m_timerFd;
    FdWatchThread m_thread;
};
