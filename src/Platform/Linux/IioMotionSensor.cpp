#include "Platform/Linux/IioMotionSensor.h"

#include "Foundation/Clock.h"
#include "Foundation/SafeFiles.h"

#include <QDir>

#include <sys/timerfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>

namespace {

// IIO accelerations are in m/s² once scaled.
constexpr double standardGravity = 9.80665;
const std::array<QString, 3> axes{QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("z")};

std::optional<double> readRaw(int fd)
{
    char text[32];
    const ssize_t count = ::pread(fd, text, sizeof text - 1, 0);
    if (count <= 0)
        return std::nullopt;
    text[count] = '\0';
    char *end = nullptr;
    const double value = std::strtod(text, &end);
    return end == text ? std::nullopt : std::optional(value);
}

}

IioMotionSensor::IioMotionSensor(QString deviceFolder)
    : m_device(std::move(deviceFolder))
{
}

IioMotionSensor::~IioMotionSensor()
{
    stop();
}

bool IioMotionSensor::start(Handler handler, const QString &threadLabel)
{
    if (m_thread.isRunning())
        return true;
    const QDir folder(m_device);
    for (std::size_t i = 0; i < axes.size(); ++i) {
        const QString prefix = QStringLiteral("in_accel_") + axes[i];
        m_axisFds[i] = SafeFiles::openForeign(folder.filePath(prefix + QStringLiteral("_raw")), ForeignFiles::kernelAttribute);
        m_conversions[i] = IioSysfs::conversion(m_device, prefix, QStringLiteral("in_accel"));
    }
    m_timerFd.reset(timerfd_create(CLOCK_MONOTONIC, TFD_CLOEXEC | TFD_NONBLOCK));
    const timespec period{0, 1'000'000'000L / sampleRateHz};
    const itimerspec schedule{period, period};
    const bool ready = std::all_of(m_axisFds.begin(), m_axisFds.end(), [](const UniqueFd &fd) { return fd && readRaw(fd.get()); })
        && m_timerFd && timerfd_settime(m_timerFd.get(), 0, &schedule, nullptr) == 0;
    m_handler = std::move(handler);
    if (!ready || !m_thread.start(threadLabel, m_timerFd.get(), [this] { return sample(); })) {
        m_handler = nullptr;
        closeFiles();
        return false;
    }
    return true;
}

void IioMotionSensor::stop()
{
    m_thread.stop();
    m_handler = nullptr;
    closeFiles();
}

bool IioMotionSensor::sample()
{
    std::uint64_t expirations = 0;
    if (::read(m_timerFd.get(), &expirations, sizeof expirations) < 0 && errno != EAGAIN)
        return false;
    MotionSample reading;
    reading.uptimeSeconds = uptimeSeconds(std::chrono::steady_clock::now());
    double *values[3] = {&reading.x, &reading.y, &reading.z};
    for (std::size_t i = 0; i < axes.size(); ++i) {
        const auto raw = readRaw(m_axisFds[i].get());
        // A reading that fails this time is skipped; the sensor may answer the next one.
        if (!raw)
            return true;
        *values[i] = (*raw + m_conversions[i].offset) * m_conversions[i].scale / standardGravity;
    }
    if (m_handler)
        m_handler(reading);
    return true;
}

void IioMotionSensor::closeFiles()
{
    for (UniqueFd &fd : m_axisFds)
        fd.reset();
    m_timerFd.reset();
}
