#include "Platform/Linux/LinuxDesktopPictureSource.h"

#include "Foundation/SafeFiles.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>
#include <QXmlStreamReader>

namespace {
constexpr int settingsTimeoutMs = 1000;

QString gsetting(const QString &schema, const QString &key)
{
    const QString program = QStandardPaths::findExecutable(QStringLiteral("gsettings"));
    if (program.isEmpty())
        return {};
    QProcess process;
    process.start(program, {QStringLiteral("get"), schema, key});
    if (!process.waitForFinished(settingsTimeoutMs) || process.exitCode() != 0) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

QString localPath(const QString &location)
{
    const QUrl url(location);
    if (url.isLocalFile())
        return url.toLocalFile();
    return location.startsWith(QLatin1Char('/')) ? location : QString();
}

QString readable(const QString &path)
{
    return !path.isEmpty() && QFile::exists(path) ? path : QString();
}

QString configFile(const QString &relativePath)
{
    const QString path = QStandardPaths::locate(QStandardPaths::GenericConfigLocation, relativePath);
    if (path.isEmpty())
        return {};
    return QString::fromUtf8(SafeFiles::readForeign(path, ForeignFiles::desktopSettings).value_or(QByteArray()));
}
}

QString LinuxDesktopPictureSource::fromGSettingsValue(const QString &printedValue)
{
    QString value = printedValue.trimmed();
    if (value.size() >= 2 && value.startsWith(QLatin1Char('\'')) && value.endsWith(QLatin1Char('\'')))
        value = value.mid(1, value.size() - 2);
    return localPath(value);
}

QString LinuxDesktopPictureSource::fromXfconfChannel(const QByteArray &xml)
{
    QXmlStreamReader reader(xml);
    while (!reader.atEnd() && !reader.hasError()) {
        reader.readNext();
        if (reader.isStartElement() && reader.name() == QLatin1String("property")
            && reader.attributes().value(QLatin1String("name")) == QLatin1String("last-image")) {
            const QString path = localPath(reader.attributes().value(QLatin1String("value")).toString());
            if (!path.isEmpty())
                return path;
        }
    }
    return {};
}

QString LinuxDesktopPictureSource::fromPlasmaConfig(const QString &text)
{
    bool inImageGroup = false;
    for (const QString &rawLine : text.split(QLatin1Char('\n'))) {
        const QString line = rawLine.trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            inImageGroup = line.endsWith(QLatin1String("[Wallpaper][org.kde.image][General]"));
            continue;
        }
        if (inImageGroup && line.startsWith(QLatin1String("Image="))) {
            const QString path = localPath(line.mid(6).trimmed());
            if (!path.isEmpty())
                return path;
        }
    }
    return {};
}

QString LinuxDesktopPictureSource::pictureFile() const
{
    const QString desktop = qEnvironmentVariable("XDG_CURRENT_DESKTOP");
    if (desktop.contains(QLatin1String("GNOME"), Qt::CaseInsensitive)) {
        const QString schema = QStringLiteral("org.gnome.desktop.background");
        const bool dark = gsetting(QStringLiteral("org.gnome.desktop.interface"), QStringLiteral("color-scheme"))
                              .contains(QLatin1String("dark"));
        if (dark) {
            if (const QString path = readable(fromGSettingsValue(gsetting(schema, QStringLiteral("picture-uri-dark"))));
                !path.isEmpty())
                return path;
        }
        return readable(fromGSettingsValue(gsetting(schema, QStringLiteral("picture-uri"))));
    }
    if (const QString xfce = configFile(QStringLiteral("xfce4/xfconf/xfce-perchannel-xml/xfce4-desktop.xml"));
        !xfce.isEmpty())
        return readable(fromXfconfChannel(xfce.toUtf8()));
    return readable(fromPlasmaConfig(configFile(QStringLiteral("plasma-org.kde.plasma.desktop-appletsrc"))));
}
