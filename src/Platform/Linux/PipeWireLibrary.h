#pragma once

#include <QString>

#include <pipewire/pipewire.h>

#include <cstdint>
#include <ctime>
#include <expected>

// The functions of PipeWire's client library the road calls, bound by name. The library, with
// the modules it loads when a context is made, is loaded the first time the road is tried, and
// like every library loaded so it stays: the data and loop threads it started, and the handlers
// it installed, would outlive an unload. Calls the headers make through an object's own table
// (adding a core listener, a round trip, removing a hook, invoking on a loop) reach whatever
// objects these functions made. Tests hand the road a table of their own.
struct PipeWireLibrary {
    decltype(&pw_thread_loop_new) threadLoopNew = nullptr;
    decltype(&pw_thread_loop_get_loop) threadLoopGetLoop = nullptr;
    decltype(&pw_thread_loop_start) threadLoopStart = nullptr;
    decltype(&pw_thread_loop_stop) threadLoopStop = nullptr;
    decltype(&pw_thread_loop_destroy) threadLoopDestroy = nullptr;
    decltype(&pw_thread_loop_lock) threadLoopLock = nullptr;
    decltype(&pw_thread_loop_unlock) threadLoopUnlock = nullptr;
    decltype(&pw_thread_loop_signal) threadLoopSignal = nullptr;
    decltype(&pw_thread_loop_get_time) threadLoopGetTime = nullptr;
    decltype(&pw_thread_loop_timed_wait_full) threadLoopTimedWaitFull = nullptr;
    decltype(&pw_context_new) contextNew = nullptr;
    decltype(&pw_context_connect) contextConnect = nullptr;
    decltype(&pw_context_destroy) contextDestroy = nullptr;
    decltype(&pw_context_get_data_loop) contextGetDataLoop = nullptr;
    decltype(&pw_data_loop_get_loop) dataLoopGetLoop = nullptr;
    decltype(&pw_core_disconnect) coreDisconnect = nullptr;
    decltype(&pw_properties_new) propertiesNew = nullptr;
    decltype(&pw_properties_setf) propertiesSetf = nullptr;
    decltype(&pw_properties_free) propertiesFree = nullptr;
    decltype(&pw_stream_new) streamNew = nullptr;
    decltype(&pw_stream_add_listener) streamAddListener = nullptr;
    decltype(&pw_stream_connect) streamConnect = nullptr;
    decltype(&pw_stream_destroy) streamDestroy = nullptr;
    decltype(&pw_stream_set_active) streamSetActive = nullptr;
    decltype(&pw_stream_update_properties) streamUpdateProperties = nullptr;
    decltype(&pw_stream_dequeue_buffer) streamDequeueBuffer = nullptr;
    decltype(&pw_stream_queue_buffer) streamQueueBuffer = nullptr;
    // The monotonic clock the graph stamps its cycles with, in nanoseconds (the system's).
    std::int64_t (*monotonicNanoseconds)() = [] {
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        return std::int64_t(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
    };

    // Loads and initialises the library once; later calls give the same table or the same reason.
    static const std::expected<PipeWireLibrary, QString> &load();
};
