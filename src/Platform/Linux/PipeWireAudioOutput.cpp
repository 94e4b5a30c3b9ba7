#include "Platform/Linux/PipeWireAudioOutput.h"

#include "Platform/Linux/PipeWireLibrary.h"
#include "Platform/Linux/RealtimeThread.h"
#include "Platform/TimedOpen.h"

#include <spa/param/audio/format-utils.h>
#include <spa/node/io.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <mutex>

namespace {
const QString pipeWireServer = QStringLiteral("the PipeWire server");
constexpr int fallbackSampleRate = 48000;
constexpr std::uint32_t frameBytes = 2 * sizeof(float);
// What PipeWire gives its clients' data threads, below its own.
constexpr int clientPriority = 83;
// The control loop: above ordinary work, below every audio data thread.
constexpr int loopPriority = 4;
}

struct PipeWireAudioOutput::Impl {
    explicit Impl(const PipeWireLibrary *library) : pw(library) {}

    // Set once the library has loaded (or given by the caller).
    const PipeWireLibrary *pw = nullptr;
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

    // Abandoned from any thread; `loopMutex` keeps the loop alive while it is woken for it.
    TimedOpen timed;
    std::mutex loopMutex;

    // Read by the realtime thread.
    AudioRenderer *renderer = nullptr;
    std::atomic<bool> running{false};
    std::atomic<bool> lost{false};
    // The graph took the stream at another rate than it was made for.
    std::atomic<bool> rateChanged{false};
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
        pw_properties *result = pw->propertiesNew(PW_KEY_MEDIA_TYPE, "Audio", PW_KEY_MEDIA_CATEGORY, "Playback",
                                                 PW_KEY_APP_NAME, "Plinkly", PW_KEY_NODE_NAME, "plinkly", nullptr);
        pw->propertiesSetf(result, PW_KEY_NODE_LATENCY, "%d/%d", nodeLatencyFrames(latencyFrames, margin, rate), rate);
        return result;
    }

    void updateLatency()
    {
        pw_properties *changed = properties();
        pw->streamUpdateProperties(stream, &changed->dict);
        pw->propertiesFree(changed);
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
        impl.pw->threadLoopSignal(impl.loop, false);
    }
}

