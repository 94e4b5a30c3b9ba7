#pragma once

#include "Focus/FocusDate.h"

#include <QJsonObject>
#include <QJsonValue>
#include <QList>
#include <QString>
#include <QStringList>
#include <QUuid>

#include <optional>

// Reads the fields of one journal record object. A missing key or a value of the wrong JSON
// type marks the whole record unreadable; unknown keys are ignored.
class FocusJsonReader {
public:
    explicit FocusJsonReader(const QJsonValue &value);

    // The record built from fields read here, or nothing when any of them was unreadable.
    template <typename T>
    std::optional<T> record(T value) const
    {
        if (!m_ok)
            return std::nullopt;
        return value;
    }

    QString string(QStringView key);
    QUuid uuid(QStringView key);
    FocusDate date(QStringView key);
    int integer(QStringView key);
    // Absent when the key is missing or null.
    std::optional<qint64> optionalInteger(QStringView key);
    bool boolean(QStringView key);
    QStringList strings(QStringView key);
    QList<QUuid> uuids(QStringView key);

    static std::optional<QUuid> parseUuid(const QJsonValue &value);

private:
    QJsonValue field(QStringView key);
    template <typename T>
    T fail()
    {
        m_ok = false;
        return T{};
    }

    QJsonObject m_object;
    bool m_ok;
};
