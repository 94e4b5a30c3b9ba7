#include "Effects/Chaos/ChaosClickCounter.h"

#include <cmath>

ChaosClickCounter::ChaosClickCounter(int intervalMs, qreal maximumDistance)
    : m_intervalMs(intervalMs)
    , m_maximumDistance(maximumDistance)
{
}

int ChaosClickCounter::press(QPointF position, qint64 timeMs)
{
    const QPointF moved = position - m_lastPosition;
    const bool continues = m_count > 0 && timeMs - m_lastTimeMs <= m_intervalMs
                           && std::hypot(moved.x(), moved.y()) <= m_maximumDistance;
    m_count = continues ? m_count + 1 : 1;
    m_lastPosition = position;
    m_lastTimeMs = timeMs;
    return m_count;
}
