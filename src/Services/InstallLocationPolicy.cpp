#include "Services/InstallLocationPolicy.h"

#include <QDir>

namespace {
bool isInside(const QString &path, const QString &folder)
{
    if (folder.isEmpty())
        return false;
    const QString cleanFolder = QDir::cleanPath(folder);
    const QString cleanPath = QDir::cleanPath(path);
    return cleanPath.startsWith(cleanFolder + QLatin1Char('/'));
}
}

bool InstallLocationPolicy::shouldSuggestMove(const QString &executablePath, const QString &downloadsFolder,
                                              const QStringList &temporaryFolders)
{
    if (isInside(executablePath, downloadsFolder))
        return true;
    for (const QString &folder : temporaryFolders) {
        if (isInside(executablePath, folder))
            return true;
    }
    return false;
}

QString InstallLocationPolicy::applicationsFolder(const QString &homeFolder)
{
    return QDir(homeFolder).filePath(QStringLiteral(".local/bin"));
}
