#include "Platform/Linux/PulseAudioOutput.h"

#include "Foundation/DynamicLibrary.h"
#include "Platform/Linux/RealtimeThread.h"

#include <pulse/pulseaudio.h>
#include <pulse/rtclock.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <mutex>
#include <optional>

#include <sys/stat.h>

#include <unistd.h>

namespace {
const QString pulseDomain = QStringLiteral("PulseAudio");
constexpr pa_usec_t answerTimeoutUs = 2'000'000;
constexpr std::size_t frameBytes = 2 * sizeof(float);

// The client library, with its common library, D-Bus and systemd's, is loaded the first time
// this road is tried: a PipeWire desktop never gets this far.
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
};

const std::expected<PulseLibrary, QString> &pulseLibrary()
{
    static const auto loaded =
        DynamicLibrary::load<PulseLibrary>("libpulse.so.0", [](DynamicLibrary &library, PulseLibrary &pulse) {
            library.bind(pulse.contextConnect, "pa_context_connect");
            library.bind(pulse.contextDisconnect, "pa_context_disconnect");
            library.bind(pulse.contextErrno, "pa_context_errno");
            library.bind(pulse.contextGetServerInfo, "pa_context_get_server_info");
            library.bind(pulse.contextGetState, "pa_context_get_state");
            library.bind(pulse.contextNew, "pa_context_new");
            library.bind(pulse.contextRttimeNew, "pa_context_rttime_new");
            library.bind(pulse.contextSetStateCallback, "pa_context_set_state_callback");
            library.bind(pulse.contextUnref, "pa_context_unref");
            library.bind(pulse.operationUnref, "pa_operation_unref");
            library.bind(pulse.rtclockNow, "pa_rtclock_now");
            library.bind(pulse.streamBeginWrite, "pa_stream_begin_write");
            library.bind(pulse.streamCancelWrite, "pa_stream_cancel_write");
            library.bind(pulse.streamConnectPlayback, "pa_stream_connect_playback");
            library.bind(pulse.streamDisconnect, "pa_stream_disconnect");
            library.bind(pulse.streamGetBufferAttr, "pa_stream_get_buffer_attr");
            library.bind(pulse.streamGetState, "pa_stream_get_state");
            library.bind(pulse.streamNew, "pa_stream_new");
            library.bind(pulse.streamSetBufferAttr, "pa_stream_set_buffer_attr");
            library.bind(pulse.streamSetStateCallback, "pa_stream_set_state_callback");
            library.bind(pulse.streamSetUnderflowCallback, "pa_stream_set_underflow_callback");
            library.bind(pulse.streamSetWriteCallback, "pa_stream_set_write_callback");
            library.bind(pulse.streamUnref, "pa_stream_unref");
            library.bind(pulse.streamWritableSize, "pa_stream_writable_size");
            library.bind(pulse.streamWrite, "pa_stream_write");
            library.bind(pulse.strerror, "pa_strerror");
            library.bind(pulse.threadedMainloopFree, "pa_threaded_mainloop_free");
            library.bind(pulse.threadedMainloopGetApi, "pa_threaded_mainloop_get_api");
            library.bind(pulse.threadedMainloopLock, "pa_threaded_mainloop_lock");
            library.bind(pulse.threadedMainloopNew, "pa_threaded_mainloop_new");
            library.bind(pulse.threadedMainloopOnceUnlocked, "pa_threaded_mainloop_once_unlocked");
            library.bind(pulse.threadedMainloopSetName, "pa_threaded_mainloop_set_name");
            library.bind(pulse.threadedMainloopSignal, "pa_threaded_mainloop_signal");
            library.bind(pulse.threadedMainloopStart, "pa_threaded_mainloop_start");
            library.bind(pulse.threadedMainloopStop, "pa_threaded_mainloop_stop");
            library.bind(pulse.threadedMainloopUnlock, "pa_threaded_mainloop_unlock");
            library.bind(pulse.threadedMainloopWait, "pa_threaded_mainloop_wait");
            library.bind(pulse.usecToBytes, "pa_usec_to_bytes");
            library.bind(pulse.contextGetSinkInputInfo, "pa_context_get_sink_input_info");
            library.bind(pulse.contextGetSinkInputInfoList, "pa_context_get_sink_input_info_list");
            library.bind(pulse.contextSetSubscribeCallback, "pa_context_set_subscribe_callback");
            library.bind(pulse.contextSubscribe, "pa_context_subscribe");
            library.bind(pulse.proplistGets, "pa_proplist_gets");
            library.bind(pulse.streamCork, "pa_stream_cork");
            library.bind(pulse.streamFlush, "pa_stream_flush");
            library.bind(pulse.streamGetIndex, "pa_stream_get_index");
        });
    return loaded;
}

