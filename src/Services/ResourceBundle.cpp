#include "Services/ResourceBundle.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {
const QString folderName = QStringLiteral("KnockwellResources");
}

QString ResourceBundle::path()
{
    const QString overridden = qEnvironmentVariable("PLINKLY_RESOURCES");
    if (!overridden.isEmpty())
        return overridden;
    const QDir executableFolder(QCoreApplication::applicationDirPath());
    const QString beside = executableFolder.filePath(folderName);
    for (const QString &candidate :
         {beside, executableFolder.filePath(QStringLiteral("../share/plinkly/") + folderName),
          executableFolder.filePath(QStringLiteral("../") + folderName),
          executableFolder.filePath(QStringLiteral("../../") + folderName)}) {
        if (QFileInfo(candidate).isDir())
            return QDir::cleanPath(candidate);
    }
    return beside;
}

bool ResourceBundle::isAvailable()
{
    return QFileInfo(path()).isDir();
}

QString ResourceBundle::filePath(const QString &relative)
{
    return QDir(path()).filePath(relative);
}
