#include "Platform/Linux/PulseLibrary.h"

#include "Foundation/DynamicLibrary.h"

const std::expected<PulseLibrary, QString> &PulseLibrary::load()
{
    static const auto loaded =
        DynamicLibrary::load<PulseLibrary>("libpulse.so.0", [](DynamicLibrary &library, PulseLibrary &table) {
            library.bind(table.contextConnect, "pa_context_connect");
            library.bind(table.contextDisconnect, "pa_context_disconnect");
            library.bind(table.contextErrno, "pa_context_errno");
            library.bind(table.contextGetServerInfo, "pa_context_get_server_info");
            library.bind(table.contextGetState, "pa_context_get_state");
            library.bind(table.contextNew, "pa_context_new");
            library.bind(table.contextRttimeNew, "pa_context_rttime_new");
            library.bind(table.contextSetStateCallback, "pa_context_set_state_callback");
            library.bind(table.contextUnref, "pa_context_unref");
            library.bind(table.operationUnref, "pa_operation_unref");
            library.bind(table.rtclockNow, "pa_rtclock_now");
            library.bind(table.streamBeginWrite, "pa_stream_begin_write");
            library.bind(table.streamCancelWrite, "pa_stream_cancel_write");
            library.bind(table.streamConnectPlayback, "pa_stream_connect_playback");
            library.bind(table.streamDisconnect, "pa_stream_disconnect");
            library.bind(table.streamGetBufferAttr, "pa_stream_get_buffer_attr");
            library.bind(table.streamGetState, "pa_stream_get_state");
            library.bind(table.streamNew, "pa_stream_new");
            library.bind(table.streamSetBufferAttr, "pa_stream_set_buffer_attr");
            library.bind(table.streamSetStateCallback, "pa_stream_set_state_callback");
            library.bind(table.streamSetUnderflowCallback, "pa_stream_set_underflow_callback");
            library.bind(table.streamSetWriteCallback, "pa_stream_set_write_callback");
            library.bind(table.streamUnref, "pa_stream_unref");
            library.bind(table.streamWritableSize, "pa_stream_writable_size");
            library.bind(table.streamWrite, "pa_stream_write");
            library.bind(table.strerror, "pa_strerror");
            library.bind(table.threadedMainloopFree, "pa_threaded_mainloop_free");
            library.bind(table.threadedMainloopGetApi, "pa_threaded_mainloop_get_api");
            library.bind(table.threadedMainloopLock, "pa_threaded_mainloop_lock");
            library.bind(table.threadedMainloopNew, "pa_threaded_mainloop_new");
            library.bind(table.threadedMainloopOnceUnlocked, "pa_threaded_mainloop_once_unlocked");
            library.bind(table.threadedMainloopSetName, "pa_threaded_mainloop_set_name");
            library.bind(table.threadedMainloopSignal, "pa_threaded_mainloop_signal");
            library.bind(table.threadedMainloopStart, "pa_threaded_mainloop_start");
            library.bind(table.threadedMainloopStop, "pa_threaded_mainloop_stop");
            library.bind(table.threadedMainloopUnlock, "pa_threaded_mainloop_unlock");
            library.bind(table.threadedMainloopWait, "pa_threaded_mainloop_wait");
            library.bind(table.usecToBytes, "pa_usec_to_bytes");
            library.bind(table.contextGetSinkInputInfo, "pa_context_get_sink_input_info");
            library.bind(table.contextGetSinkInputInfoList, "pa_context_get_sink_input_info_list");
            library.bind(table.contextSetSubscribeCallback, "pa_context_set_subscribe_callback");
            library.bind(table.contextSubscribe, "pa_context_subscribe");
            library.bind(table.proplistGets, "pa_proplist_gets");
            library.bind(table.streamCork, "pa_stream_cork");
            library.bind(table.streamFlush, "pa_stream_flush");
            library.bind(table.streamGetIndex, "pa_stream_get_index");
            library.bind(table.contextGetSinkInfoByName, "pa_context_get_sink_info_by_name");
            library.bind(table.streamGetTimingInfo, "pa_stream_get_timing_info");
            library.bind(table.streamUpdateTimingInfo, "pa_stream_update_timing_info");
            library.bind(table.timevalAge, "pa_timeval_age");
        });
    return loaded;
}
