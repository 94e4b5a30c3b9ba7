#pragma once

#include <QDateTime>

// A moment as the journal stores it: seconds since 2001-01-01 00:00:00 UTC. The stored number
// is kept as it was read, so writing a journal back never rounds its dates.
class FocusDate {
public:
    static constexpr qint64 referenceDateMSecs = 978307200000;

    FocusDate() = default;
    // Implicit: every clock reading is a journal date.
    FocusDate(const QDateTime &dateTime);
    static FocusDate fromSeconds(double secondsSinceReference);

    double secondsSinceReference() const { return m_seconds; }
    // To the nearest millisecond, in UTC.
    QDateTime dateTime() const;

    friend bool operator==(const FocusDate &, const FocusDate &) = default;

private:
    double m_seconds = 0;
};
