#include "Platform/Linux/PulseAudioOutput.h"

#include "Platform/Linux/RealtimeThread.h"

#include <pulse/pulseaudio.h>
#include <pulse/rtclock.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <optional>

#include <unistd.h>

namespace {
const QString pulseDomain = QStringLiteral("PulseAudio");
constexpr pa_usec_t answerTimeoutUs = 2'000'000;
constexpr std::size_t frameBytes = 2 * sizeof(float);
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

    AudioRenderer *renderer = nullptr;
    std::atomic<bool> running{false};
    std::atomic<bool> lost{false};
    std::atomic<int> underruns{0};

    std::uint32_t bytesFor(std::chrono::microseconds length) const
    {
        return std::uint32_t(pa_usec_to_bytes(pa_usec_t(length.count()), &sampleSpec));
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
        if (pa_operation *operation = pa_stream_set_buffer_attr(stream, &attributes, nullptr, nullptr))
            pa_operation_unref(operation);
        streamMargin = margin;
    }

    // The next two with the loop's lock held, or on its thread.
    void dropStream()
    {
        if (!stream)
            return;
        pa_stream_set_state_callback(stream, nullptr, nullptr);
        pa_stream_set_write_callback(stream, nullptr, nullptr);
        pa_stream_set_underflow_callback(stream, nullptr, nullptr);
        pa_stream_disconnect(stream);
        pa_stream_unref(stream);
        stream = nullptr;
        corked = false;
        parked = false;
        running.store(false, std::memory_order_relaxed);
    }

