#include "Foundation/SerialQueue.h"

#include "Foundation/ThreadNaming.h"

#include <algorithm>
#include <future>

SerialQueue::SerialQueue(QString label, Priority priority)
    : m_label(std::move(label))
    , m_priority(priority)
{
    m_thread = std::thread([this] { run(); });
}

SerialQueue::~SerialQueue()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_one();
    if (m_thread.joinable())
        m_thread.join();
}

void SerialQueue::async(Task task)
{
    {
        std::lock_guard lock(m_mutex);
        m_tasks.push_back(std::move(task));
    }
    m_wake.notify_one();
}

void SerialQueue::sync(const Task &task)
{
    if (isCurrent()) {
        task();
        return;
    }
    std::promise<void> done;
    auto finished = done.get_future();
    async([&] {
        task();
        done.set_value();
    });
    finished.wait();
}

std::uint64_t SerialQueue::asyncAfter(Delay delay, Task task)
{
    std::uint64_t token;
    {
        std::lock_guard lock(m_mutex);
        token = m_nextToken++;
        m_delayed.push_back({std::chrono::steady_clock::now() + delay, token, std::move(task)});
    }
    m_wake.notify_one();
    return token;
}

void SerialQueue::cancel(std::uint64_t token)
{
    std::lock_guard lock(m_mutex);
    std::erase_if(m_delayed, [token](const Delayed &d) { return d.token == token; });
}

void SerialQueue::run()
{
    ThreadNaming::nameCurrentThread(m_label);
    ThreadNaming::applyPriority(m_priority == Priority::userInteractive ? ThreadNaming::Priority::high
                                : m_priority == Priority::userInitiated ? ThreadNaming::Priority::normal
                                                                        : ThreadNaming::Priority::low);
    std::unique_lock lock(m_mutex);
    for (;;) {
        if (!m_tasks.empty()) {
            Task task = std::move(m_tasks.front());
            m_tasks.pop_front();
            lock.unlock();
            task();
            lock.lock();
            continue;
        }
        if (m_stopping)
            return;
        if (m_delayed.empty()) {
            m_wake.wait(lock);
            continue;
        }
        auto next = std::min_element(m_delayed.begin(), m_delayed.end(),
                                     [](const Delayed &a, const Delayed &b) { return a.due < b.due; });
        if (next->due <= std::chrono::steady_clock::now()) {
            Task task = std::move(next->task);
            m_delayed.erase(next);
            lock.unlock();
            task();
            lock.lock();
            continue;
        }
        m_wake.wait_until(lock, next->due);
    }
}
