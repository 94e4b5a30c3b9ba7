#pragma once

#include "Focus/FocusDate.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QUuid>

#include <string_view>

// Writes one compact JSON object of a journal record, keys in the order they are given:
// identifiers in upper case, dates as seconds since 2001-01-01 00:00:00 UTC.
class FocusJsonWriter {
public:
    explicit FocusJsonWriter(QByteArray &out);

    FocusJsonWriter &string(std::string_view key, const QString &value);
    FocusJsonWriter &uuid(std::string_view key, const QUuid &value);
    FocusJsonWriter &date(std::string_view key, const FocusDate &value);
    FocusJsonWriter &integer(std::string_view key, qint64 value);
    FocusJsonWriter &boolean(std::string_view key, bool value);
    FocusJsonWriter &strings(std::string_view key, const QStringList &values);
    FocusJsonWriter &uuids(std::string_view key, const QList<QUuid> &values);
    // Closes the object.
    void finish();

    static QString uuidText(const QUuid &value);

private:
    void key(std::string_view name);
    void appendString(QStringView text);

    QByteArray &m_out;
    bool m_first = true;
};
