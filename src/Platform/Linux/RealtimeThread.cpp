#include "Platform/Linux/RealtimeThread.h"

#include <sched.h>

void makeThisThreadRealtime(int priority)
{
    if (sched_getscheduler(0) != SCHED_OTHER)
        return;
    sched_param parameters{};
    parameters.sched_priority = priority;
    sched_setscheduler(0, SCHED_FIFO | SCHED_RESET_ON_FORK, &parameters);
}
