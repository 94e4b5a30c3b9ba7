#pragma once

// Moves the calling thread to SCHED_FIFO at `priority` where the system allows it, unless a
// sound library has already made it realtime. Children forked from it start ordinary.
void makeThisThreadRealtime(int priority);
