#pragma once

#include "Focus/FocusDate.h"

#include <QByteArray>
#include <QJsonValue>
#include <QString>
#include <QUuid>

#include <optional>

// One to-do item of the journal.
struct FocusTask {
    QUuid id;
    QString title;
    bool isComplete = false;
    FocusDate createdAt;

    void writeJson(QByteArray &out) const;
    static std::optional<FocusTask> fromJson(const QJsonValue &value);

    friend bool operator==(const FocusTask &, const FocusTask &) = default;
};
