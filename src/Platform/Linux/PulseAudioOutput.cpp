#include "Platform/Linux/PulseAudioOutput.h"

#include "Platform/Linux/PulseLibrary.h"
#include "Platform/Linux/RealtimeThread.h"
#include "Platform/TimedOpen.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cstring>
#include <mutex>
#include <optional>

#include <sys/stat.h>

#include <unistd.h>

namespace {
const QString pulseServer = QStringLiteral("the PulseAudio server");
constexpr std::size_t frameBytes = 2 * sizeof(float);
constexpr const char *defaultSink = "@DEFAULT_SINK@";

// For a request whose outcome nobody waits on: the server carries it out all the same.
void letGo(const PulseLibrary &pa, pa_operation *operation)
{
    if (operation)
        pa.operationUnref(operation);
}
}

struct PulseAudioOutput::Impl {
    explicit Impl(const PulseLibrary *library) : pa(library) {}

    // Whether sounds posted since the last render start in the stretch rendered next.
    enum class Waiting { start, leave };

    // Set once the library has loaded (or given by the caller).
    const PulseLibrary *pa = nullptr;
    pa_threaded_mainloop *loop = nullptr;
    pa_context *context = nullptr;
    pa_stream *stream = nullptr;
    // Mixes the sounds posted into the queue on the loop's own thread, which runs ahead of
    // ordinary work: a poster preempted while it held the loop's lock through a whole render
    // would hold up the loop's answers to the server.
    pa_defer_event *mixEvent = nullptr;

    // Main-loop side: guarded by the loop's lock.
    int serverRate = 0;
    bool answered = false;
    pa_sample_spec sampleSpec{};
    std::chrono::microseconds margin{0};

    // The margin the stream's buffer was last set for.
    std::chrono::microseconds streamMargin{0};
    // The frame of the output's timeline the next write after the queue carries: the
    // timeline starts with the stream's first write after each open.
    std::int64_t writtenFrames = 0;
    // The timeline frame after the last one written that was not silence.
    std::int64_t soundUntil = 0;
    // When the stream last started playing, on the library's clock, and whether it ran dry
    // since: it starts again with the next write.
    pa_usec_t startedAtUs = 0;
    bool dry = false;
    // How far the sink's read position ran ahead of a straight line from the report before,
    // over the last reports: the sink takes its sound in periods, so a report can catch it just
    // before one. The lead of a sound written over the queue covers the largest of them.
    std::array<std::int64_t, 32> readAheadBytes{};
    std::size_t readAheadNext = 0;
    // The last report while playing, on the library's clock: compared with the next one.
    struct Report {
        pa_usec_t atUs = 0;
        std::int64_t readByte = 0;
    };
    std::optional<Report> lastReport;
    // Since when a request for the positions waits for its answer, on the library's clock, and
    // whether sounds were held for it.
    std::optional<pa_usec_t> unansweredSinceUs;
    bool heldForServer = false;
    // When the server last asked for more sound.
    pa_usec_t askedForDataAtUs = 0;

    // The stream is corked and empty; parked while it waits for the next open, in which time
    // it may be dropped.
    bool corked = false;
    bool parked = false;

    // Abandoned from any thread; `loopMutex` keeps the loop alive while it is woken for it.
    TimedOpen timed;
    std::mutex loopMutex;

    AudioRenderer *renderer = nullptr;
    std::atomic<bool> running{false};
    std::atomic<bool> lost{false};
    std::atomic<int> underruns{0};
    // The default sink's rate, and whether the open stream plays at another one.
    std::atomic<int> sinkRate{0};
    std::atomic<bool> rateChanged{false};
    std::atomic<int> postedOverSound{0};

    std::uint32_t bytesFor(std::chrono::microseconds length) const
    {
        return std::uint32_t(pa->usecToBytes(pa_usec_t(length.count()), &sampleSpec));
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
        letGo(*pa, pa->streamSetBufferAttr(stream, &attributes, nullptr, nullptr));
        streamMargin = margin;
    }

    // The next two with the loop's lock held, or on its thread.
    void dropStream()
    {
        if (!stream)
            return;
        pa->streamSetStateCallback(stream, nullptr, nullptr);
        pa->streamSetWriteCallback(stream, nullptr, nullptr);
        pa->streamSetUnderflowCallback(stream, nullptr, nullptr);
        pa->streamDisconnect(stream);
        pa->streamUnref(stream);
        stream = nullptr;
        corked = false;
        parked = false;
        unansweredSinceUs.reset();
        heldForServer = false;
        running.store(false, std::memory_order_relaxed);
    }

