#include "Platform/Linux/PipeWireLibrary.h"

#include "Foundation/DynamicLibrary.h"

const std::expected<PipeWireLibrary, QString> &PipeWireLibrary::load()
{
    static const auto loaded = [] {
        decltype(&pw_init) init = nullptr;
        auto table = DynamicLibrary::load<PipeWireLibrary>(
            "libpipewire-0.3.so.0", [&init](DynamicLibrary &library, PipeWireLibrary &pw) {
                library.bind(init, "pw_init");
                library.bind(pw.threadLoopNew, "pw_thread_loop_new");
                library.bind(pw.threadLoopGetLoop, "pw_thread_loop_get_loop");
                library.bind(pw.threadLoopStart, "pw_thread_loop_start");
                library.bind(pw.threadLoopStop, "pw_thread_loop_stop");
                library.bind(pw.threadLoopDestroy, "pw_thread_loop_destroy");
                library.bind(pw.threadLoopLock, "pw_thread_loop_lock");
                library.bind(pw.threadLoopUnlock, "pw_thread_loop_unlock");
                library.bind(pw.threadLoopSignal, "pw_thread_loop_signal");
                library.bind(pw.threadLoopGetTime, "pw_thread_loop_get_time");
                library.bind(pw.threadLoopTimedWaitFull, "pw_thread_loop_timed_wait_full");
                library.bind(pw.contextNew, "pw_context_new");
                library.bind(pw.contextConnect, "pw_context_connect");
                library.bind(pw.contextDestroy, "pw_context_destroy");
                library.bind(pw.contextGetDataLoop, "pw_context_get_data_loop");
                library.bind(pw.dataLoopGetLoop, "pw_data_loop_get_loop");
                library.bind(pw.coreDisconnect, "pw_core_disconnect");
                library.bind(pw.propertiesNew, "pw_properties_new");
                library.bind(pw.propertiesSetf, "pw_properties_setf");
                library.bind(pw.propertiesFree, "pw_properties_free");
                library.bind(pw.streamNew, "pw_stream_new");
                library.bind(pw.streamAddListener, "pw_stream_add_listener");
                library.bind(pw.streamConnect, "pw_stream_connect");
                library.bind(pw.streamDestroy, "pw_stream_destroy");
                library.bind(pw.streamSetActive, "pw_stream_set_active");
                library.bind(pw.streamUpdateProperties, "pw_stream_update_properties");
                library.bind(pw.streamDequeueBuffer, "pw_stream_dequeue_buffer");
                library.bind(pw.streamQueueBuffer, "pw_stream_queue_buffer");
            });
        if (table)
            init(nullptr, nullptr);
        return table;
    }();
    return loaded;
}
