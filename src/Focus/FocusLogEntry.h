#pragma once

#include "Focus/FocusDate.h"

#include <QByteArray>
#include <QJsonValue>
#include <QString>
#include <QUuid>

#include <optional>

// A check-in note written during or around a session.
struct FocusLogEntry {
    QUuid id;
    FocusDate date;
    QString goal;
    QString text;

    void writeJson(QByteArray &out) const;
    static std::optional<FocusLogEntry> fromJson(const QJsonValue &value);

    friend bool operator==(const FocusLogEntry &, const FocusLogEntry &) = default;
};
