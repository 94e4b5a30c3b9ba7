#include "Focus/FocusDate.h"

#include <QTimeZone>

#include <cmath>

FocusDate::FocusDate(const QDateTime &dateTime)
    : m_seconds(double(dateTime.toMSecsSinceEpoch() - referenceDateMSecs) / 1000.0)
{
}

FocusDate FocusDate::fromSeconds(double secondsSinceReference)
{
    FocusDate date;
    date.m_seconds = secondsSinceReference;
    return date;
}

QDateTime FocusDate::dateTime() const
{
    return QDateTime::fromMSecsSinceEpoch(referenceDateMSecs + std::llround(m_seconds * 1000.0), QTimeZone::utc());
}
