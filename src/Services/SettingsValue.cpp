#include "Services/SettingsValue.h"

#include <cmath>

namespace {
bool isText(const QVariant &value)
{
    return value.typeId() == QMetaType::QString || value.typeId() == QMetaType::QByteArray;
}
}

std::optional<bool> SettingsValue::toBool(const QVariant &value)
{
    if (value.typeId() == QMetaType::Bool)
        return value.toBool();
    if (isText(value)) {
        const QString text = value.toString();
        if (text == QLatin1String("true"))
            return true;
        if (text == QLatin1String("false"))
            return false;
    }
    return std::nullopt;
}

std::optional<double> SettingsValue::toDouble(const QVariant &value)
{
    if (!value.isValid() || value.typeId() == QMetaType::Bool || value.typeId() == QMetaType::QStringList)
        return std::nullopt;
    bool ok = false;
    const double number = isText(value) ? value.toString().trimmed().toDouble(&ok) : value.toDouble(&ok);
    if (!ok || !std::isfinite(number))
        return std::nullopt;
    return number;
}

std::optional<int> SettingsValue::toInt(const QVariant &value)
{
    if (!value.isValid() || value.typeId() == QMetaType::Bool || value.typeId() == QMetaType::QStringList)
        return std::nullopt;
    bool ok = false;
    const int number = isText(value) ? value.toString().trimmed().toInt(&ok) : value.toInt(&ok);
    if (!ok)
        return std::nullopt;
    return number;
}

std::optional<std::uint64_t> SettingsValue::toCount(const QVariant &value)
{
    if (!value.isValid() || value.typeId() == QMetaType::Bool || value.typeId() == QMetaType::QStringList)
        return std::nullopt;
    bool ok = false;
    const qulonglong number = isText(value) ? value.toString().trimmed().toULongLong(&ok) : value.toULongLong(&ok);
    if (!ok)
        return std::nullopt;
    return number;
}

std::optional<QString> SettingsValue::toString(const QVariant &value)
{
    if (!isText(value))
        return std::nullopt;
    return value.toString();
}

std::optional<QStringList> SettingsValue::toStringList(const QVariant &value)
{
    // The INI format writes a one-element list as plain text and an empty one as nothing.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList();
    if (isText(value)) {
        const QString text = value.toString();
        return text.isEmpty() ? QStringList() : QStringList{text};
    }
    if (value.typeId() == QMetaType::QVariantList) {
        QStringList list;
        for (const QVariant &item : value.toList()) {
            if (!isText(item))
                return std::nullopt;
            list.append(item.toString());
        }
        return list;
    }
    return std::nullopt;
}