// Only reached once the library loaded: every object of the road is made through it.
const PulseLibrary &pa()
{
    return *pulseLibrary();
}

// For a request whose outcome nobody waits on: the server carries it out all the same.
void letGo(pa_operation *operation)
{
    if (operation)
        pa().operationUnref(operation);
}
}

struct PulseAudioOutput::Impl {
    pa_threaded_mainloop *loop = nullptr;
    pa_context *context = nullptr;
    pa_stream *stream = nullptr;

    // Main-loop side: guarded by the loop's lock.
    int serverRate = 0;
    bool answered = false;
    pa_sample_spec sampleSpec{};
    std::chrono::microseconds margin{0};

    // The margin the stream's buffer was last set for.
    std::chrono::microseconds streamMargin{0};
    // How much of what was written last is silence, in bytes.
    std::size_t silentTail = 0;
    // The stream is corked and empty; parked while it waits for the next open, in which time
    // it may be dropped.
    bool corked = false;
    bool parked = false;

    // How the last wait on the server ended.
    enum class Wait { answered, timedOut, lost, abandoned } lastWait = Wait::answered;
    // Set from any thread; `loopMutex` keeps the loop alive while it is woken for it.
    std::atomic<bool> abandoned{false};
    std::mutex loopMutex;

    AudioRenderer *renderer = nullptr;
    std::atomic<bool> running{false};
    std::atomic<bool> lost{false};
    std::atomic<int> underruns{0};
    std::atomic<int> postedOverSound{0};

    std::uint32_t bytesFor(std::chrono::microseconds length) const
    {
        return std::uint32_t(pa().usecToBytes(pa_usec_t(length.count()), &sampleSpec));
    }

    pa_buffer_attr bufferAttributes() const
    {
        pa_buffer_attr attributes{};
        attributes.maxlength = std::uint32_t(-1);
        attributes.tlength = bytesFor(targetLength + margin);
        attributes.prebuf = std::uint32_t(-1);
        attributes.minreq = bytesFor(requestLength);
        attributes.fragsize = std::uint32_t(-1);
        return attributes;
    }

    void setBufferAttributes()
    {
        const pa_buffer_attr attributes = bufferAttributes();
        letGo(pa().streamSetBufferAttr(stream, &attributes, nullptr, nullptr));
        streamMargin = margin;
    }

    // The next two with the loop's lock held, or on its thread.
    void dropStream()
    {
        if (!stream)
            return;
        pa().streamSetStateCallback(stream, nullptr, nullptr);
        pa().streamSetWriteCallback(stream, nullptr, nullptr);
        pa().streamSetUnderflowCallback(stream, nullptr, nullptr);
        pa().streamDisconnect(stream);
        pa().streamUnref(stream);
        stream = nullptr;
        corked = false;
        parked = false;
        running.store(false, std::memory_order_relaxed);
    }

    // A corked stream still counts towards the latency the server runs its device at, so one
    // is kept only while no other program plays through the server.
    void dropIfOthersPlay(const pa_sink_input_info *info)
    {
        if (!parked || !info || info->corked || info->index == pa().streamGetIndex(stream))
            return;
        const char *pid = pa().proplistGets(info->proplist, PA_PROP_APPLICATION_PROCESS_ID);
        if (pid && std::strtol(pid, nullptr, 10) == long(getpid()))
            return;
        dropStream();
    }

