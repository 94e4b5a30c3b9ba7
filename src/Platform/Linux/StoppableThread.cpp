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

bool StoppableThread::start(const QString &threadLabel, std::move_only_function<void(int stopFd)> body)
{
    if (m_thread.joinable())
        return true;
    m_stopFd.reset(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
    if (!m_stopFd)
        return false;
    m_thread = std::thread([stopFd = m_stopFd.get(), threadLabel, body = std::move(body)]() mutable {
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
        while (::write(m_stopFd.get(), &one, sizeof one) < 0 && errno == EINTR) {
        }
        m_thread.join();
    }
    m_stopFd.reset();
}
