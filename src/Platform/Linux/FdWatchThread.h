#pragma once

#include <QString>

#include <functional>
#include <thread>

// A named thread that sleeps in poll() on one fd and a stop signal, and calls back each
// time the fd turns readable. The callback returns false to end the thread.
class FdWatchThread {
public:
    FdWatchThread() = default;
    ~FdWatchThread();
    FdWatchThread(const FdWatchThread &) = delete;
    FdWatchThread &operator=(const FdWatchThread &) = delete;

    bool start(const QString &threadLabel, int fd, std::function<bool()> onReadable);
    // Returns once the callback will not run again.
    void stop();
    bool isRunning() const { return m_thread.joinable(); }

private:
    int m_stopFd = -1;
    std::thread m_thread;
};