    // On the main-loop thread, or with its lock held: no allocation, logging or Qt call of
    // ours (the server's memory pool hands out the buffer). Renders `bytes` and writes them
    // after what was written last, or from `ahead` bytes past the server's read position.
    void fill(std::size_t bytes, std::optional<std::int64_t> ahead = std::nullopt)
    {
        if (!running.load(std::memory_order_acquire))
            return;
        while (bytes >= frameBytes) {
            void *buffer = nullptr;
            std::size_t length = bytes;
            if (pa().streamBeginWrite(stream, &buffer, &length) < 0 || !buffer)
                return;
            length -= length % frameBytes;
            if (length == 0) {
                pa().streamCancelWrite(stream);
                return;
            }
            auto *frames = static_cast<float *>(buffer);
            renderer->render(frames, int(length / frameBytes));
            const std::size_t samples = length / sizeof(float);
            const auto loud = std::find_if(std::make_reverse_iterator(frames + samples),
                                           std::make_reverse_iterator(frames), [](float v) { return v != 0.0f; });
            const auto silent = std::size_t(loud - std::make_reverse_iterator(frames + samples)) * sizeof(float);
            silentTail = silent == length ? silentTail + length : silent;
            if (ahead)
                pa().streamWrite(stream, buffer, length, nullptr, *ahead, PA_SEEK_RELATIVE_ON_READ);
            else
                pa().streamWrite(stream, buffer, length, nullptr, 0, PA_SEEK_RELATIVE);
            ahead.reset();
            bytes -= std::min(bytes, length);
        }
    }
};

