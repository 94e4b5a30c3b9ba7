#include "Platform/Linux/PipeWireAudioOutput.h"

#include "Foundation/DynamicLibrary.h"
#include "Platform/Linux/RealtimeThread.h"

#include <pipewire/pipewire.h>
#include <spa/param/audio/format-utils.h>
#include <spa/node/io.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <mutex>

namespace {
const QString pipeWireDomain = QStringLiteral("PipeWire");
constexpr int fallbackSampleRate = 48000;
// Long enough for a busy session manager to link a new stream, short enough that a server
// without one does not hold the sound back for long before the next road is tried.
constexpr std::int64_t startTimeoutNs = 2'000'000'000;
constexpr std::uint32_t frameBytes = 2 * sizeof(float);
// What PipeWire gives its clients' data threads, below its own.
constexpr int clientPriority = 83;
// The control loop: above ordinary work, below every audio data thread.
constexpr int loopPriority = 4;

// The client library, with the modules it loads when a context is made, is loaded the first
// time this road is tried. Like every library loaded so, it stays: the data and loop threads
// it started, and the handlers it installed, would outlive an unload.
struct PipeWireLibrary {
    decltype(&pw_init) init = nullptr;
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
};

const std::expected<PipeWireLibrary, QString> &pipeWireLibrary()
{
    static const auto loaded = DynamicLibrary::load<PipeWireLibrary>(
        "libpipewire-0.3.so.0", [](DynamicLibrary &library, PipeWireLibrary &pw) {
            library.bind(pw.init, "pw_init");
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
    return loaded;
}

// Only reached once the library loaded: every object of the road is made through it.
const PipeWireLibrary &pw()
{
    return *pipeWireLibrary();
}
}

struct PipeWireAudioOutput::Impl {
    pw_thread_loop *loop = nullptr;
    pw_context *context = nullptr;
    pw_core *core = nullptr;
    spa_hook coreListener{};
    pw_stream *stream = nullptr;
    spa_hook streamListener{};
    // The caller's side: false while the stream is parked.
    bool active = false;

    // Thread-loop side: guarded by the loop's lock.
    int graphRate = 0;
    int pendingSync = -1;
    bool synced = false;
    pw_stream_state state = PW_STREAM_STATE_UNCONNECTED;
    QString streamError;
    int rate = 0;
    int latencyFrames = baseLatencyFrames;
    std::chrono::microseconds margin{0};

    // Set from any thread; `loopMutex` keeps the loop alive while it is woken for it.
    std::atomic<bool> abandoned{false};
    std::mutex loopMutex;

    // Read by the realtime thread.
    AudioRenderer *renderer = nullptr;
    std::atomic<bool> running{false};
    std::atomic<bool> lost{false};
    std::atomic<spa_io_position *> position{nullptr};
    std::atomic<int> underruns{0};
    // Realtime-thread only.
    bool realtimeTried = false;
    std::uint64_t lastPosition = 0;
    std::uint64_t lastDuration = 0;
    bool counting = false;

    // The stream's properties, with the cycle to ask the graph for as "frames/rate".
    pw_properties *properties() const
    {
        pw_properties *result = pw().propertiesNew(PW_KEY_MEDIA_TYPE, "Audio", PW_KEY_MEDIA_CATEGORY, "Playback",
                                                  PW_KEY_APP_NAME, "Plinkly", PW_KEY_NODE_NAME, "plinkly", nullptr);
        pw().propertiesSetf(result, PW_KEY_NODE_LATENCY, "%d/%d", nodeLatencyFrames(latencyFrames, margin, rate), rate);
        return result;
    }

    void updateLatency()
    {
        pw_properties *changed = properties();
        pw().streamUpdateProperties(stream, &changed->dict);
        pw().propertiesFree(changed);
    }
};

namespace {
using Impl = PipeWireAudioOutput::Impl;

void onCoreInfo(void *data, const pw_core_info *info)
{
    auto &impl = *static_cast<Impl *>(data);
    if (const char *rate = info->props ? spa_dict_lookup(info->props, "default.clock.rate") : nullptr)
        impl.graphRate = std::atoi(rate);
}

void onCoreDone(void *data, uint32_t id, int seq)
{
    auto &impl = *static_cast<Impl *>(data);
    // A parked stream's restart is sent to the server from this loop: on a busy machine an
    // ordinary thread would hold the first sound after idle back. It sleeps while parked.
    makeThisThreadRealtime(loopPriority);
    if (id == PW_ID_CORE && seq == impl.pendingSync) {
        impl.synced = true;
        pw().threadLoopSignal(impl.loop, false);
    }
}

void onCoreError(void *data, uint32_t id, int seq, int res, const char *message)
{
    auto &impl = *static_cast<Impl *>(data);
    // A broken pipe on the core: the server went away.
    if (id == PW_ID_CORE && res == -EPIPE) {
        impl.lost.store(true, std::memory_order_release);
        pw().threadLoopSignal(impl.loop, false);
    }
}

const pw_core_events coreEvents = [] {
    pw_core_events events{};
    events.version = PW_VERSION_CORE_EVENTS;
    events.info = onCoreInfo;
    events.done = onCoreDone;
    events.error = onCoreError;
    return events;
}();

void onStateChanged(void *data, pw_stream_state, pw_stream_state state, const char *error)
{
    auto &impl = *static_cast<Impl *>(data);
    impl.state = state;
    if (state == PW_STREAM_STATE_ERROR) {
        impl.streamError = QString::fromUtf8(error ? error : "stream error");
        impl.lost.store(true, std::memory_order_release);
    }
    pw().threadLoopSignal(impl.loop, false);
}

void onIoChanged(void *data, uint32_t id, void *area, uint32_t)
{
    if (id == SPA_IO_Position)
        static_cast<Impl *>(data)->position.store(static_cast<spa_io_position *>(area), std::memory_order_release);
}

// The realtime thread: no lock, allocation, logging or Qt call from here on.
void onProcess(void *data)
{
    auto &impl = *static_cast<Impl *>(data);
    // The client library asks a realtime kit for the data thread's priority, and there may
    // be none: where the system allows it, the thread takes a priority below the server's.
    if (!impl.realtimeTried) {
        impl.realtimeTried = true;
        makeThisThreadRealtime(clientPriority);
    }
    pw_buffer *buffer = pw().streamDequeueBuffer(impl.stream);
    if (!buffer)
        return;
    spa_data &plane = buffer->buffer->datas[0];
    if (auto *out = static_cast<float *>(plane.data)) {
        std::uint32_t frames = plane.maxsize / frameBytes;
        if (buffer->requested > 0)
            frames = std::min<std::uint32_t>(frames, std::uint32_t(buffer->requested));
        if (impl.running.load(std::memory_order_acquire))
            impl.renderer->render(out, int(frames));
        else
            std::fill(out, out + 2 * frames, 0.0f);
        plane.chunk->offset = 0;
        plane.chunk->stride = frameBytes;
        plane.chunk->size = frames * frameBytes;
    }
    // The graph's clock moves on by one cycle between two calls; more means whole cycles
    // went by without this stream's sound.
    if (const spa_io_position *position = impl.position.load(std::memory_order_acquire)) {
        const std::uint64_t now = position->clock.position;
        if (impl.counting && now > impl.lastPosition + impl.lastDuration)
            impl.underruns.fetch_add(1, std::memory_order_relaxed);
        impl.counting = impl.running.load(std::memory_order_relaxed);
        impl.lastPosition = now;
        impl.lastDuration = position->clock.duration;
    }
    pw().streamQueueBuffer(impl.stream, buffer);
}

const pw_stream_events streamEvents = [] {
    pw_stream_events events{};
    events.version = PW_VERSION_STREAM_EVENTS;
    events.state_changed = onStateChanged;
    events.io_changed = onIoChanged;
    events.process = onProcess;
    return events;
}();

// Waits on the locked loop until `done` holds, the server is lost, the time is up or the
// wait is abandoned.
template <typename Predicate>
bool waitFor(Impl &impl, Predicate done)
{
    timespec deadline{};
    pw().threadLoopGetTime(impl.loop, &deadline, startTimeoutNs);
    while (!done() && !impl.lost.load(std::memory_order_acquire) && !impl.abandoned.load(std::memory_order_acquire)) {
        if (pw().threadLoopTimedWaitFull(impl.loop, &deadline) != 0)
            break;
    }
    return done();
}
}

int PipeWireAudioOutput::nodeLatencyFrames(int latencyFrames, std::chrono::microseconds margin, int rate)
{
    const std::int64_t wanted = latencyFrames + margin.count() * rate / 1'000'000;
    std::int64_t below = 1;
    while (below * 2 <= wanted)
        below *= 2;
    return int(wanted - below < 2 * below - wanted ? below : 2 * below);
}

PipeWireAudioOutput::PipeWireAudioOutput() : m_impl(std::make_unique<Impl>()) {}

PipeWireAudioOutput::~PipeWireAudioOutput()
{
    disconnect();
}

std::optional<QString> PipeWireAudioOutput::connect()
{
    Impl &impl = *m_impl;
    if (impl.core && impl.lost.load(std::memory_order_acquire))
        disconnect();
    if (impl.core)
        return std::nullopt;
    impl.lost.store(false, std::memory_order_relaxed);
    if (!pipeWireLibrary())
        return pipeWireLibrary().error();
    if (!impl.loop) {
        static std::once_flag initialised;
        std::call_once(initialised, [] { pw().init(nullptr, nullptr); });
        {
            const std::lock_guard lock(impl.loopMutex);
            impl.loop = pw().threadLoopNew("plinkly-pw", nullptr);
        }
        impl.context = impl.loop ? pw().contextNew(pw().threadLoopGetLoop(impl.loop), nullptr, 0) : nullptr;
        impl.realtimeTried = false;
        if (!impl.context || pw().threadLoopStart(impl.loop) != 0) {
            disconnect();
            return QStringLiteral("PipeWire could not start its client");
        }
    }
    pw().threadLoopLock(impl.loop);
    impl.core = pw().contextConnect(impl.context, nullptr, 0);
    if (!impl.core) {
        const int error = errno;
        pw().threadLoopUnlock(impl.loop);
        if (error == ENOENT)
            return QStringLiteral("no PipeWire server is running");
        if (error == ECONNREFUSED)
            return QStringLiteral("the PipeWire server refused the connection");
        return QStringLiteral("no PipeWire server (%1)").arg(QString::fromLocal8Bit(std::strerror(error)));
    }
    pw_core_add_listener(impl.core, &impl.coreListener, &coreEvents, &impl);
    // One round trip: the server answers, and its settings (the graph's rate) have arrived.
    impl.synced = false;
    impl.pendingSync = pw_core_sync(impl.core, PW_ID_CORE, 0);
    const bool answered = waitFor(impl, [&] { return impl.synced; });
    pw().threadLoopUnlock(impl.loop);
    if (!answered) {
        disconnect();
        if (impl.abandoned.load(std::memory_order_acquire))
            return QStringLiteral("abandoned");
        if (impl.lost.load(std::memory_order_acquire))
            return QStringLiteral("the PipeWire server closed the connection");
        return QStringLiteral("the PipeWire server did not answer within %1 s").arg(startTimeoutNs / 1'000'000'000);
    }
    return std::nullopt;
}

void PipeWireAudioOutput::disconnect()
{
    Impl &impl = *m_impl;
    destroyStream();
    if (impl.loop)
        pw().threadLoopStop(impl.loop);
    if (impl.core) {
        spa_hook_remove(&impl.coreListener);
        pw().coreDisconnect(impl.core);
        impl.core = nullptr;
    }
    if (impl.context) {
        pw().contextDestroy(impl.context);
        impl.context = nullptr;
    }
    if (impl.loop) {
        const std::lock_guard lock(impl.loopMutex);
        pw().threadLoopDestroy(impl.loop);
        impl.loop = nullptr;
    }
}

int PipeWireAudioOutput::preferredSampleRate()
{
    if (connect())
        return 0;
    pw().threadLoopLock(m_impl->loop);
    const int rate = m_impl->graphRate > 0 ? m_impl->graphRate : fallbackSampleRate;
    pw().threadLoopUnlock(m_impl->loop);
    return rate;
}

Result<AudioOutput::Format> PipeWireAudioOutput::open(int requestedBufferFrames, AudioRenderer &renderer)
{
    close();
    if (const auto error = connect())
        return failure(pipeWireDomain, 1, *error);
    Impl &impl = *m_impl;
    const int latencyFrames = std::max(requestedBufferFrames, baseLatencyFrames);
    pw().threadLoopLock(impl.loop);
    impl.renderer = &renderer;
    impl.running.store(false, std::memory_order_relaxed);
    impl.underruns.store(0, std::memory_order_relaxed);
    // A parked stream is still linked and agreed on its format: it only needs to run again.
    if (impl.stream && impl.state != PW_STREAM_STATE_ERROR && impl.latencyFrames == latencyFrames) {
        pw().streamSetActive(impl.stream, true);
        impl.active = true;
        pw().threadLoopUnlock(impl.loop);
        return Format{impl.rate, impl.latencyFrames};
    }
    pw().threadLoopUnlock(impl.loop);
    destroyStream();
    pw().threadLoopLock(impl.loop);
    impl.rate = impl.graphRate > 0 ? impl.graphRate : fallbackSampleRate;
    impl.latencyFrames = latencyFrames;
    impl.position.store(nullptr, std::memory_order_relaxed);
    impl.counting = false;
    impl.state = PW_STREAM_STATE_UNCONNECTED;
    impl.streamError.clear();

    impl.stream = pw().streamNew(impl.core, "Plinkly", impl.properties());
    if (!impl.stream) {
        pw().threadLoopUnlock(impl.loop);
        return failure(pipeWireDomain, 2, QStringLiteral("PipeWire refused a new stream"));
    }
    pw().streamAddListener(impl.stream, &impl.streamListener, &streamEvents, &impl);

    std::uint8_t podBuffer[512];
    spa_pod_builder builder{};
    spa_pod_builder_init(&builder, podBuffer, sizeof podBuffer);
    spa_audio_info_raw info{};
    info.format = SPA_AUDIO_FORMAT_F32;
    info.rate = std::uint32_t(impl.rate);
    info.channels = 2;
    info.position[0] = SPA_AUDIO_CHANNEL_FL;
    info.position[1] = SPA_AUDIO_CHANNEL_FR;
    const spa_pod *format = spa_format_audio_raw_build(&builder, SPA_PARAM_EnumFormat, &info);
    const auto flags = pw_stream_flags(PW_STREAM_FLAG_AUTOCONNECT | PW_STREAM_FLAG_MAP_BUFFERS | PW_STREAM_FLAG_RT_PROCESS);
    int result = pw().streamConnect(impl.stream, PW_DIRECTION_OUTPUT, PW_ID_ANY, flags, &format, 1);
    // Streaming once the session manager has linked it and the graph runs it.
    const bool streaming = result == 0 && waitFor(impl, [&] {
        return impl.state == PW_STREAM_STATE_STREAMING || impl.state == PW_STREAM_STATE_ERROR;
    }) && impl.state == PW_STREAM_STATE_STREAMING;
    QString reason = impl.streamError;
    if (reason.isEmpty())
        reason = result != 0 ? QString::fromLocal8Bit(std::strerror(-result))
            : impl.lost.load() ? QStringLiteral("the PipeWire server went away")
                               : QStringLiteral("the stream was not linked to a sink in time");
    pw().threadLoopUnlock(impl.loop);
    if (!streaming) {
        destroyStream();
        return failure(pipeWireDomain, 3, reason);
    }
    impl.active = true;
    return Format{impl.rate, impl.latencyFrames};
}

void PipeWireAudioOutput::resume()
{
    m_impl->running.store(true, std::memory_order_release);
}

void PipeWireAudioOutput::close()
{
    Impl &impl = *m_impl;
    if (!impl.stream || !impl.active)
        return;
    if (impl.lost.load(std::memory_order_acquire)) {
        destroyStream();
        return;
    }
    // The stream stays linked but leaves the graph's cycle, so an idle stream wakes nothing
    // and the next sound does not wait for the session manager to link a new one.
    pw().threadLoopLock(impl.loop);
    impl.running.store(false, std::memory_order_release);
    impl.active = false;
    pw().streamSetActive(impl.stream, false);
    pw().threadLoopUnlock(impl.loop);
    // A cycle already under way finishes before this returns; the next one after
    // reactivating starts counting underruns afresh.
    pw_loop_invoke(pw().dataLoopGetLoop(pw().contextGetDataLoop(impl.context)),
                   [](spa_loop *, bool, uint32_t, const void *, size_t, void *data) {
                       static_cast<Impl *>(data)->counting = false;
                       return 0;
                   },
                   0, nullptr, 0, true, &impl);
}

void PipeWireAudioOutput::destroyStream()
{
    Impl &impl = *m_impl;
    if (!impl.stream)
        return;
    // Destroying the stream takes its node out of the realtime thread and waits for that.
    pw().threadLoopLock(impl.loop);
    spa_hook_remove(&impl.streamListener);
    pw().streamDestroy(impl.stream);
    impl.stream = nullptr;
    impl.active = false;
    pw().threadLoopUnlock(impl.loop);
    impl.running.store(false, std::memory_order_relaxed);
    impl.position.store(nullptr, std::memory_order_relaxed);
}

bool PipeWireAudioOutput::isLost() const
{
    return m_impl->stream && m_impl->lost.load(std::memory_order_acquire);
}

int PipeWireAudioOutput::underruns() const
{
    return m_impl->underruns.load(std::memory_order_relaxed);
}

void PipeWireAudioOutput::abandonOpens(bool abandoned)
{
    Impl &impl = *m_impl;
    const std::lock_guard lock(impl.loopMutex);
    impl.abandoned.store(abandoned, std::memory_order_release);
    if (abandoned && impl.loop) {
        pw().threadLoopLock(impl.loop);
        pw().threadLoopSignal(impl.loop, false);
        pw().threadLoopUnlock(impl.loop);
    }
}

bool PipeWireAudioOutput::setMargin(std::chrono::microseconds margin)
{
    Impl &impl = *m_impl;
    if (!impl.loop) {
        impl.margin = margin;
        return true;
    }
    pw().threadLoopLock(impl.loop);
    impl.margin = margin;
    if (impl.stream)
        impl.updateLatency();
    pw().threadLoopUnlock(impl.loop);
    return true;
}
