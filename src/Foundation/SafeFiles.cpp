#include "Foundation/SafeFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QUuid>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/syscall.h>
#include <unistd.h>

#ifndef RENAME_NOREPLACE
#define RENAME_NOREPLACE (1 << 0)
#endif

Result<void> SafeFiles::moveNoReplace(const QString &source, const QString &destination)
{
    const QByteArray from = QFile::encodeName(source);
    const QByteArray to = QFile::encodeName(destination);
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0)
        return {};
    const int error = errno;
    if (error == EEXIST || error == ENOTEMPTY)
        return failure(CocoaError::domain, CocoaError::fileWriteFileExists,
                       QStringLiteral("“%1” couldn’t be saved because an item with the same name already exists.")
                           .arg(QFileInfo(destination).fileName()));
    if (error == ENOENT)
        return failure(CocoaError::domain, CocoaError::fileNoSuchFile,
                       QStringLiteral("The file “%1” doesn’t exist.").arg(QFileInfo(source).fileName()));
    if (error == EACCES || error == EPERM || error == EROFS)
        return failure(CocoaError::domain, CocoaError::fileWriteNoPermission,
                       QStringLiteral("You don’t have permission to save the file “%1”.")
                           .arg(QFileInfo(destination).fileName()));
    if (error == ENOSPC || error == EDQUOT)
        return failure(CocoaError::domain, CocoaError::fileWriteOutOfSpace,
                       QStringLiteral("There isn’t enough space to save “%1”.").arg(QFileInfo(destination).fileName()));
    return std::unexpected(PosixError::fromErrno(error));
}

void SafeFiles::removeAll(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return;
    if (info.isDir() && !info.isSymLink()) {
        QDir(path).removeRecursively();
        return;
    }
    QFile::remove(path);
}

QString SafeFiles::temporaryName(const QString &prefix)
{
    return prefix + QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
}
