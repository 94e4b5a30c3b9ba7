#include "Platform/Linux/EvdevInputSource.h"

#include "Foundation/LogCategories.h"
#include "Platform/Linux/EvdevDevices.h"

namespace {

EvdevDevices::Kind kindOf(InputDeviceClass deviceClass)
{
    return deviceClass == InputDeviceClass::keyboard ? EvdevDevices::Kind::keyboard : EvdevDevices::Kind::mouse;
}

}

EvdevInputSource::EvdevInputSource(InputDeviceClass deviceClass, const QString &threadLabel)
    : m_deviceClass(deviceClass)
    , m_reader(threadLabel, deviceClass)
{
}

bool EvdevInputSource::start(Handler handler)
{
    const auto kind = kindOf(m_deviceClass);
    // Watch before listing, so a device plugged in between is not missed.
    auto watcher = EvdevDevices::watcher(kind);
    std::vector<EvdevReaderThread::Device> devices;
    for (const QString &node : EvdevDevices::nodes()) {
        if (UniqueFd fd = EvdevDevices::openMatching(node, kind))
            devices.push_back({fd.release(), node});
    }
    if (devices.empty()) {
        qCInfo(logInput) << "no readable evdev device of this kind; /dev/input needs the input group or a uaccess rule";
        return false;
    }
    qCInfo(logInput) << "reading" << devices.size() << "evdev devices";
    return m_reader.start(std::move(devices), std::move(watcher), std::move(handler));
}

void EvdevInputSource::stop()
{
    m_reader.stop();
}