    // A corked stream still counts towards the latency the server runs its device at, so one
    // is kept only while no other program plays through the server.
    void dropIfOthersPlay(const pa_sink_input_info *info)
    {
        if (!parked || !info || info->corked || info->index == pa_stream_get_index(stream))
            return;
        const char *pid = pa_proplist_gets(info->proplist, PA_PROP_APPLICATION_PROCESS_ID);
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
            if (pa_stream_begin_write(stream, &buffer, &length) < 0 || !buffer)
                return;
            length -= length % frameBytes;
            if (length == 0) {
                pa_stream_cancel_write(stream);
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
                pa_stream_write(stream, buffer, length, nullptr, *ahead, PA_SEEK_RELATIVE_ON_READ);
            else
                pa_stream_write(stream, buffer, length, nullptr, 0, PA_SEEK_RELATIVE);
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
    const pa_context_state_t state = pa_context_get_state(context);
    if (state == PA_CONTEXT_FAILED || state == PA_CONTEXT_TERMINATED)
        impl.lost.store(true, std::memory_order_release);
    pa_threaded_mainloop_signal(impl.loop, 0);
}

void onServerInfo(pa_context *, const pa_server_info *info, void *data)
{
    auto &impl = *static_cast<Impl *>(data);
    if (info)
        impl.serverRate = int(info->sample_spec.rate);
    impl.answered = true;
    pa_threaded_mainloop_signal(impl.loop, 0);
}

void onStreamState(pa_stream *stream, void *data)
{
    auto &impl = *static_cast<Impl *>(data);
    const pa_stream_state_t state = pa_stream_get_state(stream);
    if (state == PA_STREAM_FAILED || state == PA_STREAM_TERMINATED)
        impl.lost.store(true, std::memory_order_release);
    pa_threaded_mainloop_signal(impl.loop, 0);
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
    if (pa_operation *operation = pa_context_get_sink_input_info(context, index, onSinkInput, &impl))
        pa_operation_unref(operation);
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
    for (pa_operation *operation : {pa_stream_cork(impl.stream, 1, nullptr, nullptr), pa_stream_flush(impl.stream, nullptr, nullptr),
                                    pa_context_get_sink_input_info_list(impl.context, onSinkInput, &impl)}) {
        if (operation)
            pa_operation_unref(operation);
    }
}

struct Timeout {
    pa_threaded_mainloop *loop = nullptr;
    bool passed = false;
};

void onTimeout(pa_mainloop_api *, pa_time_event *, const timeval *, void *data)
{
    auto &timeout = *static_cast<Timeout *>(data);
    timeout.passed = true;
    pa_threaded_mainloop_signal(timeout.loop, 0);
}

// Waits on the locked loop until `done` holds, the server is lost, or the time is up.
template <typename Predicate>
bool waitFor(Impl &impl, Predicate done)
{
    Timeout timeout{impl.loop};
    pa_time_event *timer = pa_context_rttime_new(impl.context, pa_rtclock_now() + answerTimeoutUs, onTimeout, &timeout);
    while (!done() && !timeout.passed && !impl.lost.load(std::memory_order_acquire))
        pa_threaded_mainloop_wait(impl.loop);
    if (timer)
        pa_threaded_mainloop_get_api(impl.loop)->time_free(timer);
    return done();
}
}

PulseAudioOutput::PulseAudioOutput() : m_impl(std::make_unique<Impl>()) {}

PulseAudioOutput::~PulseAudioOutput()
{
    disconnect();
    if (m_impl->loop) {
        pa_threaded_mainloop_stop(m_impl->loop);
        pa_threaded_mainloop_free(m_impl->loop);
    }
}

std::optional<QString> PulseAudioOutput::connect()
{
    Impl &impl = *m_impl;
    if (impl.context && impl.lost.load(std::memory_order_acquire))
        disconnect();
    if (impl.context)
        return std::nullopt;
    if (!impl.loop) {
        impl.loop = pa_threaded_mainloop_new();
        if (!impl.loop)
            return QStringLiteral("PulseAudio could not start its client");
        pa_threaded_mainloop_set_name(impl.loop, "plinkly-pulse");
        if (pa_threaded_mainloop_start(impl.loop) < 0) {
            pa_threaded_mainloop_free(impl.loop);
            impl.loop = nullptr;
            return QStringLiteral("PulseAudio could not start its client");
        }
        // The loop renders the sound: it runs ahead of ordinary work where the system allows
        // it, below the server's own priority.
        pa_threaded_mainloop_once_unlocked(impl.loop, [](pa_threaded_mainloop *, void *) { makeThisThreadRealtime(4); },
                                           nullptr);
    }
    impl.lost.store(false, std::memory_order_relaxed);
    pa_threaded_mainloop_lock(impl.loop);
    impl.context = pa_context_new(pa_threaded_mainloop_get_api(impl.loop), "Plinkly");
    pa_context_set_state_callback(impl.context, onContextState, &impl);
    // Plinkly never starts a sound server of its own.
    bool ready = pa_context_connect(impl.context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) >= 0
        && waitFor(impl, [&] { return pa_context_get_state(impl.context) == PA_CONTEXT_READY; });
    if (ready) {
        pa_context_set_subscribe_callback(impl.context, onSubscription, &impl);
        if (pa_operation *operation = pa_context_subscribe(impl.context, PA_SUBSCRIPTION_MASK_SINK_INPUT, nullptr, nullptr))
            pa_operation_unref(operation);
        impl.answered = false;
        if (pa_operation *operation = pa_context_get_server_info(impl.context, onServerInfo, &impl)) {
            ready = waitFor(impl, [&] { return impl.answered; });
            pa_operation_unref(operation);
        }
    }
    const QString reason = QString::fromUtf8(pa_strerror(pa_context_errno(impl.context)));
    pa_threaded_mainloop_unlock(impl.loop);
    if (!ready) {
        disconnect();
        return QStringLiteral("no PulseAudio server (%1)").arg(reason);
    }
    return std::nullopt;
}

void PulseAudioOutput::disconnect()
{
    Impl &impl = *m_impl;
    if (!impl.context)
        return;
    pa_threaded_mainloop_lock(impl.loop);
    impl.dropStream();
    pa_context_set_subscribe_callback(impl.context, nullptr, nullptr);
    pa_context_set_state_callback(impl.context, nullptr, nullptr);
    pa_context_disconnect(impl.context);
    pa_context_unref(impl.context);
    impl.context = nullptr;
    pa_threaded_mainloop_unlock(impl.loop);
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
    pa_threaded_mainloop_lock(impl.loop);
    impl.renderer = &renderer;
    impl.underruns.store(0, std::memory_order_relaxed);
    if (impl.parked && !impl.lost.load(std::memory_order_acquire)) {
        impl.parked = false;
        const pa_buffer_attr *granted = pa_stream_get_buffer_attr(impl.stream);
        const int frames = granted ? int(granted->tlength / frameBytes) : 0;
        pa_threaded_mainloop_unlock(impl.loop);
        return Format{int(impl.sampleSpec.rate), frames};
    }
    impl.dropStream();
    impl.sampleSpec = {PA_SAMPLE_FLOAT32NE, std::uint32_t(impl.serverRate), 2};
    impl.silentTail = 0;
    impl.streamMargin = impl.margin;
    impl.stream = pa_stream_new(impl.context, "Plinkly", &impl.sampleSpec, nullptr);
    if (!impl.stream) {
        const QString reason = QString::fromUtf8(pa_strerror(pa_context_errno(impl.context)));
        pa_threaded_mainloop_unlock(impl.loop);
        return failure(pulseDomain, 2, reason);
    }
    pa_stream_set_state_callback(impl.stream, onStreamState, &impl);
    pa_stream_set_write_callback(impl.stream, onWrite, &impl);
    pa_stream_set_underflow_callback(impl.stream, onUnderflow, &impl);
    const pa_buffer_attr attributes = impl.bufferAttributes();
    const bool ready = pa_stream_connect_playback(impl.stream, nullptr, &attributes, PA_STREAM_ADJUST_LATENCY, nullptr,
                                                  nullptr) >= 0
        && waitFor(impl, [&] { return pa_stream_get_state(impl.stream) == PA_STREAM_READY; });
    const QString reason = QString::fromUtf8(pa_strerror(pa_context_errno(impl.context)));
    int frames = 0;
    if (const pa_buffer_attr *granted = ready ? pa_stream_get_buffer_attr(impl.stream) : nullptr)
        frames = int(granted->tlength / frameBytes);
    pa_threaded_mainloop_unlock(impl.loop);
    if (!ready) {
        close();
        return failure(pulseDomain, 3, QStringLiteral("the server refused the stream (%1)").arg(reason));
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
    pa_threaded_mainloop_lock(impl.loop);
    impl.running.store(true, std::memory_order_release);
    const std::size_t writable = pa_stream_writable_size(impl.stream);
    if (writable != std::size_t(-1))
        impl.fill(writable);
    if (impl.corked) {
        impl.corked = false;
        if (pa_operation *operation = pa_stream_cork(impl.stream, 0, nullptr, nullptr))
            pa_operation_unref(operation);
        // A parked stream whose buffer shrank would wait for the server's outstanding request;
        // with the buffer full again it takes any new length safely.
        if (impl.streamMargin != impl.margin)
            impl.setBufferAttributes();
    }
    pa_threaded_mainloop_unlock(impl.loop);
}

void PulseAudioOutput::soundPosted()
{
    Impl &impl = *m_impl;
    if (!impl.stream)
        return;
    pa_threaded_mainloop_lock(impl.loop);
    const pa_buffer_attr *attributes = pa_stream_get_buffer_attr(impl.stream);
    const std::uint32_t lead = impl.bytesFor(leadLength) / frameBytes * frameBytes;
    // Everything still queued is silence: the sound replaces it from just ahead of the read
    // position, and the queue ends where it did.
    if (attributes && attributes->tlength > lead && impl.silentTail >= attributes->tlength)
        impl.fill(attributes->tlength - lead, lead);
    pa_threaded_mainloop_unlock(impl.loop);
}

void PulseAudioOutput::close()
{
    Impl &impl = *m_impl;
    if (!impl.loop)
        return;
    // A parked stream may be dropped on the loop's thread meanwhile.
    pa_threaded_mainloop_lock(impl.loop);
    if (impl.stream && (impl.lost.load(std::memory_order_acquire) || pa_stream_get_state(impl.stream) != PA_STREAM_READY))
        impl.dropStream();
    else if (impl.stream)
        park(impl);
    pa_threaded_mainloop_unlock(impl.loop);
}

bool PulseAudioOutput::isLost() const
{
    return m_impl->stream && m_impl->lost.load(std::memory_order_acquire);
}

int PulseAudioOutput::underruns() const
{
    return m_impl->underruns.load(std::memory_order_relaxed);
}

bool PulseAudioOutput::setMargin(std::chrono::microseconds margin)
{
    Impl &impl = *m_impl;
    if (!impl.loop) {
        impl.margin = margin;
        return true;
    }
    pa_threaded_mainloop_lock(impl.loop);
    impl.margin = margin;
    if (impl.stream && !impl.corked)
        impl.setBufferAttributes();
    pa_threaded_mainloop_unlock(impl.loop);
    return true;
}