namespace {
using Impl = PulseAudioOutput::Impl;

void onContextState(pa_context *context, void *data)
{
    auto &impl = *static_cast<Impl *>(data);
    const pa_context_state_t state = pa().contextGetState(context);
    if (state == PA_CONTEXT_FAILED || state == PA_CONTEXT_TERMINATED)
        impl.lost.store(true, std::memory_order_release);
    pa().threadedMainloopSignal(impl.loop, 0);
}

void onServerInfo(pa_context *, const pa_server_info *info, void *data)
{
    auto &impl = *static_cast<Impl *>(data);
    if (info)
        impl.serverRate = int(info->sample_spec.rate);
    impl.answered = true;
    pa().threadedMainloopSignal(impl.loop, 0);
}

void onStreamState(pa_stream *stream, void *data)
{
    auto &impl = *static_cast<Impl *>(data);
    const pa_stream_state_t state = pa().streamGetState(stream);
    if (state == PA_STREAM_FAILED || state == PA_STREAM_TERMINATED)
        impl.lost.store(true, std::memory_order_release);
    pa().threadedMainloopSignal(impl.loop, 0);
}

void onWrite(pa_stream *, std::size_t bytes, void *data)
{
    static_cast<Impl *>(data)->fill(bytes);
}

void onUnderflow(pa_stream *, void *data)
{
    static_cast<Impl *>(data)->underruns.fetch_add(1, std::memory_order_relaxed);
}

void onSinkInput(pa_context *, const pa_sink_input_info *info, int, void *data)
{
    static_cast<Impl *>(data)->dropIfOthersPlay(info);
}

void onSubscription(pa_context *context, pa_subscription_event_type_t event, std::uint32_t index, void *data)
{
    auto &impl = *static_cast<Impl *>(data);
    if (!impl.parked || (event & PA_SUBSCRIPTION_EVENT_TYPE_MASK) == PA_SUBSCRIPTION_EVENT_REMOVE)
        return;
    letGo(pa().contextGetSinkInputInfo(context, index, onSinkInput, &impl));
}

// Kept corked and empty rather than closed: making a stream costs the next sound several round
// trips to the server, uncorking this one none. A corked stream asks the server for nothing, so
// it costs nothing while idle.
void park(Impl &impl)
{
    impl.parked = true;
    if (impl.corked)
        return;
    impl.running.store(false, std::memory_order_relaxed);
    impl.corked = true;
    impl.silentTail = 0;
    letGo(pa().streamCork(impl.stream, 1, nullptr, nullptr));
    letGo(pa().streamFlush(impl.stream, nullptr, nullptr));
    letGo(pa().contextGetSinkInputInfoList(impl.context, onSinkInput, &impl));
}

struct Timeout {
    pa_threaded_mainloop *loop = nullptr;
    bool passed = false;
};

void onTimeout(pa_mainloop_api *, pa_time_event *, const timeval *, void *data)
{
    auto &timeout = *static_cast<Timeout *>(data);
    timeout.passed = true;
    pa().threadedMainloopSignal(timeout.loop, 0);
}

// Waits on the locked loop until `done` holds, the server is lost, the time is up or the
// wait is abandoned.
template <typename Predicate>
bool waitFor(Impl &impl, Predicate done)
{
    Timeout timeout{impl.loop};
    pa_time_event *timer = pa().contextRttimeNew(impl.context, pa().rtclockNow() + answerTimeoutUs, onTimeout, &timeout);
    while (!done() && !timeout.passed && !impl.lost.load(std::memory_order_acquire)
           && !impl.abandoned.load(std::memory_order_acquire))
        pa().threadedMainloopWait(impl.loop);
    if (timer)
        pa().threadedMainloopGetApi(impl.loop)->time_free(timer);
    impl.lastWait = done()                                             ? Impl::Wait::answered
        : impl.abandoned.load(std::memory_order_acquire)              ? Impl::Wait::abandoned
        : timeout.passed && !impl.lost.load(std::memory_order_acquire) ? Impl::Wait::timedOut
                                                                       : Impl::Wait::lost;
    return done();
}

// The client library says "Connection refused" whether a server's socket is there or not.
bool defaultSocketExists()
{
    if (!qEnvironmentVariableIsEmpty("PULSE_SERVER"))
        return true;
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    struct stat status{};
    return !runtime.isEmpty() && ::stat((runtime + "/pulse/native").constData(), &status) == 0;
}

// Why the last wait on the server failed, for the log; with the loop locked.
QString failureReason(const Impl &impl)
{
    switch (impl.lastWait) {
    case Impl::Wait::abandoned:
        return QStringLiteral("abandoned");
    case Impl::Wait::timedOut:
        return QStringLiteral("the PulseAudio server did not answer within %1 s").arg(answerTimeoutUs / 1'000'000);
    case Impl::Wait::answered:
    case Impl::Wait::lost:
        break;
    }
    const int error = pa().contextErrno(impl.context);
    if (error == PA_ERR_CONNECTIONREFUSED)
        return defaultSocketExists() ? QStringLiteral("the PulseAudio server refused the connection")
                                     : QStringLiteral("no PulseAudio server is running");
    return QStringLiteral("the PulseAudio server failed (%1)").arg(QString::fromUtf8(pa().strerror(error)));
}
}

PulseAudioOutput::PulseAudioOutput() : m_impl(std::make_unique<Impl>()) {}

PulseAudioOutput::~PulseAudioOutput()
{
    disconnect();
    const std::lock_guard lock(m_impl->loopMutex);
    if (m_impl->loop) {
        pa().threadedMainloopStop(m_impl->loop);
        pa().threadedMainloopFree(m_impl->loop);
    }
}

