#include "Foundation/SafeFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QUuid>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#ifndef RENAME_NOREPLACE
#define RENAME_NOREPLACE (1 << 0)
#endif

namespace {
Result<void> moveFailure(int error, const QString &source, const QString &destination)
{
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

// Without the atomic rename: the new name is claimed exclusively first (a hard link for a
// file, an empty placeholder for a folder), so whatever appears there meanwhile is never
// replaced. A plain rename() is never the fallback.
int claimThenMove(const char *from, const char *to)
{
    struct stat info{};
    if (::lstat(from, &info) != 0)
        return -1;
    if (!S_ISDIR(info.st_mode)) {
        if (::link(from, to) != 0)
            return -1;
        if (::unlink(from) != 0) {
            const int error = errno;
            ::unlink(to);
            errno = error;
            return -1;
        }
        return 0;
    }
    if (::mkdir(to, 0700) != 0)
        return -1;
    // Renaming a folder onto an empty folder replaces it; anything put into the placeholder
    // meanwhile makes this fail with ENOTEMPTY and stays where it is.
    if (::rename(from, to) != 0) {
        const int error = errno;
        ::rmdir(to);
        errno = error;
        return -1;
    }
    return 0;
}
}

int SafeFiles::renameNoReplace(const char *from, const char *to)
{
    return ::renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE);
}

Result<void> SafeFiles::moveNoReplace(const QString &source, const QString &destination, RenameNoReplace rename)
{
    const QByteArray from = QFile::encodeName(source);
    const QByteArray to = QFile::encodeName(destination);
    if (rename(from.constData(), to.constData()) == 0)
        return {};
    int error = errno;
    if (error == EINVAL || error == ENOSYS) {
        if (claimThenMove(from.constData(), to.constData()) == 0)
            return {};
        error = errno;
    }
    return moveFailure(error, source, destination);
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
