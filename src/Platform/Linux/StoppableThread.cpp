#include "Platform/Linux/StoppableThread.h"

#include "Foundation/ThreadNaming.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

StoppableThread::~StoppableThread()
{
    stop();
}

bool StoppableThread::start(const QString &threadLabel, std::function<void(int stopFd)> body)
{
    if (m_thread.joinable())
        return true;
    m_stopFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (m_stopFd < 0)
        return false;
    m_thread = std::thread([stopFd = m_stopFd, threadLabel, body = std::move(body)] {
        ThreadNaming::nameCurrentThread(threadLabel);
        ThreadNaming::applyPriority(ThreadNaming::Priority::high);
        body(stopFd);
    });
    return true;
}

void StoppableThread::stop()
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
