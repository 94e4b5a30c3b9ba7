#pragma once

#include <QPointF>

// Counts successive presses the way the desktop does: a press within the double-click
// interval of the previous one, and close to it, continues the count; any other starts at 1.
class ChaosClickCounter {
public:
    ChaosClickCounter(int intervalMs, qreal maximumDistance);

    // The click count of a press at a time in milliseconds.
    int press(QPointF position, qint64 timeMs);

private:
    int m_intervalMs;
    qreal m_maximumDistance;
    int m_count = 0;
    QPointF m_lastPosition;
    qint64 m_lastTimeMs = 0;
};
