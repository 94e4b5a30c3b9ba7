#pragma once

#include <QString>

#include <pulse/pulseaudio.h>
#include <pulse/rtclock.h>

#include <expected>

// The functions of PulseAudio's client library the road calls, bound by name. The library,
// with its common library, D-Bus and systemd's, is loaded the first time the road is tried: a
// PipeWire desktop never gets this far. Tests hand the road a table of their own.
struct PulseLibrary {
    decltype(&pa_context_connect) contextConnect = nullptr;
    decltype(&pa_context_disconnect) contextDisconnect = nullptr;
    decltype(&pa_context_errno) contextErrno = nullptr;
    decltype(&pa_context_get_server_info) contextGetServerInfo = nullptr;
    decltype(&pa_context_get_state) contextGetState = nullptr;
    decltype(&pa_context_new) contextNew = nullptr;
    decltype(&pa_context_rttime_new) contextRttimeNew = nullptr;
    decltype(&pa_context_set_state_callback) contextSetStateCallback = nullptr;
    decltype(&pa_context_unref) contextUnref = nullptr;
    decltype(&pa_operation_unref) operationUnref = nullptr;
    decltype(&pa_rtclock_now) rtclockNow = nullptr;
    decltype(&pa_stream_begin_write) streamBeginWrite = nullptr;
    decltype(&pa_stream_cancel_write) streamCancelWrite = nullptr;
    decltype(&pa_stream_connect_playback) streamConnectPlayback = nullptr;
    decltype(&pa_stream_disconnect) streamDisconnect = nullptr;
    decltype(&pa_stream_get_buffer_attr) streamGetBufferAttr = nullptr;
    decltype(&pa_stream_get_state) streamGetState = nullptr;
    decltype(&pa_stream_new) streamNew = nullptr;
    decltype(&pa_stream_set_buffer_attr) streamSetBufferAttr = nullptr;
    decltype(&pa_stream_set_state_callback) streamSetStateCallback = nullptr;
    decltype(&pa_stream_set_underflow_callback) streamSetUnderflowCallback = nullptr;
    decltype(&pa_stream_set_write_callback) streamSetWriteCallback = nullptr;
    decltype(&pa_stream_unref) streamUnref = nullptr;
    decltype(&pa_stream_writable_size) streamWritableSize = nullptr;
    decltype(&pa_stream_write) streamWrite = nullptr;
    decltype(&pa_strerror) strerror = nullptr;
    decltype(&pa_threaded_mainloop_free) threadedMainloopFree = nullptr;
    decltype(&pa_threaded_mainloop_get_api) threadedMainloopGetApi = nullptr;
    decltype(&pa_threaded_mainloop_lock) threadedMainloopLock = nullptr;
    decltype(&pa_threaded_mainloop_new) threadedMainloopNew = nullptr;
    decltype(&pa_threaded_mainloop_once_unlocked) threadedMainloopOnceUnlocked = nullptr;
    decltype(&pa_threaded_mainloop_set_name) threadedMainloopSetName = nullptr;
    decltype(&pa_threaded_mainloop_signal) threadedMainloopSignal = nullptr;
    decltype(&pa_threaded_mainloop_start) threadedMainloopStart = nullptr;
    decltype(&pa_threaded_mainloop_stop) threadedMainloopStop = nullptr;
    decltype(&pa_threaded_mainloop_unlock) threadedMainloopUnlock = nullptr;
    decltype(&pa_threaded_mainloop_wait) threadedMainloopWait = nullptr;
    decltype(&pa_usec_to_bytes) usecToBytes = nullptr;
    decltype(&pa_context_get_sink_input_info) contextGetSinkInputInfo = nullptr;
    decltype(&pa_context_get_sink_input_info_list) contextGetSinkInputInfoList = nullptr;
    decltype(&pa_context_set_subscribe_callback) contextSetSubscribeCallback = nullptr;
    decltype(&pa_context_subscribe) contextSubscribe = nullptr;
    decltype(&pa_proplist_gets) proplistGets = nullptr;
    decltype(&pa_stream_cork) streamCork = nullptr;
    decltype(&pa_stream_flush) streamFlush = nullptr;
    decltype(&pa_stream_get_index) streamGetIndex = nullptr;
    decltype(&pa_context_get_sink_info_by_name) contextGetSinkInfoByName = nullptr;
    decltype(&pa_stream_get_timing_info) streamGetTimingInfo = nullptr;
    decltype(&pa_stream_update_timing_info) streamUpdateTimingInfo = nullptr;
    decltype(&pa_timeval_age) timevalAge = nullptr;

    // Loads the library once; later calls give the same table or the same reason.
    static const std::expected<PulseLibrary, QString> &load();
};
