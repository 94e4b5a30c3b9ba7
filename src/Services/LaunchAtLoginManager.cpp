#include "Services/LaunchAtLoginManager.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

// Whether the file is a desktop entry the session starts: not hidden, not switched off.
bool isActiveEntry(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    bool inEntry = false;
    bool sawEntry = false;
    bool active = true;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.startsWith(u'[')) {
            inEntry = line == QLatin1String("[Desktop Entry]");
            sawEntry = sawEntry || inEntry;
            continue;
        }
        if (!inEntry)
            continue;
        const qsizetype equals = line.indexOf(u'=');
        const QString key = line.left(equals).trimmed();
        const QString value = line.mid(equals + 1).trimmed();
        if ((key == QLatin1String("Hidden") && value == QLatin1String("true"))
            || (key == QLatin1String("X-GNOME-Autostart-enabled") && value == QLatin1String("false")))
            active = false;
    }
    return sawEntry && active;
}

}

LaunchAtLoginManager::LaunchAtLoginManager(QObject *parent)
    : LaunchAtLoginManager(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
                               + QStringLiteral("/autostart"),
                           QCoreApplication::applicationFilePath(), parent)
{
}

LaunchAtLoginManager::LaunchAtLoginManager(QString autostartFolder, QString executablePath, QObject *parent)
    : QObject(parent)
    , m_autostartFolder(std::move(autostartFolder))
    , m_executablePath(std::move(executablePath))
{
    replaceLegacyEntry();
    m_isEnabled = readRegistration();
}

QString LaunchAtLoginManager::entryPath() const
{
    return QDir(m_autostartFolder).filePath(entryName);
}

QString LaunchAtLoginManager::execValue(const QString &executablePath)
{
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    bool needsQuotes = false;
    for (const QChar c : executablePath)
        needsQuotes = needsQuotes || reserved.contains(c);
    QString argument;
    for (const QChar c : executablePath) {
        if (needsQuotes && (c == u'"' || c == u'`' || c == u'$' || c == u'\\'))
            argument += u'\\';
        if (c == u'%')
            argument += u'%';
        argument += c;
    }
    if (needsQuotes)
        argument = u'"' + argument + u'"';
    // The Exec value is itself a string value, whose backslashes are escaped once more.
    argument.replace(u'\\', QStringLiteral("\\\\"));
    return argument;
}

void LaunchAtLoginManager::setEnabled(bool enabled)
{
    QString error;
    if (enabled) {
        error = writeEntry();
        if (error.isEmpty())
            removeLegacyEntry();
    } else {
        QFile file(entryPath());
        if (file.exists() && !file.remove())
            error = QStringLiteral("Couldn’t remove Plinkly from the login items (%1).").arg(file.errorString());
        removeLegacyEntry();
    }
    publish(readRegistration(), error);
}

void LaunchAtLoginManager::replaceLegacyEntry()
{
    const QString legacy = QDir(m_autostartFolder).filePath(legacyEntryName);
    if (!QFileInfo::exists(legacy))
        return;
    // Kept when its replacement cannot be written, so the choice is not lost.
    if (isActiveEntry(legacy) && !writeEntry().isEmpty())
        return;
    removeLegacyEntry();
}

QString LaunchAtLoginManager::writeEntry() const
{
    const QString entry = QStringLiteral("[Desktop Entry]\n"
                                         "Type=Application\n"
                                         "Name=Plinkly\n"
                                         "Comment=Typing sounds and desktop reactions\n"
                                         "Exec=%1\n"
                                         "Icon=%2\n"
                                         "Terminal=false\n"
                                         "X-GNOME-Autostart-enabled=true\n")
                              .arg(execValue(m_executablePath), applicationId);
    QSaveFile file(entryPath());
    if (QDir().mkpath(m_autostartFolder) && file.open(QIODevice::WriteOnly) && file.write(entry.toUtf8()) >= 0
        && file.commit())
        return {};
    return QStringLiteral("Couldn’t add Plinkly to the login items (%1).")
        .arg(file.errorString().isEmpty() ? QStringLiteral("the autostart folder can’t be created")
                                          : file.errorString());
}

void LaunchAtLoginManager::removeLegacyEntry() const
{
    QFile::remove(QDir(m_autostartFolder).filePath(legacyEntryName));
}

bool LaunchAtLoginManager::readRegistration() const
{
    // An old entry that could not be replaced still starts Plinkly.
    return isActiveEntry(entryPath()) || isActiveEntry(QDir(m_autostartFolder).filePath(legacyEntryName));
}

void LaunchAtLoginManager::publish(bool enabled, const QString &error)
{
    const bool enabledChanged = enabled != m_isEnabled;
    const bool errorChanged = error != m_errorMessage;
    m_isEnabled = enabled;
    m_errorMessage = error;
    if (enabledChanged)
        emit isEnabledChanged(enabled);
    if (errorChanged)
        emit errorMessageChanged(error);
    if (enabledChanged || errorChanged)
        emit changed();
}
