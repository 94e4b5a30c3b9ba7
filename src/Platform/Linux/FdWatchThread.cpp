#include "Platform/Linux/FdWatchThread.h"

#include <poll.h>

#include <cerrno>

bool FdWatchThread::start(const QString &threadLabel, int fd, std::function<bool()> onReadable)
{
    return m_thread.start(threadLabel, [fd, onReadable = std::move(onReadable)](int stopFd) {
        pollfd fds[2] = {{stopFd, POLLIN, 0}, {fd, POLLIN, 0}};
        for (;;) {
            if (::poll(fds, 2, -1) < 0) {
                if (errno == EINTR)
                    continue;
                return;
            }
            if (fds[0].revents != 0 || (fds[1].revents != 0 && !onReadable()))
                return;
        }
    });
}
