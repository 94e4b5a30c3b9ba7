#pragma once

#include "Foundation/Clock.h"
#include "Platform/MotionSensor.h"
#include "Services/Impact/ImpactDetector.h"

#include <QObject>

#include <functional>
#include <memory>
#include <mutex>

// Laptop taps: reads the motion sensor on its own thread, runs the impact detector there
// and fires the immediate callback at once (the reaction sound's road); the counts and the
// GUI-side callback follow on the GUI thread.
class ImpactController final : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool hardwareDetected READ hardwareDetected NOTIFY hardwareDetectedChanged)
    Q_PROPERTY(int sessionCount READ sessionCount NOTIFY sessionCountChanged)
    Q_PROPERTY(double hardestImpact READ hardestImpact NOTIFY hardestImpactChanged)
    Q_PROPERTY(double estimatedLatencyMS READ estimatedLatencyMS NOTIFY estimatedLatencyMSChanged)

public:
    static inline const QString threadLabel = QStringLiteral("local.knockwell.accelerometer");
    // The machine's motion sensor, or null when it has none.
    using SensorFinder = std::function<std::unique_ptr<MotionSensor>()>;

    ImpactController(SensorFinder findSensor, const Clock &clock, QObject *parent = nullptr);
    ~ImpactController() override;

    bool hardwareDetected() const { return m_hardwareDetected; }
    int sessionCount() const { return m_sessionCount; }
    double hardestImpact() const { return m_hardestImpact; }
    double estimatedLatencyMS() const { return m_estimatedLatencyMS; }

    // Strength in g. onImmediateImpact runs on the sensor thread; onImpact on the GUI
    // thread. Set both before start().
    std::function<void(double strength)> onImpact;
    std::function<void(double strength)> onImmediateImpact;

    // Looks for the sensor and starts reading it; publishes whether one could be read.
    bool start();
    void stop();
    bool isRunning() const { return m_sensor != nullptr; }

    // Safe from any thread.
    void setSensitivity(double sensitivity);
    void setCooldown(double seconds);

    // One reading, as the sensor thread hands it over.
    void handleSample(const MotionSample &sample);

signals:
    void changed();
    void hardwareDetectedChanged(bool value);
    void sessionCountChanged(int value);
    void hardestImpactChanged(double value);
    void estimatedLatencyMSChanged(double value);

private:
    void publishImpact(double strength, double latencyMs);
    void setHardwareDetected(bool detected);

    SensorFinder m_findSensor;
    const Clock &m_clock;
    std::unique_ptr<MotionSensor> m_sensor;
    std::mutex m_detectorMutex;
    ImpactDetector m_detector;
    bool m_hardwareDetected = false;
    int m_sessionCount = 0;
    double m_hardestImpact = 0.0;
    double m_estimatedLatencyMS = 0.0;
};