void onCoreError(void *data, uint32_t id, int seq, int res, const char *message)
{
    auto &impl = *static_cast<Impl *>(data);
    // A broken pipe on the core: the server went away.
    if (id == PW_ID_CORE && res == -EPIPE) {
        impl.lost.store(true, std::memory_order_release);
        impl.pw->threadLoopSignal(impl.loop, false);
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
    impl.pw->threadLoopSignal(impl.loop, false);
}

// The format the graph settled on, again whenever it changes (the graph's rate forced to
// another): a stream rendered at one rate and taken at another plays too fast or too slow, so
// it is given up, and the next one made at the graph's rate.
void onParamChanged(void *data, uint32_t id, const spa_pod *param)
{
    auto &impl = *static_cast<Impl *>(data);
    spa_audio_info_raw info{};
    if (id != SPA_PARAM_Format || !param || spa_format_audio_raw_parse(param, &info) < 0 || info.rate == 0
        || int(info.rate) == impl.rate)
        return;
    impl.graphRate = int(info.rate);
    impl.rateChanged.store(true, std::memory_order_release);
}

void onIoChanged(void *data, uint32_t id, void *area, uint32_t)
{
    if (id == SPA_IO_Position)
        static_cast<Impl *>(data)->position.store(static_cast<spa_io_position *>(area), std::memory_order_release);
}

// When a buffer filled in this cycle is heard: after the cycle, which the driver plays next,
// and the delay behind it. A driver stopped for a while runs the cycles it missed back to back,
// each stamped with the time it was due: the cycle starts no earlier than now.
std::chrono::nanoseconds heardAt(const spa_io_clock &clock, std::int64_t nowNs)
{
    const std::int64_t ticks = std::int64_t(clock.duration) + std::max<std::int64_t>(-clock.delay, 0);
    const std::int64_t ticksPerSecond
        = std::max<std::int64_t>(std::max<std::int64_t>(clock.rate.denom, 1) / std::max<std::int64_t>(clock.rate.num, 1), 1);
    return std::chrono::nanoseconds(std::max(std::int64_t(clock.nsec), nowNs) + ticks * 1'000'000'000 / ticksPerSecond);
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
    pw_buffer *buffer = impl.pw->streamDequeueBuffer(impl.stream);
    if (!buffer)
        return;
    spa_data &plane = buffer->buffer->datas[0];
    if (auto *out = static_cast<float *>(plane.data)) {
        std::uint32_t frames = plane.maxsize / frameBytes;
        if (buffer->requested > 0)
            frames = std::min<std::uint32_t>(frames, std::uint32_t(buffer->requested));
        if (impl.running.load(std::memory_order_acquire)) {
            if (const spa_io_position *position = impl.position.load(std::memory_order_acquire))
                impl.renderer->nextRenderHeardAt(heardAt(position->clock, impl.pw->monotonicNanoseconds()));
            impl.renderer->render(out, int(frames));
        }
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
    impl.pw->streamQueueBuffer(impl.stream, buffer);
}

const pw_stream_events streamEvents = [] {
    pw_stream_events events{};
    events.version = PW_VERSION_STREAM_EVENTS;
    events.state_changed = onStateChanged;
    events.param_changed = onParamChanged;
    events.io_changed = onIoChanged;
    events.process = onProcess;
    return events;
}();

// Now on the loop's clock.
TimedOpen::Nanoseconds now(const Impl &impl)
{
    timespec time{};
    impl.pw->threadLoopGetTime(impl.loop, &time, 0);
    return std::chrono::seconds(time.tv_sec) + std::chrono::nanoseconds(time.tv_nsec);
}

// Waits on the locked loop, under the timed open, until `done` holds.
template <typename Predicate>
std::optional<OpenFailure> waitFor(Impl &impl, TimedOpen::Nanoseconds deadline, Predicate done)
{
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(deadline);
    timespec until{time_t(seconds.count()), long((deadline - seconds).count())};
    return impl.timed.wait(
        deadline, done, [&] { return impl.lost.load(std::memory_order_acquire); },
        [&](TimedOpen::Nanoseconds) { return impl.pw->threadLoopTimedWaitFull(impl.loop, &until) == 0; });
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

PipeWireAudioOutput::PipeWireAudioOutput(const PipeWireLibrary *library) : m_impl(std::make_unique<Impl>(library)) {}

PipeWireAudioOutput::~PipeWireAudioOutput()
{
    disconnect();
}

OpenResult<TimedOpen::Nanoseconds> PipeWireAudioOutput::connect()
{
    Impl &impl = *m_impl;
    if (impl.timed.isAbandoned())
        return std::unexpected(TimedOpen::error(OpenFailure::abandoned, {}));
    if (impl.core && impl.lost.load(std::memory_order_acquire))
        disconnect();
    if (impl.core)
        return TimedOpen::deadlineFrom(now(impl));
    impl.lost.store(false, std::memory_order_relaxed);
    const auto unavailable = [](const QString &detail = {}) {
        return std::unexpected(TimedOpen::error(OpenFailure::unavailable, QStringLiteral("PipeWire's client"), detail));
    };
    if (!impl.pw) {
        if (!PipeWireLibrary::load())
            return unavailable(PipeWireLibrary::load().error());
        impl.pw = &*PipeWireLibrary::load();
    }
    if (!impl.loop) {
        {
            const std::lock_guard lock(impl.loopMutex);
            impl.loop = impl.pw->threadLoopNew("plinkly-pw", nullptr);
        }
        impl.context = impl.loop ? impl.pw->contextNew(impl.pw->threadLoopGetLoop(impl.loop), nullptr, 0) : nullptr;
        impl.realtimeTried = false;
        if (!impl.context || impl.pw->threadLoopStart(impl.loop) != 0) {
            disconnect();
            return unavailable();
        }
    }
    impl.pw->threadLoopLock(impl.loop);
    const TimedOpen::Nanoseconds deadline = TimedOpen::deadlineFrom(now(impl));
    impl.core = impl.pw->contextConnect(impl.context, nullptr, 0);
    if (!impl.core) {
        const int error = errno;
        impl.pw->threadLoopUnlock(impl.loop);
        // The client library says the host is down when no server's socket is there.
        if (error == ENOENT || error == EHOSTDOWN)
            return std::unexpected(TimedOpen::error(OpenFailure::noServer, pipeWireServer));
        if (error == ECONNREFUSED)
            return std::unexpected(TimedOpen::error(OpenFailure::refused, pipeWireServer));
        return std::unexpected(
            TimedOpen::error(OpenFailure::failed, pipeWireServer, QString::fromLocal8Bit(std::strerror(error))));
    }
    pw_core_add_listener(impl.core, &impl.coreListener, &coreEvents, &impl);
    // One round trip: the server answers, and its settings (the graph's rate) have arrived. A
    // server started again may not say its rate: the last one's is not kept.
    impl.graphRate = 0;
    impl.synced = false;
    impl.pendingSync = pw_core_sync(impl.core, PW_ID_CORE, 0);
    const auto failure = waitFor(impl, deadline, [&] { return impl.synced; });
    impl.pw->threadLoopUnlock(impl.loop);
    if (failure) {
        disconnect();
        return std::unexpected(TimedOpen::error(*failure, pipeWireServer));
    }
    return deadline;
}

void PipeWireAudioOutput::disconnect()
{
    Impl &impl = *m_impl;
    destroyStream();
    if (impl.loop)
        impl.pw->threadLoopStop(impl.loop);
    if (impl.core) {
        spa_hook_remove(&impl.coreListener);
        impl.pw->coreDisconnect(impl.core);
        impl.core = nullptr;
    }
    if (impl.context) {
        impl.pw->contextDestroy(impl.context);
        impl.context = nullptr;
    }
    if (impl.loop) {
        const std::lock_guard lock(impl.loopMutex);
        impl.pw->threadLoopDestroy(impl.loop);
        impl.loop = nullptr;
    }
}

OpenResult<int> PipeWireAudioOutput::preferredSampleRate()
{
    if (const auto connected = connect(); !connected)
        return std::unexpected(connected.error());
    m_impl->pw->threadLoopLock(m_impl->loop);
    const int rate = m_impl->graphRate > 0 ? m_impl->graphRate : fallbackSampleRate;
    m_impl->pw->threadLoopUnlock(m_impl->loop);
    return rate;
}

OpenResult<AudioOutput::Format> PipeWireAudioOutput::open(int requestedBufferFrames, AudioRenderer &renderer)
{
    close();
    const auto deadline = connect();
    if (!deadline)
        return std::unexpected(deadline.error());
    Impl &impl = *m_impl;
    const int latencyFrames = std::max(requestedBufferFrames, baseLatencyFrames);
    impl.pw->threadLoopLock(impl.loop);
    impl.renderer = &renderer;
    impl.running.store(false, std::memory_order_relaxed);
    impl.underruns.store(0, std::memory_order_relaxed);
    // A parked stream is still linked and agreed on its format: it only needs to run again.
    if (impl.stream && impl.state != PW_STREAM_STATE_ERROR && impl.latencyFrames == latencyFrames
        && !impl.rateChanged.load(std::memory_order_acquire)) {
        impl.pw->streamSetActive(impl.stream, true);
        impl.active = true;
        impl.pw->threadLoopUnlock(impl.loop);
        return Format{impl.rate, impl.latencyFrames};
    }
    impl.pw->threadLoopUnlock(impl.loop);
    destroyStream();
    impl.pw->threadLoopLock(impl.loop);
    impl.rate = impl.graphRate > 0 ? impl.graphRate : fallbackSampleRate;
    impl.rateChanged.store(false, std::memory_order_relaxed);
    impl.latencyFrames = latencyFrames;
    impl.position.store(nullptr, std::memory_order_relaxed);
    impl.counting = false;
    impl.state = PW_STREAM_STATE_UNCONNECTED;
    impl.streamError.clear();

    impl.stream = impl.pw->streamNew(impl.core, "Plinkly", impl.properties());
    if (!impl.stream) {
        impl.pw->threadLoopUnlock(impl.loop);
        return std::unexpected(TimedOpen::error(OpenFailure::failed, pipeWireServer, QStringLiteral("no new stream")));
    }
    impl.pw->streamAddListener(impl.stream, &impl.streamListener, &streamEvents, &impl);

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
    const int result = impl.pw->streamConnect(impl.stream, PW_DIRECTION_OUTPUT, PW_ID_ANY, flags, &format, 1);
    // Streaming once the session manager has linked it and the graph runs it. A stream that
    // failed marks the server lost too: it is told apart by its error.
    std::optional<OpenError> error;
    if (result != 0) {
        error = TimedOpen::error(OpenFailure::failed, pipeWireServer, QString::fromLocal8Bit(std::strerror(-result)));
    } else if (const auto failure = waitFor(impl, *deadline, [&] { return impl.state == PW_STREAM_STATE_STREAMING; })) {
        error = impl.state == PW_STREAM_STATE_ERROR ? TimedOpen::error(OpenFailure::failed, pipeWireServer, impl.streamError)
            : *failure == OpenFailure::silent
            ? TimedOpen::error(*failure, pipeWireServer, QStringLiteral("the stream was not linked to a sink"))
            : TimedOpen::error(*failure, pipeWireServer);
    }
    impl.pw->threadLoopUnlock(impl.loop);
    if (error) {
        destroyStream();
        return std::unexpected(*error);
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
    if (impl.lost.load(std::memory_order_acquire) || impl.rateChanged.load(std::memory_order_acquire)) {
        destroyStream();
        return;
    }
    // The stream stays linked but leaves the graph's cycle, so an idle stream wakes nothing
    // and the next sound does not wait for the session manager to link a new one.
    impl.pw->threadLoopLock(impl.loop);
    impl.running.store(false, std::memory_order_release);
    impl.active = false;
    impl.pw->streamSetActive(impl.stream, false);
    impl.pw->threadLoopUnlock(impl.loop);
    // A cycle already under way finishes before this returns; the next one after
    // reactivating starts counting underruns afresh.
    pw_loop_invoke(impl.pw->dataLoopGetLoop(impl.pw->contextGetDataLoop(impl.context)),
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
    impl.pw->threadLoopLock(impl.loop);
    spa_hook_remove(&impl.streamListener);
    impl.pw->streamDestroy(impl.stream);
    impl.stream = nullptr;
    impl.active = false;
    impl.pw->threadLoopUnlock(impl.loop);
    impl.running.store(false, std::memory_order_relaxed);
    impl.position.store(nullptr, std::memory_order_relaxed);
}

bool PipeWireAudioOutput::isLost() const
{
    return m_impl->stream
        && (m_impl->lost.load(std::memory_order_acquire) || m_impl->rateChanged.load(std::memory_order_acquire));
}

int PipeWireAudioOutput::underruns() const
{
    return m_impl->underruns.load(std::memory_order_relaxed);
}

void PipeWireAudioOutput::abandonOpens(bool abandoned)
{
    Impl &impl = *m_impl;
    const std::lock_guard lock(impl.loopMutex);
    impl.timed.abandon(abandoned);
    if (abandoned && impl.loop) {
        impl.pw->threadLoopLock(impl.loop);
        impl.pw->threadLoopSignal(impl.loop, false);
        impl.pw->threadLoopUnlock(impl.loop);
    }
}

bool PipeWireAudioOutput::setMargin(std::chrono::microseconds margin)
{
    Impl &impl = *m_impl;
    if (!impl.loop) {
        impl.margin = margin;
        return true;
    }
    impl.pw->threadLoopLock(impl.loop);
    impl.margin = margin;
    if (impl.stream)
        impl.updateLatency();
    impl.pw->threadLoopUnlock(impl.loop);
    return true;
}
