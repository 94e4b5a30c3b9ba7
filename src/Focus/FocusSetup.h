#pragma once

#include <QByteArray>
#include <QJsonValue>
#include <QString>
#include <QStringList>
#include <QUuid>

#include <optional>

// A named, reusable session configuration.
struct FocusSetup {
    QUuid id;
    QString goal;
    int minutes = 0;
    // The on-task applications' identifiers: no empty ones, no duplicates, ascending.
    QStringList allowedBundleIDs;

    void writeJson(QByteArray &out) const;
    static std::optional<FocusSetup> fromJson(const QJsonValue &value);

    friend bool operator==(const FocusSetup &, const FocusSetup &) = default;
};
