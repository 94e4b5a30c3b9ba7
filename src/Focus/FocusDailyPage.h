#pragma once

#include <QByteArray>
#include <QJsonValue>
#include <QList>
#include <QString>
#include <QUuid>

#include <optional>

// The journal page of one calendar day, named by its day key ("2026-03-15").
struct FocusDailyPage {
    QString id;
    QString intention;
    QString notes;
    // Up to three tasks chosen as the day's priorities, in the order chosen.
    QList<QUuid> priorityTaskIDs;

    void writeJson(QByteArray &out) const;
    static std::optional<FocusDailyPage> fromJson(const QJsonValue &value);

    friend bool operator==(const FocusDailyPage &, const FocusDailyPage &) = default;
};
