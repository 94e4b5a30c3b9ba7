#pragma once

#include "Focus/FocusDate.h"

#include <QByteArray>
#include <QJsonValue>
#include <QString>
#include <QUuid>

#include <optional>

// One finished focus session.
struct FocusSessionRecord {
    QUuid id;
    QString goal;
    FocusDate startedAt;
    FocusDate endedAt;
    int plannedMinutes = 0;
    // False when the session was stopped early.
    bool completed = false;
    QString reflection;
    // Seconds spent focused, pauses left out; older records may lack it.
    std::optional<qint64> activeSeconds;

    // Seconds the session counts for: the focused seconds when known, else the whole seconds
    // from start to end; never below 0.
    qint64 lengthSeconds() const;

    void writeJson(QByteArray &out) const;
    static std::optional<FocusSessionRecord> fromJson(const QJsonValue &value);

    friend bool operator==(const FocusSessionRecord &, const FocusSessionRecord &) = default;
};
