#include "Services/RunLock.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

std::expected<RunLock, RunLock::Failure> RunLock::acquire(const QString &path)
{
    const auto unusable = [](int errorNumber) {
        return std::unexpected(Failure{Refusal::unusable, PosixError::fromErrno(errorNumber)});
    };
    // A link planted at the lock's path must not redirect the open to another file.
    UniqueFd owned(::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (!owned)
        return unusable(errno);
    const int fd = owned.get();
    RunLock lock(std::move(owned));

    struct stat info{};
    if (::fstat(fd, &info) != 0)
        return unusable(errno);
    if (!S_ISREG(info.st_mode))
        return unusable(EINVAL);
    if (info.st_uid != ::getuid() || (info.st_mode & (S_IWGRP | S_IWOTH)) != 0)
        return unusable(EPERM);

    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        if (error == EWOULDBLOCK)
            return std::unexpected(Failure{Refusal::alreadyRunning, PosixError::fromErrno(error)});
        return unusable(error);
    }
    return lock;
}

RunLock::RunLock(UniqueFd fd)
    : m_fd(std::move(fd))
{
}
