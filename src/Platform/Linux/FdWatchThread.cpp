#include "Platform/Linux/FdWatchThread.h"

#include "Foundation/ThreadNaming.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

FdWatchThread::~FdWatchThread()
{
    stop();
}

bool FdWatchThread::start(const QString &threadLabel, int fd, std::function<bool()> onReadable)
{
    if (m_thread.joinable())
        return true;
    m_stopFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (m_stopFd < 0)
        return false;
    m_thread = std::thread([stopFd = m_stopFd, fd, threadLabel, onReadable = std::move(onReadable)] {
        ThreadNaming::nameCurrentThread(threadLabel);
        ThreadNaming::applyPriority(ThreadNaming::Priority::high);
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
    return true;
}

void FdWatchThread::stop()
{
    if (m_thread.joinable()) {
        const std::uint64_t one = 1;
        while (::write(m_stopFd, &one, sizeof one) < 0 && errno == EINTR) {
        }
        m_thread.join();
    }
    if (m_stopFd >= 0) {
        ::close(m_stopFd);
        m_stopFd = -1;
    }
}
