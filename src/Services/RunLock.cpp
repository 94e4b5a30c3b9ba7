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
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return unusable(errno);
    RunLock lock(fd);

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

RunLock::RunLock(int fd)
    : m_fd(fd)
{
}

RunLock::RunLock(RunLock &&other) noexcept
    : m_fd(std::exchange(other.m_fd, -1))
{
}

RunLock &RunLock::operator=(RunLock &&other) noexcept
{
    if (this != &other) {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = std::exchange(other.m_fd, -1);
    }
    return *this;
}

RunLock::~RunLock()
{
    if (m_fd >= 0)
        ::close(m_fd);
}
