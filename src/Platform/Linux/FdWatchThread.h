#pragma once

#include "Platform/Linux/StoppableThread.h"

#include <functional>

// A named thread that sleeps in poll() on one fd and calls back each time it turns
// readable. The callback returns false to end the thread.
class FdWatchThread {
public:
    bool start(const QString &threadLabel, int fd, std::function<bool()> onReadable);
    // Returns once the callback will not run again.
    void stop() { m_thread.stop(); }
    bool isRunning() const { return m_thread.isRunning(); }

private:
    StoppableThread m_thread;
};
