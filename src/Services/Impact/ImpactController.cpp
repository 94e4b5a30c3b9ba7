#include "Services/Impact/ImpactController.h"

#include "Foundation/PublishedProperty.h"

#include <QMetaObject>
#include <algorithm>

ImpactController::ImpactController(SensorFinder findSensor, const Clock &clock, QObject *parent)
    : QObject(parent)
    , m_findSensor(std::move(findSensor))
    , m_clock(clock)
{
}

ImpactController::~ImpactController()
{
    stop();
}

bool ImpactController::start()
{
    if (m_sensor)
        return true;
    auto sensor = m_findSensor ? m_findSensor() : nullptr;
    {
        std::lock_guard lock(m_detectorMutex);
        m_detector.reset();
    }
    const bool started = sensor && sensor->start([this](const MotionSample &sample) { handleSample(sample); }, threadLabel);
    if (started)
        m_sensor = std::move(sensor);
    setHardwareDetected(started);
    return started;
}

void ImpactController::stop()
{
    if (m_sensor) {
        m_sensor->stop();
        m_sensor.reset();
    }
}

void ImpactController::setSensitivity(double sensitivity)
{
    std::lock_guard lock(m_detectorMutex);
    m_detector.setSensitivity(sensitivity);
}

void ImpactController::setCooldown(double seconds)
{
    std::lock_guard lock(m_detectorMutex);
    m_detector.setCooldown(seconds);
}

void ImpactController::handleSample(const MotionSample &sample)
{
    std::optional<Impact> impact;
    {
        std::lock_guard lock(m_detectorMutex);
        impact = m_detector.process(sample);
    }
    if (!impact)
        return;
    if (onImmediateImpact)
        onImmediateImpact(impact->strengthG);
    const double latencyMs = (uptimeSeconds(m_clock.uptime()) - impact->uptimeSeconds) * 1000.0;
    QMetaObject::invokeMethod(this, [this, strength = impact->strengthG, latencyMs] { publishImpact(strength, latencyMs); },
                              Qt::QueuedConnection);
}

void ImpactController::publishImpact(double strength, double latencyMs)
{
    ++m_sessionCount;
    emit sessionCountChanged(m_sessionCount);
    if (strength > m_hardestImpact) {
        m_hardestImpact = strength;
        emit hardestImpactChanged(strength);
    }
    const double latency = std::max(0.0, latencyMs);
    if (latency != m_estimatedLatencyMS) {
        m_estimatedLatencyMS = latency;
        emit estimatedLatencyMSChanged(latency);
    }
    emit changed();
    if (onImpact)
        onImpact(strength);
}

void ImpactController::setHardwareDetected(bool detected)
{
    publish(this, m_hardwareDetected, detected, &ImpactController::hardwareDetectedChanged);
}
