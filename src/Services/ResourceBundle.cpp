#include "Services/ResourceBundle.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

QString ResourceBundle::path()
{
    const QString overridden = qEnvironmentVariable("PLINKLY_RESOURCES");
    if (!overridden.isEmpty())
        return overridden;
    const QDir executableFolder(QCoreApplication::applicationDirPath());
    const QString beside = executableFolder.filePath(QStringLiteral("KnockwellResources"));
    if (QFileInfo(beside).isDir())
        return beside;
    for (const QString &up : {QStringLiteral("../KnockwellResources"), QStringLiteral("../../KnockwellResources")}) {
        const QString above = QDir::cleanPath(executableFolder.filePath(up));
        if (QFileInfo(above).isDir())
            return above;
    }
    return beside;
}

QString ResourceBundle::filePath(const QString &relative)
{
    return QDir(path()).filePath(relative);
}