std::optional<QString> PulseAudioOutput::connect()
{
    Impl &impl = *m_impl;
    if (impl.context && impl.lost.load(std::memory_order_acquire))
        disconnect();
    if (impl.context)
        return std::nullopt;
    if (!pulseLibrary())
        return pulseLibrary().error();
    if (!impl.loop) {
        const std::lock_guard lock(impl.loopMutex);
        impl.loop = pa().threadedMainloopNew();
        if (!impl.loop)
            return QStringLiteral("PulseAudio could not start its client");
        pa().threadedMainloopSetName(impl.loop, "plinkly-pulse");
        if (pa().threadedMainloopStart(impl.loop) < 0) {
            pa().threadedMainloopFree(impl.loop);
            impl.loop = nullptr;
            return QStringLiteral("PulseAudio could not start its client");
        }
        // The loop renders the sound: it runs ahead of ordinary work where the system allows
        // it, below the server's own priority.
        pa().threadedMainloopOnceUnlocked(impl.loop, [](pa_threaded_mainloop *, void *) { makeThisThreadRealtime(4); },
                                           nullptr);
    }
    impl.lost.store(false, std::memory_order_relaxed);
    pa().threadedMainloopLock(impl.loop);
    impl.context = pa().contextNew(pa().threadedMainloopGetApi(impl.loop), "Plinkly");
    pa().contextSetStateCallback(impl.context, onContextState, &impl);
    // Plinkly never starts a sound server of its own.
    impl.lastWait = Impl::Wait::lost;
    bool ready = pa().contextConnect(impl.context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) >= 0
        && waitFor(impl, [&] { return pa().contextGetState(impl.context) == PA_CONTEXT_READY; });
    if (ready) {
        pa().contextSetSubscribeCallback(impl.context, onSubscription, &impl);
        letGo(pa().contextSubscribe(impl.context, PA_SUBSCRIPTION_MASK_SINK_INPUT, nullptr, nullptr));
        impl.answered = false;
        if (pa_operation *operation = pa().contextGetServerInfo(impl.context, onServerInfo, &impl)) {
            ready = waitFor(impl, [&] { return impl.answered; });
            pa().operationUnref(operation);
        }
    }
    const QString reason = ready ? QString() : failureReason(impl);
    pa().threadedMainloopUnlock(impl.loop);
    if (!ready) {
        disconnect();
        return reason;
    }
    return std::nullopt;
}

void PulseAudioOutput::disconnect()
{
    Impl &impl = *m_impl;
    if (!impl.context)
        return;
    pa().threadedMainloopLock(impl.loop);
    impl.dropStream();
    pa().contextSetSubscribeCallback(impl.context, nullptr, nullptr);
    pa().contextSetStateCallback(impl.context, nullptr, nullptr);
    pa().contextDisconnect(impl.context);
    pa().contextUnref(impl.context);
    impl.context = nullptr;
    pa().threadedMainloopUnlock(impl.loop);
}

int PulseAudioOutput::preferredSampleRate()
{
    return connect() ? 0 : m_impl->serverRate;
}

Result<AudioOutput::Format> PulseAudioOutput::open(int, AudioRenderer &renderer)
{
    close();
    if (const auto error = connect())
        return failure(pulseDomain, 1, *error);
    Impl &impl = *m_impl;
    pa().threadedMainloopLock(impl.loop);
    impl.renderer = &renderer;
    impl.underruns.store(0, std::memory_order_relaxed);
    if (impl.parked && !impl.lost.load(std::memory_order_acquire)) {
        impl.parked = false;
        const pa_buffer_attr *granted = pa().streamGetBufferAttr(impl.stream);
        const int frames = granted ? int(granted->tlength / frameBytes) : 0;
        pa().threadedMainloopUnlock(impl.loop);
        return Format{int(impl.sampleSpec.rate), frames};
    }
    impl.dropStream();
    impl.sampleSpec = {PA_SAMPLE_FLOAT32NE, std::uint32_t(impl.serverRate), 2};
    impl.silentTail = 0;
    impl.streamMargin = impl.margin;
    impl.stream = pa().streamNew(impl.context, "Plinkly", &impl.sampleSpec, nullptr);
    if (!impl.stream) {
        const QString reason = QString::fromUtf8(pa().strerror(pa().contextErrno(impl.context)));
        pa().threadedMainloopUnlock(impl.loop);
        return failure(pulseDomain, 2, reason);
    }
    pa().streamSetStateCallback(impl.stream, onStreamState, &impl);
    pa().streamSetWriteCallback(impl.stream, onWrite, &impl);
    pa().streamSetUnderflowCallback(impl.stream, onUnderflow, &impl);
    const pa_buffer_attr attributes = impl.bufferAttributes();
    impl.lastWait = Impl::Wait::lost;
    const bool ready = pa().streamConnectPlayback(impl.stream, nullptr, &attributes, PA_STREAM_ADJUST_LATENCY, nullptr,
                                                  nullptr) >= 0
        && waitFor(impl, [&] { return pa().streamGetState(impl.stream) == PA_STREAM_READY; });
    const QString reason = ready ? QString() : failureReason(impl);
    int frames = 0;
    if (const pa_buffer_attr *granted = ready ? pa().streamGetBufferAttr(impl.stream) : nullptr)
        frames = int(granted->tlength / frameBytes);
    pa().threadedMainloopUnlock(impl.loop);
    if (!ready) {
        close();
        return failure(pulseDomain, 3, QStringLiteral("no stream: %1").arg(reason));
    }
    return Format{int(impl.sampleSpec.rate), frames};
}

