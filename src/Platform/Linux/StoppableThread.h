#pragma once

#include "Foundation/UniqueFd.h"

#include <QString>

#include <functional>
#include <thread>

// A named input thread whose body sleeps in poll() with the stop fd among its fds; stop()
// makes that fd readable and waits for the body to return.
class StoppableThread {
public:
    StoppableThread() = default;
    ~StoppableThread();
    StoppableThread(const StoppableThread &) = delete;
    StoppableThread &operator=(const StoppableThread &) = delete;

    // False when the stop signal could not be made; the body then never runs.
    bool start(const QString &threadLabel, std::move_only_function<void(int stopFd)> body);
    void stop();
    bool isRunning() const { return m_thread.joinable(); }

private:
    UniqueFd m_stopFd;
    std::thread m_thread;
};
