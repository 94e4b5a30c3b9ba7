#include "Effects/StatsOverlayPresentation.h"

#include "Foundation/Scheduler.h"

StatsOverlayPresentation::StatsOverlayPresentation(Scheduler &scheduler, QObject *parent)
    : QObject(parent)
    , m_scheduler(scheduler)
{
}

void StatsOverlayPresentation::update(const InteractionSnapshot &snapshot)
{
    if (snapshot == m_snapshot)
        return;
    m_snapshot = snapshot;
    emit changed();
}

void StatsOverlayPresentation::showKey(const QString &label)
{
    if (label.isEmpty())
        return;
    const quint64 generation = ++m_keyGeneration;
    m_scheduler.schedule(keyLabelDuration, this, [this, generation] {
        if (generation != m_keyGeneration || m_lastKeyLabel.isEmpty())
            return;
        m_lastKeyLabel.clear();
        emit changed();
    });
    if (label == m_lastKeyLabel)
        return;
    m_lastKeyLabel = label;
    emit changed();
}