    // A corked stream still counts towards the latency the server runs its device at, so one
    // is kept only while no other program plays through the server.
    void dropIfOthersPlay(const pa_sink_input_info *info)
    {
        if (!parked || !info || info->corked || info->index == pa->streamGetIndex(stream))
            return;
        const char *pid = pa->proplistGets(info->proplist, PA_PROP_APPLICATION_PROCESS_ID);
        if (pid && std::strtol(pid, nullptr, 10) == long(getpid()))
            return;
        dropStream();
    }

    // On the main-loop thread, or with its lock held: no allocation, logging or Qt call of
    // ours (the server's memory pool hands out the buffers).

    // A buffer of the server's for the next piece of at most `bytes`, in whole frames.
    struct Piece {
        float *frames = nullptr;
        std::size_t bytes = 0;
        int frameCount = 0;
    };
    std::optional<Piece> beginPiece(std::size_t bytes)
    {
        void *buffer = nullptr;
        std::size_t length = bytes;
        if (pa->streamBeginWrite(stream, &buffer, &length) < 0 || !buffer)
            return std::nullopt;
        length = std::min(length, bytes);
        length -= length % frameBytes;
        if (length == 0) {
            pa->streamCancelWrite(stream);
            return std::nullopt;
        }
        return Piece{static_cast<float *>(buffer), length, int(length / frameBytes)};
    }

