#pragma once

#include <unistd.h>

#include <utility>

// Sole owner of a file descriptor: closes it once, when replaced or destroyed; moves, never copies.
class UniqueFd {
public:
    UniqueFd() = default;
    explicit UniqueFd(int fd)
        : m_fd(fd)
    {
    }
    UniqueFd(UniqueFd &&other) noexcept
        : m_fd(other.release())
    {
    }
    UniqueFd &operator=(UniqueFd &&other) noexcept
    {
        reset(other.release());
        return *this;
    }
    UniqueFd(const UniqueFd &) = delete;
    UniqueFd &operator=(const UniqueFd &) = delete;
    ~UniqueFd() { reset(); }

    int get() const { return m_fd; }
    explicit operator bool() const { return m_fd >= 0; }
    // Gives up ownership without closing.
    int release() { return std::exchange(m_fd, -1); }
    // Closes the descriptor held, if any, and takes fd; the result of that close, or 0.
    int reset(int fd = -1)
    {
        const int old = std::exchange(m_fd, fd);
        return old >= 0 && old != fd ? ::close(old) : 0;
    }

private:
    int m_fd = -1;
};
