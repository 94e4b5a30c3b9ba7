#include "Platform/Linux/LinuxMotionSensors.h"

#include "Platform/Linux/EvdevDevices.h"
#include "Platform/Linux/EvdevMotionSensor.h"
#include "Platform/Linux/IioMotionSensor.h"

#include "Foundation/SafeFiles.h"

#include <QDir>

namespace {

bool isBaseSensor(const QString &device)
{
    for (const QString &attribute : {QStringLiteral("location"), QStringLiteral("label")}) {
        const QString path = QDir(device).filePath(attribute);
        if (SafeFiles::readForeign(path, ForeignFiles::kernelAttribute).value_or(QByteArray()).contains("base"))
            return true;
    }
    return false;
}

}

std::unique_ptr<MotionSensor> LinuxMotionSensors::find(const QString &sysfsRoot)
{
    for (const QString &node : EvdevDevices::nodes()) {
        if (auto sensor = EvdevMotionSensor::open(node))
            return sensor;
    }
    return findIio(sysfsRoot);
}

std::unique_ptr<MotionSensor> LinuxMotionSensors::findIio(const QString &sysfsRoot)
{
    QStringList accelerometers;
    for (const QString &device : IioSysfs::devices(sysfsRoot)) {
        const QDir folder(device);
        if (folder.exists(QStringLiteral("in_accel_x_raw")) && folder.exists(QStringLiteral("in_accel_y_raw"))
            && folder.exists(QStringLiteral("in_accel_z_raw")))
            accelerometers << device;
    }
    if (accelerometers.isEmpty())
        return nullptr;
    const auto base = std::find_if(accelerometers.begin(), accelerometers.end(), isBaseSensor);
    return std::make_unique<IioMotionSensor>(base != accelerometers.end() ? *base : accelerometers.front());
}
