#include "Effects/LidAngleController.h"

#include "Foundation/Scheduler.h"
#include "Platform/LidAngleReading.h"

#include <cmath>

LidAngleController::LidAngleController(LidAngleReading *reader, Scheduler &scheduler, QObject *parent)
    : QObject(parent)
    , m_reader(reader)
    , m_scheduler(scheduler)
{
}

bool LidAngleController::hasSensor() const
{
    return m_reader && m_reader->isAvailable();
}

void LidAngleController::start()
{
    if (m_running || !hasSensor())
        return;
    m_running = true;
    m_policy = {};
    read(++m_generation);
}

void LidAngleController::stop()
{
    if (!m_running)
        return;
    m_running = false;
    ++m_generation;
    if (m_angle) {
        m_angle.reset();
        emit angleChanged();
        emit changed();
    }
}

void LidAngleController::read(quint64 generation)
{
    if (!m_running || generation != m_generation)
        return;
    const std::optional<double> reading = m_reader->readAngle();
    if (reading && std::isfinite(*reading)
        && (!m_angle || std::abs(*reading - *m_angle) >= minimumChangeDegrees)) {
        m_angle = reading;
        const double progress = LidAnglePolicy::progress(*reading);
        const std::optional<LidCue> cue = m_policy.cue(*reading);
        const bool progressMoved = progress != m_progress;
        m_progress = progress;
        emit angleChanged();
        if (progressMoved)
            emit progressChanged(progress);
        emit changed();
        if (onProgress)
            onProgress(progress);
        if (cue && onCue)
            onCue(*cue);
    }
    m_scheduler.schedule(readInterval, this, [this, generation] { read(generation); });
}
