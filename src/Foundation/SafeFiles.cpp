#include "Foundation/SafeFiles.h"

#include "Foundation/LogCategories.h"
#include "Foundation/UniqueFd.h"

#include <QDir>
#include <QFileInfo>
#include <QUuid>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#ifndef RENAME_NOREPLACE
#define RENAME_NOREPLACE (1 << 0)
#endif

const ForeignFile ForeignFiles::desktopEntry{"desktop entry", 1 << 20, ForeignFile::Links::follow,
                                              ForeignFile::Excess::refuse, &logDesktop};
const ForeignFile ForeignFiles::desktopSettings{"desktop settings file", 4 << 20, ForeignFile::Links::follow,
                                                 ForeignFile::Excess::refuse, &logDesktop};
const ForeignFile ForeignFiles::desktopPicture{"desktop picture", 128 << 20, ForeignFile::Links::follow,
                                                ForeignFile::Excess::refuse, &logDesktop};
const ForeignFile ForeignFiles::desktopItemHead{"desktop item", 16 << 10, ForeignFile::Links::follow,
                                                 ForeignFile::Excess::cut, &logDesktop};
const ForeignFile ForeignFiles::kernelTable{"kernel table", 16 << 20, ForeignFile::Links::refuse,
                                             ForeignFile::Excess::refuse, &logSystem};
const ForeignFile ForeignFiles::kernelAttribute{"device attribute", 64 << 10, ForeignFile::Links::refuse,
                                                 ForeignFile::Excess::refuse, &logSystem};

namespace {
UniqueFd refuse(const ForeignFile &kind, const QString &path, const char *reason)
{
    qCInfo(kind.category).nospace() << "skipped the " << kind.kind << " " << path << ": " << reason;
    return {};
}

const char *notRegular(mode_t mode)
{
    if (S_ISFIFO(mode))
        return "a FIFO";
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return "a device";
    if (S_ISDIR(mode))
        return "a folder";
    return S_ISREG(mode) ? nullptr : "not a plain file";
}

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

UniqueFd SafeFiles::openForeign(const QString &path, const ForeignFile &kind)
{
    const bool follow = kind.links == ForeignFile::Links::follow;
    const QByteArray name = QFile::encodeName(path);
    // Looked at before the open, so a device is not even opened (opening some has effects).
    struct stat info{};
    if ((follow ? ::stat(name.constData(), &info) : ::lstat(name.constData(), &info)) != 0) {
        if (errno != ENOENT && errno != ENOTDIR)
            refuse(kind, path, std::strerror(errno));
        return {};
    }
    if (S_ISLNK(info.st_mode))
        return refuse(kind, path, "a link");
    if (const char *reason = notRegular(info.st_mode))
        return refuse(kind, path, reason);
    // What was looked at may have been replaced since: the open itself neither waits on a
    // FIFO nor follows an unexpected link, and the open descriptor is checked again.
    const int flags = O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC | (follow ? 0 : O_NOFOLLOW);
    UniqueFd fd(::open(name.constData(), flags));
    if (!fd)
        return refuse(kind, path, errno == ELOOP ? "a link" : std::strerror(errno));
    if (::fstat(fd.get(), &info) != 0)
        return refuse(kind, path, std::strerror(errno));
    if (const char *reason = notRegular(info.st_mode))
        return refuse(kind, path, reason);
    if (kind.excess == ForeignFile::Excess::refuse && info.st_size > kind.maxBytes)
        return refuse(kind, path, "too large");
    return fd;
}

std::optional<QByteArray> SafeFiles::readForeign(const QString &path, const ForeignFile &kind)
{
    const UniqueFd fd = openForeign(path, kind);
    struct stat info{};
    if (!fd || ::fstat(fd.get(), &info) != 0)
        return std::nullopt;
    // One byte beyond the limit tells a file that grew since it was looked at (files in /proc
    // and /sys report no size at all).
    const qint64 wanted = kind.excess == ForeignFile::Excess::cut ? kind.maxBytes : kind.maxBytes + 1;
    QByteArray bytes(qsizetype(std::min<qint64>(wanted, std::max<qint64>(info.st_size, 4096))), Qt::Uninitialized);
    qint64 got = 0;
    while (got < wanted) {
        if (got == bytes.size())
            bytes.resize(qsizetype(std::min<qint64>(wanted, got * 2)));
        const ssize_t count = ::read(fd.get(), bytes.data() + got, size_t(bytes.size() - got));
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0) {
            refuse(kind, path, std::strerror(errno));
            return std::nullopt;
        }
        if (count == 0)
            break;
        got += count;
    }
    if (got > kind.maxBytes) {
        refuse(kind, path, "too large");
        return std::nullopt;
    }
    bytes.truncate(qsizetype(got));
    return bytes;
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
