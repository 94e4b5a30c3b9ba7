#include "Platform/Linux/EvdevMotionSensor.h"

#include "Foundation/Clock.h"
#include "Platform/Linux/EvdevDevices.h"

#include <libevdev/libevdev.h>

#include <sys/ioctl.h>
#include <time.h>

namespace {

// Accelerometers that leave the resolution unset usually span ±2 g over their range.
constexpr double assumedRangeG = 2.0;

}

EvdevMotionSensor::EvdevMotionSensor(UniqueFd fd, std::array<Axis, 3> axes)
    : m_fd(std::move(fd))
    , m_axes(axes)
    , m_reader(m_fd.get())
{
    // Event times on the steady clock, the one readings are compared with.
    const int clock = CLOCK_MONOTONIC;
    ioctl(m_fd.get(), EVIOCSCLOCKID, &clock);
}

EvdevMotionSensor::~EvdevMotionSensor()
{
    stop();
}

std::unique_ptr<EvdevMotionSensor> EvdevMotionSensor::open(const QString &node)
{
    UniqueFd fd = EvdevDevices::openMatching(node, EvdevDevices::Kind::accelerometer);
    libevdev *device = nullptr;
    if (!fd || libevdev_new_from_fd(fd.get(), &device) != 0)
        return nullptr;
    std::array<Axis, 3> axes;
    const unsigned codes[3] = {ABS_X, ABS_Y, ABS_Z};
    for (std::size_t i = 0; i < axes.size(); ++i) {
        const input_absinfo *info = libevdev_get_abs_info(device, codes[i]);
        axes[i].value = info->value;
        axes[i].unitsPerG = info->resolution > 0 ? double(info->resolution)
                                                 : std::max(1.0, double(info->maximum) / assumedRangeG);
    }
    libevdev_free(device);
    return std::make_unique<EvdevMotionSensor>(std::move(fd), axes);
}

bool EvdevMotionSensor::start(Handler handler, const QString &threadLabel)
{
    if (m_thread.isRunning())
        return true;
    m_handler = std::move(handler);
    if (!m_thread.start(threadLabel, m_fd.get(), [this] { return readRecords(); })) {
        m_handler = nullptr;
        return false;
    }
    return true;
}

void EvdevMotionSensor::stop()
{
    m_thread.stop();
    m_handler = nullptr;
}

bool EvdevMotionSensor::readRecords()
{
    const auto status = m_reader.readAvailable([this](const input_event &event) {
        if (event.type == EV_ABS && event.code <= ABS_Z) {
            m_axes[event.code].value = event.value;
        } else if (event.type == EV_SYN && event.code == SYN_REPORT) {
            MotionSample sample;
            sample.uptimeSeconds = double(event.input_event_sec) + double(event.input_event_usec) * 1e-6;
            // A clock that could not be switched (not a real device) gives wall times.
            if (sample.uptimeSeconds <= 0.0 || sample.uptimeSeconds > uptimeSeconds(std::chrono::steady_clock::now()) + 1.0)
                sample.uptimeSeconds = uptimeSeconds(std::chrono::steady_clock::now());
            sample.x = m_axes[0].value / m_axes[0].unitsPerG;
            sample.y = m_axes[1].value / m_axes[1].unitsPerG;
            sample.z = m_axes[2].value / m_axes[2].unitsPerG;
            m_handler(sample);
        }
    });
    return status == EvdevRecordReader::Status::drained;
}
