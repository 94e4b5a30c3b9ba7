#include "Platform/ScreenshotLocation.h"

#include "Foundation/IniText.h"
#include "Foundation/SafeFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>

namespace {

bool isFolder(const QString &path)
{
    return !path.isEmpty() && QFileInfo(path).isDir();
}

// Spectacle keeps its folder as a file URL, under a key that moved between versions.
QString spectacleFolder(const QString &configPath)
{
    if (configPath.isEmpty())
        return {};
    const std::optional<QByteArray> text = SafeFiles::readForeign(configPath, ForeignFiles::desktopSettings);
    if (!text)
        return {};
    for (const char *key : {"ImageSave/imageSaveLocation", "Save/defaultSaveLocation", "General/default-save-location"}) {
        const QString groupAndKey = QLatin1String(key);
        const QString value = IniText::value(*text, groupAndKey.section(u'/', 0, 0), groupAndKey.section(u'/', 1))
                                  .value_or(QString());
        if (value.isEmpty())
            continue;
        const QUrl url(value);
        return url.isLocalFile() ? url.toLocalFile() : (QDir::isAbsolutePath(value) ? value : QString());
    }
    return {};
}

bool desktopIs(const QString &currentDesktop, QLatin1String name)
{
    for (const QString &part : currentDesktop.split(u':', Qt::SkipEmptyParts)) {
        if (part.compare(name, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

}

std::optional<ScreenshotLocation::Folder> ScreenshotLocation::resolve(const Environment &environment)
{
    const QString picturesScreenshots =
        environment.picturesFolder.isEmpty() ? QString() : QDir(environment.picturesFolder).filePath(QStringLiteral("Screenshots"));
    if (desktopIs(environment.currentDesktop, QLatin1String("KDE"))) {
        const QString configured = spectacleFolder(environment.spectacleConfig);
        if (isFolder(configured))
            return Folder{QDir::cleanPath(configured), true};
        if (isFolder(picturesScreenshots))
            return Folder{picturesScreenshots, true};
    } else if (desktopIs(environment.currentDesktop, QLatin1String("GNOME")) && !picturesScreenshots.isEmpty()) {
        // The desktop makes it with the first screenshot; it is watched for from its parent.
        return Folder{picturesScreenshots, true};
    }
    if (isFolder(environment.picturesFolder))
        return Folder{QDir::cleanPath(environment.picturesFolder), false};
    if (isFolder(environment.desktopFolder))
        return Folder{QDir::cleanPath(environment.desktopFolder), false};
    // Neither is there yet: Pictures is watched for until it appears.
    if (!environment.picturesFolder.isEmpty())
        return Folder{QDir::cleanPath(environment.picturesFolder), false};
    return std::nullopt;
}

ScreenshotLocation::Environment ScreenshotLocation::current()
{
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return {qEnvironmentVariable("XDG_CURRENT_DESKTOP"),
            QStandardPaths::writableLocation(QStandardPaths::PicturesLocation),
            QStandardPaths::writableLocation(QStandardPaths::DesktopLocation),
            config.isEmpty() ? QString() : QDir(config).filePath(QStringLiteral("spectaclerc"))};
}
