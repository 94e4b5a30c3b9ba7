#include "Services/Packs/PackFileReader.h"

#include <QFile>
#include <QStringList>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::unexpected<Error> fileError(int code, const QString &name)
{
    QString message;
    switch (code) {
    case CocoaError::fileReadNoSuchFile:
        message = QStringLiteral("The file “%1” couldn’t be opened because there is no such file.");
        break;
    case CocoaError::fileReadNoPermission:
        message = QStringLiteral("The file “%1” couldn’t be opened because you don’t have permission to view it.");
        break;
    case CocoaError::fileReadTooLarge:
        message = QStringLiteral("The file “%1” couldn’t be opened because it is too large.");
        break;
    default:
        message = QStringLiteral("The file “%1” couldn’t be opened because it isn’t a plain file.");
        break;
    }
    return failure(CocoaError::domain, code, message.arg(name));
}

std::unexpected<Error> openError(int errorNumber, const QString &name)
{
    switch (errorNumber) {
    case ENAMETOOLONG:
        return std::unexpected(PosixError::fromErrno(errorNumber));
    case ENOENT:
    case ENOTDIR:
        return fileError(CocoaError::fileReadNoSuchFile, name);
    case EACCES:
    case EPERM:
        return fileError(CocoaError::fileReadNoPermission, name);
    default:
        // ELOOP: the name is a symbolic link.
        return fileError(CocoaError::fileReadUnknown, name);
    }
}

Result<UniqueFd> checked(UniqueFd handle, qint64 maxBytes, PackFileReader::Ownership ownership,
                           const QString &name)
{
    struct stat info{};
    if (::fstat(handle.get(), &info) != 0)
        return openError(errno, name);
    if (!S_ISREG(info.st_mode))
        return fileError(CocoaError::fileReadUnknown, name);
    if (ownership == PackFileReader::Ownership::currentUser && info.st_uid != ::getuid())
        return fileError(CocoaError::fileReadNoPermission, name);
    if (info.st_size > maxBytes)
        return fileError(CocoaError::fileReadTooLarge, name);
    return handle;
}

// O_NONBLOCK keeps a FIFO from stalling the open; fstat turns it away afterwards.
constexpr int fileFlags = O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
constexpr int folderFlags = O_RDONLY | O_NOFOLLOW | O_DIRECTORY | O_CLOEXEC;

Result<QByteArray> readAll(const UniqueFd &handle, qint64 maxBytes, const QString &name)
{
    QByteArray bytes;
    char buffer[64 * 1024];
    for (;;) {
        const ssize_t got = ::read(handle.get(), buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return fileError(CocoaError::fileReadUnknown, name);
        }
        if (got == 0)
            return bytes;
        // The file may have grown since fstat.
        if (bytes.size() + got > maxBytes)
            return fileError(CocoaError::fileReadTooLarge, name);
        bytes.append(buffer, got);
    }
}

}

Result<UniqueFd> PackFileReader::open(const QString &path, qint64 maxBytes, Ownership ownership)
{
    const QString name = path.section(u'/', -1);
    UniqueFd handle(::open(QFile::encodeName(path).constData(), fileFlags));
    if (!handle)
        return openError(errno, name);
    return checked(std::move(handle), maxBytes, ownership, name);
}

Result<QByteArray> PackFileReader::readFile(const QString &path, qint64 maxBytes, Ownership ownership)
{
    auto handle = open(path, maxBytes, ownership);
    if (!handle)
        return std::unexpected(handle.error());
    return readAll(*handle, maxBytes, path.section(u'/', -1));
}

Result<QByteArray> PackFileReader::read(const QString &folder, const QString &relativePath, qint64 maxBytes,
                                        Ownership ownership)
{
    const QStringList components = relativePath.split(u'/');
    UniqueFd directory(::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!directory)
        return openError(errno, relativePath);
    for (qsizetype i = 0; i + 1 < components.size(); ++i) {
        const QByteArray component = QFile::encodeName(components[i]);
        UniqueFd next(::openat(directory.get(), component.constData(), folderFlags));
        if (!next) {
            const int error = errno;
            // A link to a folder is refused as ENOTDIR; it is a special file here, not a missing one.
            // A plain file where a folder should be is reported as the POSIX error itself.
            struct stat info{};
            if (error == ENOTDIR
                && ::fstatat(directory.get(), component.constData(), &info, AT_SYMLINK_NOFOLLOW) == 0) {
                if (S_ISLNK(info.st_mode))
                    return fileError(CocoaError::fileReadUnknown, relativePath);
                return std::unexpected(PosixError::fromErrno(error));
            }
            return openError(error, relativePath);
        }
        directory = std::move(next);
    }
    UniqueFd file(::openat(directory.get(), QFile::encodeName(components.last()).constData(), fileFlags));
    if (!file)
        return openError(errno, relativePath);
    auto handle = checked(std::move(file), maxBytes, ownership, relativePath);
    if (!handle)
        return std::unexpected(handle.error());
    return readAll(*handle, maxBytes, relativePath);
}
