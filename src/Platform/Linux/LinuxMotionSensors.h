#pragma once

#include "Platform/MotionSensor.h"

#include <QString>

#include <memory>

namespace LinuxMotionSensors {
// The machine's accelerometer: an input device first (it delivers readings as they come),
// else an IIO device under sysfsRoot, the one in the base preferred where the machine has
// one in the lid as well; null when there is none.
std::unique_ptr<MotionSensor> find(const QString &sysfsRoot = QStringLiteral("/sys"));
std::unique_ptr<MotionSensor> findIio(const QString &sysfsRoot);
}
