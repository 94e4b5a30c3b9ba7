#include "Focus/FocusJsonReader.h"

#include <QJsonArray>

#include <cmath>
#include <limits>

namespace {
// Far beyond any real date, and well inside what milliseconds in 64 bits can hold.
constexpr double maximumDateSeconds = 1e12;

std::optional<qint64> wholeNumber(const QJsonValue &value)
{
    if (!value.isDouble())
        return std::nullopt;
    const QVariant number = value.toVariant();
    if (number.typeId() == QMetaType::LongLong)
        return number.toLongLong();
    const double real = value.toDouble();
    // An integral number written with a fraction ("5.0") still names a whole number.
    if (std::trunc(real) != real || std::abs(real) > 9.0e15)
        return std::nullopt;
    return qint64(real);
}

bool isHex(QChar c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}
}

FocusJsonReader::FocusJsonReader(const QJsonValue &value) : m_object(value.toObject()), m_ok(value.isObject()) {}

QJsonValue FocusJsonReader::field(QStringView key)
{
    const auto it = m_object.constFind(key);
    if (it == m_object.constEnd()) {
        m_ok = false;
        return {};
    }
    return it.value();
}

QString FocusJsonReader::string(QStringView key)
{
    const QJsonValue value = field(key);
    return value.isString() ? value.toString() : fail<QString>();
}

std::optional<QUuid> FocusJsonReader::parseUuid(const QJsonValue &value)
{
    if (!value.isString())
        return std::nullopt;
    const QString text = value.toString();
    if (text.size() != 36)
        return std::nullopt;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool hyphenPlace = i == 8 || i == 13 || i == 18 || i == 23;
        if (hyphenPlace ? text[i] != u'-' : !isHex(text[i]))
            return std::nullopt;
    }
    return QUuid::fromString(text);
}

QUuid FocusJsonReader::uuid(QStringView key)
{
    const auto parsed = parseUuid(field(key));
    return parsed ? *parsed : fail<QUuid>();
}

FocusDate FocusJsonReader::date(QStringView key)
{
    const QJsonValue value = field(key);
    if (!value.isDouble() || !(std::abs(value.toDouble()) <= maximumDateSeconds))
        return fail<FocusDate>();
    return FocusDate::fromSeconds(value.toDouble());
}

int FocusJsonReader::integer(QStringView key)
{
    const auto number = wholeNumber(field(key));
    if (!number || *number < std::numeric_limits<int>::min() || *number > std::numeric_limits<int>::max())
        return fail<int>();
    return int(*number);
}

std::optional<qint64> FocusJsonReader::optionalInteger(QStringView key)
{
    const auto it = m_object.constFind(key);
    if (it == m_object.constEnd() || it.value().isNull())
        return std::nullopt;
    const auto number = wholeNumber(it.value());
    if (!number)
        m_ok = false;
    return number;
}

bool FocusJsonReader::boolean(QStringView key)
{
    const QJsonValue value = field(key);
    return value.isBool() ? value.toBool() : fail<bool>();
}

QStringList FocusJsonReader::strings(QStringView key)
{
    const QJsonValue value = field(key);
    if (!value.isArray())
        return fail<QStringList>();
    QStringList result;
    for (const QJsonValue element : value.toArray()) {
        if (!element.isString())
            return fail<QStringList>();
        result.append(element.toString());
    }
    return result;
}

QList<QUuid> FocusJsonReader::uuids(QStringView key)
{
    const QJsonValue value = field(key);
    if (!value.isArray())
        return fail<QList<QUuid>>();
    QList<QUuid> result;
    for (const QJsonValue element : value.toArray()) {
        const auto parsed = parseUuid(element);
        if (!parsed)
            return fail<QList<QUuid>>();
        result.append(*parsed);
    }
    return result;
}
