#pragma once

#include <QDateTime>
#include <QString>

#include <optional>

// What a finished session hands to the journal.
struct FocusSessionResult {
    QString goal;
    QDateTime startedAt;
    QDateTime endedAt;
    int plannedMinutes = 0;
    bool completed = false;
    // Elapsed seconds less paused seconds, never below 0.
    std::optional<qint64> activeSeconds;

    friend bool operator==(const FocusSessionResult &, const FocusSessionResult &) = default;
};
