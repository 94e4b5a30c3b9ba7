#pragma once

#include "Effects/LidAnglePolicy.h"

#include <QObject>

#include <chrono>
#include <functional>
#include <optional>

class LidAngleReading;
class Scheduler;

// Reads the lid-angle sensor while it runs, publishes the angle and how far the lid has
// closed, and reports the lid's cues.
class LidAngleController final : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool hasAngle READ hasAngle NOTIFY angleChanged)
    Q_PROPERTY(double progress READ progress NOTIFY progressChanged)

public:
    static constexpr std::chrono::milliseconds readInterval{100};
    // Smaller moves are sensor noise, not the lid.
    static constexpr double minimumChangeDegrees = 0.5;

    // The reader may be null when the machine has no sensor.
    LidAngleController(LidAngleReading *reader, Scheduler &scheduler, QObject *parent = nullptr);

    std::optional<double> angle() const { return m_angle; }
    bool hasAngle() const { return m_angle.has_value(); }
    double progress() const { return m_progress; }
    bool isRunning() const { return m_running; }
    // Whether the machine has a sensor; the reader looks for it once, when it is made.
    bool hasSensor() const;

    std::function<void(double progress)> onProgress;
    std::function<void(LidCue)> onCue;

    void start();
    // Stops reading and forgets the angle.
    void stop();

signals:
    void changed();
    void angleChanged();
    void progressChanged(double progress);

private:
    void read(quint64 generation);

    LidAngleReading *m_reader;
    Scheduler &m_scheduler;
    bool m_running = false;
    quint64 m_generation = 0;
    std::optional<double> m_angle;
    double m_progress = 0;
    LidAnglePolicy m_policy;
};
