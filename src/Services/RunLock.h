#pragma once

#include "Foundation/Error.h"
#include "Foundation/UniqueFd.h"

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

private:
    explicit RunLock(UniqueFd fd);

    UniqueFd m_fd;
};
