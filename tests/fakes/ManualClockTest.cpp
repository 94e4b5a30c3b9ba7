#include "fakes/ManualClock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

// The audio thread reads the clock while the test thread moves it; run under ThreadSanitizer
// this is where an unguarded clock shows.
TEST(ManualClock, ReadingsFromAnotherThreadOnlyMoveForward)
{
    ManualClock clock;
    const Clock::Uptime start = clock.uptime();
    const QDateTime startNow = clock.now();
    std::atomic<bool> done{false};
    bool forward = true;
    std::thread reader([&] {
        Clock::Uptime last = start;
        QDateTime lastNow = startNow;
        while (!done.load()) {
            const Clock::Uptime uptime = clock.uptime();
            const QDateTime now = clock.now();
            forward = forward && uptime >= last && now >= lastNow;
            last = uptime;
            lastNow = now;
        }
    });
    for (int i = 0; i < 20000; ++i)
        clock.advance(std::chrono::milliseconds(1));
    done = true;
    reader.join();
    EXPECT_TRUE(forward);
    EXPECT_EQ(clock.uptime() - start, std::chrono::seconds(20));
    EXPECT_EQ(startNow.msecsTo(clock.now()), 20000);
}
