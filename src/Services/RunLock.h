#pragma once

#include "Foundation/Error.h"

#include <QString>

#include <expected>

// The single-instance lock: one file per user, held with an exclusive flock for the life of
// the process. The kernel releases it when the process ends, however it ends.
class RunLock {
public:
    enum class Refusal { alreadyRunning, unusable };
    struct Failure {
        Refusal refusal;
        Error error;
    };

    static std::expected<RunLock, Failure> acquire(const QString &path);

    RunLock(RunLock &&other) noexcept;
    RunLock &operator=(RunLock &&other) noexcept;
    RunLock(const RunLock &) = delete;
    RunLock &operator=(const RunLock &) = delete;
    ~RunLock();

private:
    explicit RunLock(int fd);

    int m_fd = -1;
};
