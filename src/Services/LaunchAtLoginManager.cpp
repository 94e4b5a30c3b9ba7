#include "Services/LaunchAtLoginManager.h"

#include "Foundation/IniText.h"
#include "Foundation/SafeFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

const QString mainGroup = QStringLiteral("Desktop Entry");

// What an autostart entry says, read carefully: the file may be a link to anything.
struct EntryFacts {
    bool active = false; // the session starts it: not hidden, not switched off
    QString program;     // the first argument of Exec
    QByteArray text;
};

EntryFacts readEntry(const QString &path)
{
    const std::optional<QByteArray> text = SafeFiles::readForeign(path, ForeignFiles::desktopEntry);
    if (!text)
        return {};
    const auto value = [&](const char *key) { return IniText::value(*text, mainGroup, QLatin1String(key)); };
    const bool active = value("Type") == QStringLiteral("Application") && value("Hidden") != QStringLiteral("true")
        && value("X-GNOME-Autostart-enabled") != QStringLiteral("false");
    return {active, LaunchAtLoginManager::programOf(value("Exec").value_or(QString())), *text};
}

bool isRunnable(const QString &program)
{
    if (program.isEmpty())
        return false;
    if (!program.contains(u'/'))
        return !QStandardPaths::findExecutable(program).isEmpty();
    const QFileInfo file(program);
    return file.isFile() && file.isExecutable();
}

// An entry claims to be on only while it can start something.
bool startsAProgram(const EntryFacts &entry)
{
    return entry.active && isRunnable(entry.program);
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
            error = QStringLiteral("Couldn’t remove Plinkly from the programs started at login (%1).").arg(file.errorString());
        removeLegacyEntry();
    }
    publish(readRegistration(), error);
}

QString LaunchAtLoginManager::programOf(const QString &execValue)
{
    // The value's own escapes first.
    QString value;
    for (qsizetype i = 0; i < execValue.size(); ++i) {
        QChar c = execValue[i];
        if (c == u'\\' && i + 1 < execValue.size()) {
            c = execValue[++i];
            c = c == u's' ? QChar(u' ') : c == u't' ? QChar(u'\t') : c == u'n' ? QChar(u'\n') : c == u'r' ? QChar(u'\r') : c;
        }
        value += c;
    }
    // Then the quoting of the first argument.
    QString program;
    const bool quoted = value.startsWith(u'"');
    for (qsizetype i = quoted ? 1 : 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (quoted && c == u'"')
            break;
        if (!quoted && c.isSpace())
            break;
        if (quoted && c == u'\\' && i + 1 < value.size())
            program += value[++i];
        else if (c == u'%' && i + 1 < value.size() && value[i + 1] == u'%')
            program += value[++i];
        else
            program += c;
    }
    return program;
}

void LaunchAtLoginManager::renewEntry()
{
    const QString legacy = QDir(m_autostartFolder).filePath(legacyEntryName);
    const EntryFacts current = readEntry(entryPath());
    const EntryFacts earlier = readEntry(legacy);
    QString error;
    // The choice stands even when the program an entry names has gone: it now names this one.
    if (current.active || earlier.active) {
        if (!current.active || current.text != entryText())
            error = writeEntry();
        // An old entry is kept when its replacement cannot be written, so the choice is not lost.
        if (error.isEmpty())
            removeLegacyEntry();
    } else {
        removeLegacyEntry();
    }
    publish(readRegistration(), error);
}

QByteArray LaunchAtLoginManager::entryText() const
{
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=Plinkly\n"
                          "Comment=Typing sounds and desktop reactions\n"
                          "Exec=%1\n"
                          "Icon=%2\n"
                          "Terminal=false\n"
                          "X-GNOME-Autostart-enabled=true\n")
        .arg(execValue(m_executablePath), applicationId)
        .toUtf8();
}

QString LaunchAtLoginManager::writeEntry() const
{
    QSaveFile file(entryPath());
    if (QDir().mkpath(m_autostartFolder) && file.open(QIODevice::WriteOnly) && file.write(entryText()) >= 0
        && file.commit())
        return {};
    return QStringLiteral("Couldn’t add Plinkly to the programs started at login (%1).")
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
    return startsAProgram(readEntry(entryPath()))
        || startsAProgram(readEntry(QDir(m_autostartFolder).filePath(legacyEntryName)));
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