void PulseAudioOutput::resume()
{
    Impl &impl = *m_impl;
    if (!impl.stream)
        return;
    // The server asked for its first buffer while the stream was paused or parked: that buffer
    // now carries the sound that opened the stream, from its first frame. A parked stream is
    // uncorked only once it is written, so the full buffer starts it without waiting for more.
    pa().threadedMainloopLock(impl.loop);
    impl.running.store(true, std::memory_order_release);
    const std::size_t writable = pa().streamWritableSize(impl.stream);
    if (writable != std::size_t(-1))
        impl.fill(writable);
    if (impl.corked) {
        impl.corked = false;
        letGo(pa().streamCork(impl.stream, 0, nullptr, nullptr));
        // A parked stream whose buffer shrank would wait for the server's outstanding request;
        // with the buffer full again it takes any new length safely.
        if (impl.streamMargin != impl.margin)
            impl.setBufferAttributes();
    }
    pa().threadedMainloopUnlock(impl.loop);
}

void PulseAudioOutput::soundPosted()
{
    Impl &impl = *m_impl;
    if (!impl.stream)
        return;
    pa().threadedMainloopLock(impl.loop);
    const pa_buffer_attr *attributes = pa().streamGetBufferAttr(impl.stream);
    const std::uint32_t lead = impl.bytesFor(leadLength) / frameBytes * frameBytes;
    // Everything still queued is silence: the sound replaces it from just ahead of the read
    // position, and the queue ends where it did.
    if (attributes && attributes->tlength > lead && impl.silentTail >= attributes->tlength)
        impl.fill(attributes->tlength - lead, lead);
    else
        impl.postedOverSound.fetch_add(1, std::memory_order_relaxed);
    pa().threadedMainloopUnlock(impl.loop);
}

void PulseAudioOutput::close()
{
    Impl &impl = *m_impl;
    if (!impl.loop)
        return;
    // A parked stream may be dropped on the loop's thread meanwhile.
    pa().threadedMainloopLock(impl.loop);
    if (impl.stream && (impl.lost.load(std::memory_order_acquire) || pa().streamGetState(impl.stream) != PA_STREAM_READY))
        impl.dropStream();
    else if (impl.stream)
        park(impl);
    pa().threadedMainloopUnlock(impl.loop);
}

bool PulseAudioOutput::isLost() const
{
    return m_impl->stream && m_impl->lost.load(std::memory_order_acquire);
}

int PulseAudioOutput::postedOverSound() const
{
    return m_impl->postedOverSound.load(std::memory_order_relaxed);
}

int PulseAudioOutput::underruns() const
{
    return m_impl->underruns.load(std::memory_order_relaxed);
}

void PulseAudioOutput::abandonOpens(bool abandoned)
{
    Impl &impl = *m_impl;
    const std::lock_guard lock(impl.loopMutex);
    impl.abandoned.store(abandoned, std::memory_order_release);
    if (abandoned && impl.loop) {
        pa().threadedMainloopLock(impl.loop);
        pa().threadedMainloopSignal(impl.loop, 0);
        pa().threadedMainloopUnlock(impl.loop);
    }
}

bool PulseAudioOutput::setMargin(std::chrono::microseconds margin)
{
    Impl &impl = *m_impl;
    if (!impl.loop) {
        impl.margin = margin;
        return true;
    }
    pa().threadedMainloopLock(impl.loop);
    impl.margin = margin;
    if (impl.stream && !impl.corked)
        impl.setBufferAttributes();
    pa().threadedMainloopUnlock(impl.loop);
    return true;
}
