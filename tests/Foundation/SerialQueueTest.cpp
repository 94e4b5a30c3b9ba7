#include "Foundation/SerialQueue.h"
#include "Foundation/ThreadNaming.h"

#include <gtest/gtest.h>

#include <atomic>
#include <future>

using namespace std::chrono_literals;

TEST(SerialQueue, RunsTasksInOrderOnOneThread)
{
    SerialQueue queue(QStringLiteral("local.knockwell.audio"), SerialQueue::Priority::userInteractive);
    std::vector<int> order;
    std::set<std::thread::id> threads;
    for (int i = 0; i < 100; ++i)
        queue.async([&, i] {
            order.push_back(i);
            threads.insert(std::this_thread::get_id());
        });
    queue.sync([] {});
    ASSERT_EQ(order.size(), 100u);
    EXPECT_TRUE(std::is_sorted(order.begin(), order.end()));
    EXPECT_EQ(threads.size(), 1u);
    EXPECT_FALSE(threads.contains(std::this_thread::get_id()));
}

TEST(SerialQueue, SyncFromInsideTheQueueDoesNotDeadlock)
{
    SerialQueue queue(QStringLiteral("test"), SerialQueue::Priority::utility);
    int value = 0;
    queue.sync([&] { queue.sync([&] { value = 7; }); });
    EXPECT_EQ(value, 7);
}

TEST(SerialQueue, DelayedTasksRunInDueOrderAndCanBeCancelled)
{
    SerialQueue queue(QStringLiteral("test"), SerialQueue::Priority::utility);
    std::mutex mutex;
    std::vector<int> order;
    std::promise<void> done;
    queue.asyncAfter(30ms, [&] {
        std::lock_guard lock(mutex);
        order.push_back(2);
        done.set_value();
    });
    const auto cancelled = queue.asyncAfter(10ms, [&] {
        std::lock_guard lock(mutex);
        order.push_back(99);
    });
    queue.asyncAfter(5ms, [&] {
        std::lock_guard lock(mutex);
        order.push_back(1);
    });
    queue.cancel(cancelled);
    ASSERT_EQ(done.get_future().wait_for(5s), std::future_status::ready);
    std::lock_guard lock(mutex);
    EXPECT_EQ(order, (std::vector<int>{1, 2}));
}

TEST(ThreadNaming, ShortNamesFitTheKernelLimit)
{
    EXPECT_EQ(ThreadNaming::shortName(QStringLiteral("local.knockwell.accelerometer")), QStringLiteral("kw.acceleromete"));
    EXPECT_EQ(ThreadNaming::shortName(QStringLiteral("local.knockwell.keyboard")), QStringLiteral("kw.keyboard"));
    EXPECT_LE(ThreadNaming::shortName(QStringLiteral("local.plinkly.screen-toy-audio")).size(), 15);
}
