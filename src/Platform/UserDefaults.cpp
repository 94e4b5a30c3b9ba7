#include "Platform/UserDefaults.h"

#include <QFile>

UserDefaults::UserDefaults()
    : m_settings(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                             QStringLiteral("plinkly"), QStringLiteral("plinkly")))
{
}

UserDefaults::UserDefaults(const QString &filePath)
    : m_settings(std::make_unique<QSettings>(filePath, QSettings::IniFormat))
{
}

QVariant UserDefaults::value(const QString &key) const
{
    return m_settings->value(key);
}

QByteArray UserDefaults::storedText(const QString &key) const
{
    QFile file(m_settings->fileName());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    // Top-level keys stand before any group or in [General].
    const QByteArray prefix = key.toUtf8() + '=';
    bool topLevel = true;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine().trimmed();
        if (line.startsWith('['))
            topLevel = line == "[General]";
        else if (topLevel && line.startsWith(prefix))
            return line.mid(prefix.size());
    }
    return {};
}

bool UserDefaults::contains(const QString &key) const
{
    return m_settings->contains(key);
}

void UserDefaults::setValue(const QString &key, const QVariant &value)
{
    m_settings->setValue(key, value);
}

void UserDefaults::remove(const QString &key)
{
    m_settings->remove(key);
}

void UserDefaults::sync()
{
    m_settings->sync();
}

QString UserDefaults::filePath() const
{
    return m_settings->fileName();
}