    std::chrono::nanoseconds framesLength(std::int64_t frames) const
    {
        return std::chrono::nanoseconds(frames * 1'000'000'000 / std::int64_t(sampleSpec.rate));
    }

    // Renders `bytes` of the timeline on from where it was written to and writes them after the
    // queue, heard at `heardAt` if known. Sounds posted meanwhile start there with
    // Waiting::start; one posted after the first piece is left for the mix its post asks for,
    // which starts it ahead of the sink, not where the piece begins.
    void appendToQueue(std::size_t bytes, Waiting waiting, std::optional<std::chrono::nanoseconds> heardAt)
    {
        const std::int64_t firstFrame = writtenFrames;
        while (bytes >= frameBytes) {
            const std::optional<Piece> piece = beginPiece(bytes);
            if (!piece)
                return;
            if (heardAt)
                renderer->nextRenderHeardAt(*heardAt + framesLength(writtenFrames - firstFrame));
            if (!renderer->renderFrom(writtenFrames, piece->frames, piece->frameCount, waiting == Waiting::start))
                renderer->render(piece->frames, piece->frameCount);
            waiting = Waiting::leave;
            noteSound(piece->frames, piece->frameCount, writtenFrames);
            pa->streamWrite(stream, piece->frames, piece->bytes, nullptr, 0, PA_SEEK_RELATIVE);
            writtenFrames += piece->frameCount;
            bytes -= piece->bytes;
        }
    }

    // Renders the queued timeline again from `fromFrame`, heard at `heardAt`, with the sounds
    // posted meanwhile starting there, and writes it over the queue from the stream's byte
    // `fromByte` on. False when the renderer cannot go back to `fromFrame`: nothing was written.
    bool overwriteQueue(std::int64_t fromByte, std::int64_t fromFrame, std::size_t bytes,
                        std::chrono::nanoseconds heardAt)
    {
        Waiting waiting = Waiting::start;
        for (std::int64_t frame = fromFrame; bytes >= frameBytes;) {
            const std::optional<Piece> piece = beginPiece(bytes);
            if (!piece)
                return true;
            renderer->nextRenderHeardAt(heardAt + framesLength(frame - fromFrame));
            if (!renderer->renderFrom(frame, piece->frames, piece->frameCount, waiting == Waiting::start)) {
                pa->streamCancelWrite(stream);
                return false;
            }
            waiting = Waiting::leave;
            noteSound(piece->frames, piece->frameCount, frame);
            pa->streamWrite(stream, piece->frames, piece->bytes, nullptr, fromByte, PA_SEEK_ABSOLUTE);
            fromByte += std::int64_t(piece->bytes);
            frame += piece->frameCount;
            bytes -= piece->bytes;
        }
        return true;
    }

    void noteSound(const float *frames, int count, std::int64_t frame)
    {
        for (int i = count * 2; i > 0; --i) {
            if (frames[i - 1] != 0.0f) {
                soundUntil = std::max(soundUntil, frame + (i + 1) / 2);
                return;
            }
        }
    }

    // Writes what the server asks for after the queue. Sounds posted meanwhile start there
    // only where nothing is queued before it (the stream starting, or starting again after it
    // ran dry); otherwise they wait for a mix over the queue, which starts them ahead of the
    // sink rather than a whole queue late.
    void fill(std::size_t bytes, Waiting waiting)
    {
        if (!running.load(std::memory_order_acquire))
            return;
        if (dry) {
            appendToQueue(bytes, Waiting::start, heardAfterStart());
            dry = false;
            startedAtUs = pa->rtclockNow();
            askForPositions();
            return;
        }
        appendToQueue(bytes, waiting,
                      waiting == Waiting::start ? std::optional(heardAfterStart()) : std::nullopt);
    }

    // When the first frame written to a stream that is not playing yet is heard: as soon as it
    // starts, behind the sink's own latency as last reported.
    std::chrono::nanoseconds heardAfterStart() const
    {
        const pa_timing_info *timing = pa->streamGetTimingInfo(stream);
        return std::chrono::microseconds(pa->rtclockNow() + (timing ? timing->sink_usec : 0));
    }

    // The client's view of the read and write positions is refreshed only when asked: at each
    // start of the stream and after each sound written over the queue, so a sound placed over
    // it goes by a report at most one key old, while an idle stream costs no wakeup. (The
    // library's own periodic updates would wake a parked stream too.)
    void askForPositions()
    {
        if (!unansweredSinceUs)
            unansweredSinceUs = pa->rtclockNow();
        letGo(*pa, pa->streamUpdateTimingInfo(stream, onPositions, this));
    }

    // A request for the positions left unanswered this long, with no report and no request
    // for more sound since, means the server stopped reading (stopped, or starved of time):
    // until it answers nobody can tell when a sound written now is heard.
    bool serverStalled() const
    {
        if (!unansweredSinceUs || askedForDataAtUs >= *unansweredSinceUs)
            return false;
        const pa_usec_t nowUs = pa->rtclockNow();
        const pa_timing_info *timing = pa->streamGetTimingInfo(stream);
        const bool reportedSince = timing && nowUs - pa->timevalAge(&timing->timestamp) >= *unansweredSinceUs;
        return !reportedSince && nowUs - *unansweredSinceUs > pa_usec_t(stallLength.count());
    }

    static void onPositions(pa_stream *, int, void *data)
    {
        auto &impl = *static_cast<Impl *>(data);
        impl.unansweredSinceUs.reset();
        // What was written while it stalled may start too late now: rendered again from the
        // fresh report, with the sounds held meanwhile.
        if (std::exchange(impl.heldForServer, false) && impl.running.load(std::memory_order_acquire))
            impl.mixQueue();
    }

    // A report taken at `atUs` while playing: how far the sink had read past where the one
    // before said it would be by then. Across a stop it has read less, which counts as none.
    void noteReport(pa_usec_t atUs, std::int64_t readByte)
    {
        if (lastReport && atUs > lastReport->atUs) {
            const std::int64_t expectedByte
                = lastReport->readByte + std::int64_t(pa->usecToBytes(atUs - lastReport->atUs, &sampleSpec));
            readAheadBytes[readAheadNext] = std::max<std::int64_t>(readByte - expectedByte, 0);
            readAheadNext = (readAheadNext + 1) % readAheadBytes.size();
        }
        if (!lastReport || atUs > lastReport->atUs)
            lastReport = Report{atUs, readByte};
    }

    // The sounds posted since the last mix, if any, mixed into the queue; held while the server
    // does not answer.
    void mixWaiting()
    {
        if (!running.load(std::memory_order_acquire) || !renderer || !renderer->soundsWaiting())
            return;
        if (serverStalled()) {
            heldForServer = true;
            return;
        }
        mixQueue();
    }

    // Where the sounds cannot go over the queue (no usable report, or less queued than the
    // lead), they start right after it.
    void mixQueue()
    {
        if (!mixIntoQueue() && renderer->soundsWaiting())
            appendToQueue(bytesFor(requestLength), Waiting::start, heardAfterQueue());
    }

    // When the frame after the queue is heard, by the last report; unknown without one.
    std::optional<std::chrono::nanoseconds> heardAfterQueue() const
    {
        const pa_timing_info *timing = pa->streamGetTimingInfo(stream);
        if (!timing || timing->read_index_corrupt || timing->write_index_corrupt)
            return std::nullopt;
        const pa_usec_t nowUs = pa->rtclockNow();
        const std::int64_t aheadBytes = std::max<std::int64_t>(timing->write_index - readByteAt(*timing, nowUs), 0);
        return std::chrono::microseconds(nowUs + timing->sink_usec) + framesLength(aheadBytes / std::int64_t(frameBytes));
    }

    // Where the server reads at `nowUs`. The read index is as of the last timing update; the
    // server has read on since, at the stream's rate, while it plays. An update that says it
    // is not playing came before the sink took up the filled stream (while parked, before its
    // first buffer, while it ran dry, or in the sink's period after the start): it has played
    // since the later of that update and the start. Taking it as not playing at all would put
    // the sound where the sink has long read, so it would never be heard.
    std::int64_t readByteAt(const pa_timing_info &timing, pa_usec_t nowUs) const
    {
        const pa_usec_t ageUs = pa->timevalAge(&timing.timestamp);
        const pa_usec_t sinceStartUs = nowUs - startedAtUs;
        const pa_usec_t playedUs = timing.playing ? ageUs : std::min(ageUs, sinceStartUs);
        const std::int64_t readByte = timing.read_index + std::int64_t(pa->usecToBytes(playedUs, &sampleSpec));
        return readByte - readByte % std::int64_t(frameBytes);
    }

    // Renders again everything queued from just ahead of where the server reads, with the
    // sounds posted since mixed in from there, and writes it over the queue. The queue ends
    // where it did. Each byte goes back to the index it has in the stream (an absolute seek),
    // so an estimate of the read position that is off moves only where the new sound starts,
    // never the rest of the queue; a seek relative to the read position would shift the whole
    // stretch by the error, repeating or skipping that much, and leave the client's write
    // index unknown until the next timing update. False, with nothing written, where it cannot.
    bool mixIntoQueue()
    {
        const pa_timing_info *timing = pa->streamGetTimingInfo(stream);
        if (!timing || timing->read_index_corrupt || timing->write_index_corrupt)
            return false;
        const pa_usec_t nowUs = pa->rtclockNow();
        if (timing->playing)
            noteReport(nowUs - pa->timevalAge(&timing->timestamp), timing->read_index);
        const std::int64_t readByte = readByteAt(*timing, nowUs);
        const std::int64_t leadBytes = std::min(
            std::int64_t(bytesFor(leadLength)) + *std::ranges::max_element(readAheadBytes),
            std::int64_t(bytesFor(longestLead)));
        const std::int64_t fromByte = readByte + leadBytes / std::int64_t(frameBytes) * std::int64_t(frameBytes);
        if (fromByte >= timing->write_index)
            return false;
        const std::int64_t queuedBytes = timing->write_index - fromByte;
        const std::int64_t fromFrame = writtenFrames - queuedBytes / std::int64_t(frameBytes);
        const bool overSound = fromFrame < soundUntil;
        const std::chrono::nanoseconds heardAt = std::chrono::microseconds(nowUs + timing->sink_usec)
            + framesLength((fromByte - readByte) / std::int64_t(frameBytes));
        if (fromFrame < 0 || !overwriteQueue(fromByte, fromFrame, std::size_t(queuedBytes), heardAt))
            return false;
        if (overSound)
            postedOverSound.fetch_add(1, std::memory_order_relaxed);
        askForPositions();
        return true;
    }
};

namespace {
using Impl = PulseAudioOutput::Impl;

void onContextState(pa_context *context, void *data)
{
    auto &impl = *static_cast<Impl *>(data);
    const pa_context_state_t state = impl.pa->contextGetState(context);
    if (state == PA_CONTEXT_FAILED || state == PA_CONTEXT_TERMINATED)
        impl.lost.store(true, std::memory_order_release);
    impl.pa->threadedMainloopSignal(impl.loop, 0);
}

void onServerInfo(pa_context *, const pa_server_info *info, void *data)
{
    auto &impl = *static_cast<Impl *>(data);
    if (info)
        impl.serverRate = int(info->sample_spec.rate);
    impl.answered = true;
    impl.pa->threadedMainloopSignal(impl.loop, 0);
}

// The default sink's rate, at connection and whenever the default sink or its rate changes:
// a stream at another rate has the server resample every sound, so it is given up for one at
// the new rate.
void onSinkInfo(pa_context *, const pa_sink_info *info, int, void *data)
{
    auto &impl = *static_cast<Impl *>(data);
    if (info) {
        const int rate = int(info->sample_spec.rate);
        impl.sinkRate.store(rate, std::memory_order_release);
        if (impl.stream && rate != int(impl.sampleSpec.rate))
            impl.rateChanged.store(true, std::memory_order_release);
    }
    impl.answered = true;
    impl.pa->threadedMainloopSignal(impl.loop, 0);
}

void onStreamState(pa_stream *stream, void *data)
{
    auto &impl = *static_cast<Impl *>(data);
    const pa_stream_state_t state = impl.pa->streamGetState(stream);
    if (state == PA_STREAM_FAILED || state == PA_STREAM_TERMINATED)
        impl.lost.store(true, std::memory_order_release);
    impl.pa->threadedMainloopSignal(impl.loop, 0);
}

void onWrite(pa_stream *, std::size_t bytes, void *data)
{
    auto &impl = *static_cast<Impl *>(data);
    impl.askedForDataAtUs = impl.pa->rtclockNow();
    // A sound posted just before the server asked for more, or while it is answered, is mixed
    // in where the sink reads, not started after the queue.
    impl.fill(bytes, Impl::Waiting::leave);
    impl.mixWaiting();
}

// The stream stops until it is filled again, and starts again from there.
void onUnderflow(pa_stream *, void *data)
{
    auto &impl = *static_cast<Impl *>(data);
    impl.underruns.fetch_add(1, std::memory_order_relaxed);
    impl.dry = true;
}

void onMixPosted(pa_mainloop_api *api, pa_defer_event *event, void *data)
{
    api->defer_enable(event, 0);
    // Already started where a request for more came first.
    static_cast<Impl *>(data)->mixWaiting();
}

void onSinkInput(pa_context *, const pa_sink_input_info *info, int, void *data)
{
    static_cast<Impl *>(data)->dropIfOthersPlay(info);
}

void onSubscription(pa_context *context, pa_subscription_event_type_t event, std::uint32_t index, void *data)
{
    auto &impl = *static_cast<Impl *>(data);
    const auto facility = event & PA_SUBSCRIPTION_EVENT_FACILITY_MASK;
    if (facility == PA_SUBSCRIPTION_EVENT_SERVER || facility == PA_SUBSCRIPTION_EVENT_SINK) {
        letGo(*impl.pa, impl.pa->contextGetSinkInfoByName(context, defaultSink, onSinkInfo, &impl));
        return;
    }
    if (!impl.parked || (event & PA_SUBSCRIPTION_EVENT_TYPE_MASK) == PA_SUBSCRIPTION_EVENT_REMOVE)
        return;
    letGo(*impl.pa, impl.pa->contextGetSinkInputInfo(context, index, onSinkInput, &impl));
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
    letGo(*impl.pa, impl.pa->streamCork(impl.stream, 1, nullptr, nullptr));
    letGo(*impl.pa, impl.pa->streamFlush(impl.stream, nullptr, nullptr));
    letGo(*impl.pa, impl.pa->contextGetSinkInputInfoList(impl.context, onSinkInput, &impl));
}

struct Timeout {
    const PulseLibrary *pa = nullptr;
    pa_threaded_mainloop *loop = nullptr;
    bool passed = false;
};

void onTimeout(pa_mainloop_api *, pa_time_event *, const timeval *, void *data)
{
    auto &timeout = *static_cast<Timeout *>(data);
    timeout.passed = true;
    timeout.pa->threadedMainloopSignal(timeout.loop, 0);
}

TimedOpen::Nanoseconds now(const PulseLibrary &pa)
{
    return std::chrono::microseconds(pa.rtclockNow());
}

// Waits on the locked loop, under the timed open, until `done` holds.
template <typename Predicate>
std::optional<OpenFailure> waitFor(Impl &impl, TimedOpen::Nanoseconds deadline, Predicate done)
{
    const PulseLibrary &pa = *impl.pa;
    Timeout timeout{&pa, impl.loop};
    pa_time_event *timer = pa.contextRttimeNew(
        impl.context, pa_usec_t(std::chrono::duration_cast<std::chrono::microseconds>(deadline).count()), onTimeout,
        &timeout);
    const auto failure = impl.timed.wait(
        deadline, done, [&] { return impl.lost.load(std::memory_order_acquire); },
        [&](TimedOpen::Nanoseconds) {
            pa.threadedMainloopWait(impl.loop);
            return !timeout.passed;
        });
    if (timer)
        pa.threadedMainloopGetApi(impl.loop)->time_free(timer);
    return failure;
}

// Asks the server and waits for the answer.
template <typename Ask>
std::optional<OpenFailure> askAndWait(Impl &impl, TimedOpen::Nanoseconds deadline, Ask ask)
{
    impl.answered = false;
    pa_operation *operation = ask();
    if (!operation)
        return OpenFailure::failed;
    const auto failure = waitFor(impl, deadline, [&] { return impl.answered; });
    impl.pa->operationUnref(operation);
    return failure;
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

// Why a wait on the server failed; with the loop locked. A connection that failed says why
// in the library's words.
OpenError errorOf(const Impl &impl, OpenFailure failure)
{
    if (failure != OpenFailure::gone && failure != OpenFailure::failed)
        return TimedOpen::error(failure, pulseServer);
    const int error = impl.pa->contextErrno(impl.context);
    if (error == PA_ERR_CONNECTIONREFUSED)
        return TimedOpen::error(defaultSocketExists() ? OpenFailure::refused : OpenFailure::noServer, pulseServer);
    if (error == PA_ERR_CONNECTIONTERMINATED || error == PA_OK)
        return TimedOpen::error(OpenFailure::gone, pulseServer);
    return TimedOpen::error(OpenFailure::failed, pulseServer, QString::fromUtf8(impl.pa->strerror(error)));
}
}

PulseAudioOutput::PulseAudioOutput(const PulseLibrary *library) : m_impl(std::make_unique<Impl>(library)) {}

PulseAudioOutput::~PulseAudioOutput()
{
    disconnect();
    const std::lock_guard lock(m_impl->loopMutex);
    if (m_impl->loop) {
        m_impl->pa->threadedMainloopStop(m_impl->loop);
        m_impl->pa->threadedMainloopFree(m_impl->loop);
    }
}

std::optional<OpenError> PulseAudioOutput::connect(TimedOpen::Nanoseconds deadline)
{
    Impl &impl = *m_impl;
    if (impl.context && impl.lost.load(std::memory_order_acquire))
        disconnect();
    if (impl.context)
        return std::nullopt;
    const PulseLibrary &pa = *impl.pa;
    if (!impl.loop) {
        const std::lock_guard lock(impl.loopMutex);
        impl.loop = pa.threadedMainloopNew();
        if (!impl.loop)
            return TimedOpen::error(OpenFailure::unavailable, QStringLiteral("PulseAudio's client"));
        pa.threadedMainloopSetName(impl.loop, "plinkly-pulse");
        if (pa.threadedMainloopStart(impl.loop) < 0) {
            pa.threadedMainloopFree(impl.loop);
            impl.loop = nullptr;
            return TimedOpen::error(OpenFailure::unavailable, QStringLiteral("PulseAudio's client"));
        }
        // The loop renders the sound: it runs ahead of ordinary work where the system allows
        // it, below the server's own priority.
        pa.threadedMainloopOnceUnlocked(impl.loop, [](pa_threaded_mainloop *, void *) { makeThisThreadRealtime(4); },
                                        nullptr);
    }
    impl.lost.store(false, std::memory_order_relaxed);
    pa.threadedMainloopLock(impl.loop);
    impl.context = pa.contextNew(pa.threadedMainloopGetApi(impl.loop), "Plinkly");
    pa.contextSetStateCallback(impl.context, onContextState, &impl);
    // Plinkly never starts a sound server of its own.
    std::optional<OpenFailure> failure = pa.contextConnect(impl.context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0
        ? OpenFailure::failed
        : waitFor(impl, deadline, [&] { return pa.contextGetState(impl.context) == PA_CONTEXT_READY; });
    if (!failure) {
        impl.mixEvent = pa.threadedMainloopGetApi(impl.loop)->defer_new(pa.threadedMainloopGetApi(impl.loop),
                                                                        onMixPosted, &impl);
        pa.threadedMainloopGetApi(impl.loop)->defer_enable(impl.mixEvent, 0);
        pa.contextSetSubscribeCallback(impl.context, onSubscription, &impl);
        letGo(pa, pa.contextSubscribe(
                      impl.context,
                      pa_subscription_mask_t(PA_SUBSCRIPTION_MASK_SINK_INPUT | PA_SUBSCRIPTION_MASK_SINK
                                             | PA_SUBSCRIPTION_MASK_SERVER),
                      nullptr, nullptr));
        impl.sinkRate.store(0, std::memory_order_relaxed);
        failure = askAndWait(impl, deadline, [&] { return pa.contextGetServerInfo(impl.context, onServerInfo, &impl); });
        if (!failure)
            failure = askAndWait(impl, deadline, [&] {
                return pa.contextGetSinkInfoByName(impl.context, defaultSink, onSinkInfo, &impl);
            });
    }
    const std::optional<OpenError> error = failure ? std::optional(errorOf(impl, *failure)) : std::nullopt;
    pa.threadedMainloopUnlock(impl.loop);
    if (error)
        disconnect();
    return error;
}

void PulseAudioOutput::disconnect()
{
    Impl &impl = *m_impl;
    if (!impl.context)
        return;
    const PulseLibrary &pa = *impl.pa;
    pa.threadedMainloopLock(impl.loop);
    impl.dropStream();
    if (impl.mixEvent) {
        pa.threadedMainloopGetApi(impl.loop)->defer_free(impl.mixEvent);
        impl.mixEvent = nullptr;
    }
    pa.contextSetSubscribeCallback(impl.context, nullptr, nullptr);
    pa.contextSetStateCallback(impl.context, nullptr, nullptr);
    pa.contextDisconnect(impl.context);
    pa.contextUnref(impl.context);
    impl.context = nullptr;
    pa.threadedMainloopUnlock(impl.loop);
}

int PulseAudioOutput::rate() const
{
    const int sink = m_impl->sinkRate.load(std::memory_order_acquire);
    return sink > 0 ? sink : m_impl->serverRate;
}

OpenResult<TimedOpen::Nanoseconds> PulseAudioOutput::beginAttempt()
{
    Impl &impl = *m_impl;
    if (impl.timed.isAbandoned())
        return std::unexpected(TimedOpen::error(OpenFailure::abandoned, {}));
    if (!impl.pa) {
        if (!PulseLibrary::load())
            return std::unexpected(TimedOpen::error(OpenFailure::unavailable, QStringLiteral("PulseAudio's client"),
                                                    PulseLibrary::load().error()));
        impl.pa = &*PulseLibrary::load();
    }
    return TimedOpen::deadlineFrom(now(*impl.pa));
}

OpenResult<int> PulseAudioOutput::preferredSampleRate()
{
    const auto deadline = beginAttempt();
    if (!deadline)
        return std::unexpected(deadline.error());
    if (const auto error = connect(*deadline))
        return std::unexpected(*error);
    return rate();
}

OpenResult<AudioOutput::Format> PulseAudioOutput::open(int, AudioRenderer &renderer)
{
    close();
    const auto deadline = beginAttempt();
    if (!deadline)
        return std::unexpected(deadline.error());
    const TimedOpen::Nanoseconds until = *deadline;
    if (const auto error = connect(until))
        return std::unexpected(*error);
    Impl &impl = *m_impl;
    const PulseLibrary &pa = *impl.pa;
    pa.threadedMainloopLock(impl.loop);
    impl.renderer = &renderer;
    impl.writtenFrames = 0;
    impl.soundUntil = 0;
    impl.underruns.store(0, std::memory_order_relaxed);
    if (impl.parked && !impl.lost.load(std::memory_order_acquire)) {
        impl.parked = false;
        const pa_buffer_attr *granted = pa.streamGetBufferAttr(impl.stream);
        const int frames = granted ? int(granted->tlength / frameBytes) : 0;
        pa.threadedMainloopUnlock(impl.loop);
        return Format{int(impl.sampleSpec.rate), frames};
    }
    impl.dropStream();
    impl.rateChanged.store(false, std::memory_order_relaxed);
    impl.sampleSpec = {PA_SAMPLE_FLOAT32NE, std::uint32_t(rate()), 2};
    impl.streamMargin = impl.margin;
    impl.stream = pa.streamNew(impl.context, "Plinkly", &impl.sampleSpec, nullptr);
    if (!impl.stream) {
        const OpenError error = errorOf(impl, OpenFailure::failed);
        pa.threadedMainloopUnlock(impl.loop);
        return std::unexpected(error);
    }
    pa.streamSetStateCallback(impl.stream, onStreamState, &impl);
    pa.streamSetWriteCallback(impl.stream, onWrite, &impl);
    pa.streamSetUnderflowCallback(impl.stream, onUnderflow, &impl);
    const pa_buffer_attr attributes = impl.bufferAttributes();
    // Early requests: the server runs its device at about one request's latency whatever the
    // queue's length, so the queue can be deep against stalls while a sound written over it
    // is heard at once.
    const std::optional<OpenFailure> failure =
        pa.streamConnectPlayback(impl.stream, nullptr, &attributes, PA_STREAM_EARLY_REQUESTS, nullptr, nullptr) < 0
        ? OpenFailure::failed
        : waitFor(impl, until, [&] { return pa.streamGetState(impl.stream) == PA_STREAM_READY; });
    const std::optional<OpenError> error = failure ? std::optional(errorOf(impl, *failure)) : std::nullopt;
    int frames = 0;
    if (const pa_buffer_attr *granted = failure ? nullptr : pa.streamGetBufferAttr(impl.stream))
        frames = int(granted->tlength / frameBytes);
    pa.threadedMainloopUnlock(impl.loop);
    if (error) {
        close();
        return std::unexpected(*error);
    }
    return Format{int(impl.sampleSpec.rate), frames};
}

void PulseAudioOutput::resume()
{
    Impl &impl = *m_impl;
    if (!impl.stream)
        return;
    const PulseLibrary &pa = *impl.pa;
    // The server asked for its first buffer while the stream was paused or parked: that buffer
    // now carries the sound that opened the stream, from its first frame. A parked stream is
    // uncorked only once it is written, so the full buffer starts it without waiting for more.
    pa.threadedMainloopLock(impl.loop);
    impl.running.store(true, std::memory_order_release);
    impl.startedAtUs = pa.rtclockNow();
    impl.dry = false;
    const std::size_t writable = pa.streamWritableSize(impl.stream);
    if (writable != std::size_t(-1))
        impl.fill(writable, Impl::Waiting::start);
    if (impl.corked) {
        impl.corked = false;
        letGo(pa, pa.streamCork(impl.stream, 0, nullptr, nullptr));
        // A parked stream whose buffer shrank would wait for the server's outstanding request;
        // with the buffer full again it takes any new length safely.
        if (impl.streamMargin != impl.margin)
            impl.setBufferAttributes();
    }
    impl.askForPositions();
    pa.threadedMainloopUnlock(impl.loop);
}

void PulseAudioOutput::soundPosted()
{
    Impl &impl = *m_impl;
    if (!impl.stream)
        return;
    impl.pa->threadedMainloopLock(impl.loop);
    if (impl.mixEvent)
        impl.pa->threadedMainloopGetApi(impl.loop)->defer_enable(impl.mixEvent, 1);
    impl.pa->threadedMainloopUnlock(impl.loop);
}

void PulseAudioOutput::close()
{
    Impl &impl = *m_impl;
    if (!impl.loop)
        return;
    // A parked stream may be dropped on the loop's thread meanwhile. One at a rate the sink no
    // longer runs at is not kept. The loop's thread is done with the renderer either way.
    impl.pa->threadedMainloopLock(impl.loop);
    impl.running.store(false, std::memory_order_relaxed);
    impl.renderer = nullptr;
    if (impl.stream
        && (impl.lost.load(std::memory_order_acquire) || impl.rateChanged.load(std::memory_order_acquire)
            || impl.pa->streamGetState(impl.stream) != PA_STREAM_READY))
        impl.dropStream();
    else if (impl.stream)
        park(impl);
    impl.pa->threadedMainloopUnlock(impl.loop);
}

bool PulseAudioOutput::isLost() const
{
    return m_impl->stream
        && (m_impl->lost.load(std::memory_order_acquire) || m_impl->rateChanged.load(std::memory_order_acquire));
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
    impl.timed.abandon(abandoned);
    if (abandoned && impl.loop) {
        impl.pa->threadedMainloopLock(impl.loop);
        impl.pa->threadedMainloopSignal(impl.loop, 0);
        impl.pa->threadedMainloopUnlock(impl.loop);
    }
}

bool PulseAudioOutput::setMargin(std::chrono::microseconds margin)
{
    Impl &impl = *m_impl;
    if (!impl.loop) {
        impl.margin = margin;
        return true;
    }
    impl.pa->threadedMainloopLock(impl.loop);
    impl.margin = margin;
    if (impl.stream && !impl.corked)
        impl.setBufferAttributes();
    impl.pa->threadedMainloopUnlock(impl.loop);
    return true;
}
