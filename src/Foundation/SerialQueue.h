#pragma once

#include <QString>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

// A serial work queue on its own thread: tasks run one at a time in the order they were
// queued; delayed tasks run once their time has come. The thread sleeps on a condition
// variable and never polls.
class SerialQueue {
public:
    enum class Priority { userInteractive, userInitiated, utility };
    using Task = std::function<void()>;
    using Delay = std::chrono::steady_clock::duration;

    SerialQueue(QString label, Priority priority);
    ~SerialQueue();
    SerialQueue(const SerialQueue &) = delete;
    SerialQueue &operator=(const SerialQueue &) = delete;

    const QString &label() const { return m_label; }

    void async(Task task);
    // Runs the task and waits for it; runs it inline when called from the queue itself.
    void sync(const Task &task);
    // Returns a token that cancel() accepts.
    std::uint64_t asyncAfter(Delay delay, Task task);
    void cancel(std::uint64_t token);
    bool isCurrent() const { return std::this_thread::get_id() == m_thread.get_id(); }

private:
    struct Delayed {
        std::chrono::steady_clock::time_point due;
        std::uint64_t token;
        Task task;
    };

    void run();

    QString m_label;
    Priority m_priority;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<Task> m_tasks;
    std::vector<Delayed> m_delayed;
    std::uint64_t m_nextToken = 1;
    bool m_stopping = false;
    std::thread m_thread;
};
