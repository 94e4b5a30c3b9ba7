#include "Platform/Linux/RealtimeThread.h"

#include <gtest/gtest.h>

#include <sched.h>
#include <thread>

// An ordinary thread is raised, and its children start ordinary again; a thread a sound
// library already made realtime, often above what we would ask, keeps its own priority.
TEST(RealtimeThread, RaisesAnOrdinaryThreadAndLeavesARealtimeOneAsItIs)
{
    struct Case {
        int before;
        int expected;
    };
    for (const Case c : {Case{0, 4}, Case{20, 20}}) {
        bool allowed = true;
        int policy = -1;
        sched_param after{};
        std::thread([&] {
            if (c.before > 0) {
                sched_param raised{};
                raised.sched_priority = c.before;
                allowed = sched_setscheduler(0, SCHED_FIFO, &raised) == 0;
            }
            makeThisThreadRealtime(4);
            policy = sched_getscheduler(0);
            sched_getparam(0, &after);
        }).join();
        if (!allowed || policy == SCHED_OTHER)
            GTEST_SKIP() << "realtime scheduling is not allowed here";
        EXPECT_EQ(policy & ~SCHED_RESET_ON_FORK, SCHED_FIFO) << c.before;
        EXPECT_EQ(after.sched_priority, c.expected) << c.before;
        EXPECT_EQ((policy & SCHED_RESET_ON_FORK) != 0, c.before == 0) << c.before;
    }
}
