#include "fakes/FakePulseServer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <utility>

namespace {
constexpr std::int64_t frameBytes = 2 * sizeof(float);
// The library hands out buffers from its memory pool, in blocks of a limited size.
constexpr std::size_t largestWrite = 4096;

// The library's functions are plain C functions: they find the one server of the test here.
FakePulseServer *current = nullptr;

// Distinct addresses standing for the library's objects.
char loopObject, contextObject, streamObject, operationObject, timerObject, deferObject;

template <typename T>
T *handle(char &object)
{
    return reinterpret_cast<T *>(&object);
}
}

namespace {
// How deep this thread holds the loop's lock: the library's rules ask for it around every call
// on the loop's objects and around a signal.
thread_local int loopLockDepth = 0;

void lockLoop(std::recursive_mutex &mutex)
{
    mutex.lock();
    ++loopLockDepth;
}

void unlockLoop(std::recursive_mutex &mutex)
{
    --loopLockDepth;
    mutex.unlock();
}

class LoopLock {
public:
    explicit LoopLock(std::recursive_mutex &mutex) : m_mutex(mutex) { lockLoop(m_mutex); }
    ~LoopLock() { unlockLoop(m_mutex); }
    LoopLock(const LoopLock &) = delete;
    LoopLock &operator=(const LoopLock &) = delete;

private:
    std::recursive_mutex &m_mutex;
};
}

struct FakePulseCalls {
    static FakePulseServer &server() { return *current; }

    static pa_operation *operation() { return handle<pa_operation>(operationObject); }

    static void setContextState(pa_context_state_t state)
    {
        server().m_contextState = state;
        if (server().m_contextStateCallback)
            server().m_contextStateCallback(handle<pa_context>(contextObject), server().m_contextStateData);
    }

    static void setStreamState(pa_stream_state_t state)
    {
        server().m_streamState = state;
        if (server().m_streamStateCallback)
            server().m_streamStateCallback(handle<pa_stream>(streamObject), server().m_streamStateData);
    }

    static void timeFree(pa_time_event *)
    {
        server().m_timerCallback = nullptr;
        server().m_timerData = nullptr;
    }

    // One deferred event at a time; enabled, it runs when the loop next runs: as the clock
    // moves on, before any time passes.
    static pa_defer_event *deferNew(pa_mainloop_api *, pa_defer_event_cb_t callback, void *data)
    {
        server().m_deferCallback = callback;
        server().m_deferData = data;
        ++server().deferEvents;
        return handle<pa_defer_event>(deferObject);
    }
    static void deferEnable(pa_defer_event *, int enable) { server().m_deferEnabled = enable != 0; }
    static void deferFree(pa_defer_event *)
    {
        server().m_deferCallback = nullptr;
        server().m_deferEnabled = false;
        --server().deferEvents;
    }
    static void runDeferred()
    {
        FakePulseServer &s = server();
        if (s.m_deferEnabled && s.m_deferCallback)
            s.m_deferCallback(api(), handle<pa_defer_event>(deferObject), s.m_deferData);
    }

    // The answers that have arrived by now, in order.
    static void runAnswers()
    {
        FakePulseServer &s = server();
        while (!s.m_answers.empty() && s.m_answers.front().first <= s.m_nowUs) {
            const std::function<void()> next = std::move(s.m_answers.front().second);
            s.m_answers.erase(s.m_answers.begin());
            next();
        }
    }

    // An answer the server sends, if it answers at all, `answerDelayUs` from now.
    static void answer(std::function<void()> reply)
    {
        if (server().answers)
            server().m_answers.emplace_back(server().m_nowUs + server().answerDelayUs, std::move(reply));
    }

    // An answer to a question about the server or its sinks.
    static void answerQuestion(std::function<void()> reply)
    {
        if (server().answersQuestions)
            answer(std::move(reply));
    }

    static pa_mainloop_api *api()
    {
        static pa_mainloop_api api = [] {
            pa_mainloop_api made{};
            made.time_free = &FakePulseCalls::timeFree;
            made.defer_new = &FakePulseCalls::deferNew;
            made.defer_enable = &FakePulseCalls::deferEnable;
            made.defer_free = &FakePulseCalls::deferFree;
            return made;
        }();
        return &api;
    }

    static void bind(PulseLibrary &pa)
    {
        pa.threadedMainloopNew = [] { return handle<pa_threaded_mainloop>(loopObject); };
        pa.threadedMainloopFree = [](pa_threaded_mainloop *) {};
        pa.threadedMainloopGetApi = [](pa_threaded_mainloop *) { return api(); };
        pa.threadedMainloopLock = [](pa_threaded_mainloop *) { lockLoop(server().m_loopMutex); };
        pa.threadedMainloopUnlock = [](pa_threaded_mainloop *) {
            if (loopLockDepth == 0) {
                ++server().m_misuses;
                return;
            }
            unlockLoop(server().m_loopMutex);
        };
        pa.threadedMainloopOnceUnlocked = [](pa_threaded_mainloop *, void (*)(pa_threaded_mainloop *, void *),
                                             void *) {};
        pa.threadedMainloopSetName = [](pa_threaded_mainloop *, const char *) {};
        pa.threadedMainloopSignal = [](pa_threaded_mainloop *, int) {
            if (loopLockDepth == 0)
                ++server().m_misuses;
            ++server().m_signalsSent;
            server().m_loopSignal.notify_all();
        };
        pa.threadedMainloopStart = [](pa_threaded_mainloop *) { return 0; };
        pa.threadedMainloopStop = [](pa_threaded_mainloop *) {};
        // The loop runs while the client waits, with its lock let go.
        pa.threadedMainloopWait = [](pa_threaded_mainloop *) {
            FakePulseServer &s = server();
            if (loopLockDepth == 0)
                ++s.m_misuses;
            // Time passes to the next answer, unless the client's timer comes first.
            if (!s.m_answers.empty() && (!s.m_timerCallback || s.m_answers.front().first < s.m_timerDueUs)) {
                const int signalsBefore = s.m_signalsSent;
                s.m_nowUs = std::max(s.m_nowUs, s.m_answers.front().first);
                runAnswers();
                // An answer that signals nobody leaves the client asleep until its time-out.
                if (s.m_signalsSent != signalsBefore)
                    return;
            }
            if (!s.holdsWaits) {
                if (auto callback = s.m_timerCallback) {
                    s.m_nowUs = std::max(s.m_nowUs, s.m_timerDueUs);
                    callback(api(), handle<pa_time_event>(timerObject), nullptr, s.m_timerData);
                }
                return;
            }
            std::unique_lock lock(s.m_loopMutex, std::adopt_lock);
            ++s.m_heldWaits;
            s.m_loopSignal.notify_all();
            s.m_loopSignal.wait(lock);
            lock.release();
        };
        pa.rtclockNow = [] { return pa_usec_t(server().m_nowUs); };
        pa.contextRttimeNew = [](const pa_context *, pa_usec_t due, pa_time_event_cb_t callback, void *data) {
            server().m_timerCallback = callback;
            server().m_timerData = data;
            server().m_timerDueUs = std::int64_t(due);
            return handle<pa_time_event>(timerObject);
        };
        pa.operationUnref = [](pa_operation *) {};
        pa.strerror = [](int error) { return error == PA_ERR_ACCESS ? "Access denied" : "OK"; };
        pa.usecToBytes = [](pa_usec_t usec, const pa_sample_spec *format) {
            return std::size_t(usec * format->rate / 1'000'000) * std::size_t(frameBytes);
        };
        pa.timevalAge = [](const timeval *tv) {
            return pa_usec_t(server().m_nowUs - (std::int64_t(tv->tv_sec) * 1'000'000 + tv->tv_usec));
        };
        // A stream's properties are its process id alone.
        pa.proplistGets = [](const pa_proplist *properties, const char *key) -> const char * {
            if (!properties || std::strcmp(key, PA_PROP_APPLICATION_PROCESS_ID) != 0)
                return nullptr;
            return reinterpret_cast<const std::string *>(properties)->c_str();
        };

        pa.contextNew = [](pa_mainloop_api *, const char *) {
            ++server().contextsMade;
            server().m_contextState = PA_CONTEXT_UNCONNECTED;
            server().m_error = 0;
            return handle<pa_context>(contextObject);
        };
        pa.contextConnect = [](pa_context *, const char *, pa_context_flags_t, const pa_spawn_api *) {
            setContextState(PA_CONTEXT_CONNECTING);
            answer([] {
                server().m_error = server().connectError;
                setContextState(server().connectError ? PA_CONTEXT_FAILED : PA_CONTEXT_READY);
            });
            return 0;
        };
        pa.contextDisconnect = [](pa_context *) {
            server().m_answers.clear();
            setContextState(PA_CONTEXT_TERMINATED);
        };
        pa.contextUnref = [](pa_context *) {};
        pa.contextErrno = [](const pa_context *) { return server().m_error; };
        pa.contextGetState = [](const pa_context *) { return server().m_contextState; };
        pa.contextSetStateCallback = [](pa_context *, pa_context_notify_cb_t callback, void *data) {
            server().m_contextStateCallback = callback;
            server().m_contextStateData = data;
        };
        pa.contextSetSubscribeCallback = [](pa_context *, pa_context_subscribe_cb_t callback, void *data) {
            server().m_subscribeCallback = callback;
            server().m_subscribeData = data;
        };
        pa.contextSubscribe = [](pa_context *, pa_subscription_mask_t, pa_context_success_cb_t, void *) {
            return operation();
        };
        pa.contextGetServerInfo = [](pa_context *context, pa_server_info_cb_t callback, void *data) {
            answerQuestion([context, callback, data] {
                pa_server_info info{};
                info.sample_spec = {PA_SAMPLE_S16LE, std::uint32_t(server().serverRate), 2};
                callback(context, &info, data);
            });
            return operation();
        };
        pa.contextGetSinkInfoByName = [](pa_context *context, const char *, pa_sink_info_cb_t callback, void *data) {
            answerQuestion([context, callback, data] {
                pa_sink_info info{};
                info.sample_spec = {PA_SAMPLE_S16LE, std::uint32_t(server().sinkRate), 2};
                callback(context, &info, 0, data);
                callback(context, nullptr, 1, data);
            });
            return operation();
        };
        pa.contextGetSinkInputInfo = [](pa_context *context, std::uint32_t index, pa_sink_input_info_cb_t callback,
                                        void *data) {
            answer([context, index, callback, data] {
                for (const FakePulseServer::OtherStream &other : server().m_otherStreams) {
                    if (other.index == index) {
                        const pa_sink_input_info info = FakePulseServer::infoOf(other);
                        callback(context, &info, 0, data);
                    }
                }
                callback(context, nullptr, 1, data);
            });
            return operation();
        };
        pa.contextGetSinkInputInfoList = [](pa_context *context, pa_sink_input_info_cb_t callback, void *data) {
            answer([context, callback, data] {
                for (const FakePulseServer::OtherStream &other : server().m_otherStreams) {
                    const pa_sink_input_info info = FakePulseServer::infoOf(other);
                    callback(context, &info, 0, data);
                }
                callback(context, nullptr, 1, data);
            });
            return operation();
        };

        pa.streamNew = [](pa_context *, const char *, const pa_sample_spec *format, const pa_channel_map *) {
            FakePulseServer &s = server();
            ++s.streamsMade;
            s.m_streamExists = true;
            s.m_format = *format;
            s.m_streamState = PA_STREAM_UNCONNECTED;
            s.m_read = s.m_write = 0;
            s.m_corked = s.m_playing = false;
            s.m_startAtUs = -1;
            s.m_queue.clear();
            s.readSamples.clear();
            s.readFrames.clear();
            s.m_timingValid = false;
            s.m_timingRequests.clear();
            return handle<pa_stream>(streamObject);
        };
        pa.streamConnectPlayback = [](pa_stream *, const char *, const pa_buffer_attr *attr, pa_stream_flags_t flags,
                                      const pa_cvolume *, pa_stream *) {
            FakePulseServer &s = server();
            s.m_flags = flags;
            s.m_attr = *attr;
            if (s.m_attr.prebuf == std::uint32_t(-1))
                s.m_attr.prebuf = s.m_attr.tlength;
            setStreamState(PA_STREAM_CREATING);
            answer([] {
                setStreamState(PA_STREAM_READY);
                server().request();
            });
            return 0;
        };
        pa.streamDisconnect = [](pa_stream *) {
            server().m_streamExists = false;
            server().m_answers.clear();
            setStreamState(PA_STREAM_TERMINATED);
            return 0;
        };
        pa.streamUnref = [](pa_stream *) {};
        pa.streamGetState = [](const pa_stream *) { return server().m_streamState; };
        pa.streamGetIndex = [](const pa_stream *) { return std::uint32_t(7); };
        pa.streamSetStateCallback = [](pa_stream *, pa_stream_notify_cb_t callback, void *data) {
            server().m_streamStateCallback = callback;
            server().m_streamStateData = data;
        };
        pa.streamSetWriteCallback = [](pa_stream *, pa_stream_request_cb_t callback, void *data) {
            server().m_writeCallback = callback;
            server().m_writeData = data;
        };
        pa.streamSetUnderflowCallback = [](pa_stream *, pa_stream_notify_cb_t callback, void *data) {
            server().m_underflowCallback = callback;
            server().m_underflowData = data;
        };
        pa.streamGetBufferAttr = [](pa_stream *) -> const pa_buffer_attr * { return &server().m_attr; };
        pa.streamSetBufferAttr = [](pa_stream *, const pa_buffer_attr *attr, pa_stream_success_cb_t, void *) {
            FakePulseServer &s = server();
            s.m_attr.tlength = attr->tlength;
            s.m_attr.minreq = attr->minreq;
            s.m_attr.prebuf = attr->prebuf == std::uint32_t(-1) ? attr->tlength : attr->prebuf;
            s.request();
            return operation();
        };
        pa.streamWritableSize = [](const pa_stream *) {
            return std::size_t(std::max<std::int64_t>(server().m_attr.tlength - server().queuedBytes(), 0));
        };
        pa.streamBeginWrite = [](pa_stream *, void **data, std::size_t *bytes) {
            FakePulseServer &s = server();
            if (s.whileWriting)
                s.whileWriting();
            s.m_writeBuffer.assign(std::min(*bytes, largestWrite), 0);
            *data = s.m_writeBuffer.data();
            *bytes = s.m_writeBuffer.size();
            return 0;
        };
        pa.streamCancelWrite = [](pa_stream *) { return 0; };
        pa.streamWrite = [](pa_stream *, const void *data, std::size_t bytes, pa_free_cb_t, std::int64_t offset,
                            pa_seek_mode_t seek) {
            FakePulseServer &s = server();
            const std::int64_t index = seek == PA_SEEK_ABSOLUTE ? offset
                : seek == PA_SEEK_RELATIVE_ON_READ           ? s.m_read + offset
                                                             : s.m_write + offset;
            if (seek == PA_SEEK_ABSOLUTE && index != s.m_overwriteEnd)
                s.overwriteStart = index;
            s.m_overwriteEnd = seek == PA_SEEK_ABSOLUTE ? index + std::int64_t(bytes) : -1;
            s.store(static_cast<const float *>(data), index, bytes);
            // The client keeps its write index up to date for the seeks it can follow.
            if (seek == PA_SEEK_ABSOLUTE) {
                s.m_timing.write_index = index + std::int64_t(bytes);
                s.m_timing.write_index_corrupt = 0;
            } else if (seek == PA_SEEK_RELATIVE) {
                if (!s.m_timing.write_index_corrupt)
                    s.m_timing.write_index += offset + std::int64_t(bytes);
            } else {
                s.m_timing.write_index_corrupt = 1;
            }
            return 0;
        };
        pa.streamCork = [](pa_stream *, int cork, pa_stream_success_cb_t, void *) {
            server().m_corked = cork != 0;
            server().m_timing.read_index_corrupt = 1;
            if (!cork)
                server().request();
            return operation();
        };
        pa.streamFlush = [](pa_stream *, pa_stream_success_cb_t, void *) {
            FakePulseServer &s = server();
            s.m_write = s.m_read;
            s.m_playing = false;
            s.m_startAtUs = -1;
            s.m_timing.write_index_corrupt = 1;
            return operation();
        };
        pa.streamGetTimingInfo = [](pa_stream *) -> const pa_timing_info * {
            return server().m_timingValid ? &server().m_timing : nullptr;
        };
        pa.streamUpdateTimingInfo = [](pa_stream *, pa_stream_success_cb_t callback, void *data) {
            FakePulseServer &s = server();
            if (callback)
                s.m_timingRequests.emplace_back(callback, data);
            if (s.answersTimingRequests && !s.m_stopped)
                s.publishTiming();
            return operation();
        };
    }
};

FakePulseServer::FakePulseServer()
{
    current = this;
    FakePulseCalls::bind(m_library);
}

int FakePulseServer::loopLocksHeld() const
{
    return loopLockDepth;
}

FakePulseServer::~FakePulseServer()
{
    EXPECT_EQ(m_misuses, 0) << "the loop was waited on, signalled or unlocked by a thread not holding its lock";
    current = nullptr;
}

void FakePulseServer::publishTiming()
{
    const LoopLock lock(m_loopMutex);
    m_timing.read_index = m_read;
    m_timing.write_index = m_write;
    m_timing.read_index_corrupt = 0;
    m_timing.write_index_corrupt = 0;
    m_timing.playing = m_playing && !m_corked;
    m_timing.timestamp.tv_sec = time_t(m_nowUs / 1'000'000);
    m_timing.timestamp.tv_usec = suseconds_t(m_nowUs % 1'000'000);
    m_timingValid = true;
    for (const auto &[callback, data] : std::exchange(m_timingRequests, {}))
        callback(handle<pa_stream>(streamObject), 1, data);
}

void FakePulseServer::stopServer()
{
    const LoopLock lock(m_loopMutex);
    m_stopped = true;
}

void FakePulseServer::continueServer()
{
    const LoopLock lock(m_loopMutex);
    m_stopped = false;
    if (!m_timingRequests.empty())
        publishTiming();
    request();
}

void FakePulseServer::request()
{
    if (m_stopped || clientStalled || !m_writeCallback || m_streamState != PA_STREAM_READY || m_corked)
        return;
    const std::int64_t missing = std::int64_t(m_attr.tlength) - queuedBytes();
    if (missing >= std::int64_t(m_attr.minreq))
        m_writeCallback(handle<pa_stream>(streamObject), std::size_t(missing), m_writeData);
}

void FakePulseServer::store(const float *data, std::int64_t index, std::size_t bytes)
{
    const std::int64_t end = index + std::int64_t(bytes);
    if (std::size_t(end / sizeof(float)) > m_queue.size())
        m_queue.resize(std::size_t(end / sizeof(float)), 0.0f);
    for (std::int64_t at = index; at < end; at += frameBytes) {
        if (at < m_read) {
            ++lateFrames;
            continue;
        }
        std::memcpy(&m_queue[std::size_t(at / sizeof(float))], data + (at - index) / sizeof(float), frameBytes);
    }
    m_write = end;
    if (!m_playing && m_startAtUs < 0 && prebuffered())
        m_startAtUs = m_nowUs + startLagUs;
}

bool FakePulseServer::prebuffered() const
{
    return queuedBytes() >= std::int64_t(std::max<std::uint32_t>(m_attr.prebuf, frameBytes));
}

void FakePulseServer::runLoop()
{
    const LoopLock lock(m_loopMutex);
    FakePulseCalls::runAnswers();
    FakePulseCalls::runDeferred();
}

bool FakePulseServer::awaitHeldWaits(int count)
{
    std::unique_lock lock(m_loopMutex);
    return m_loopSignal.wait_for(lock, std::chrono::seconds(10), [&] { return m_heldWaits >= count; });
}

void FakePulseServer::advance(std::int64_t microseconds)
{
    const LoopLock lock(m_loopMutex);
    FakePulseCalls::runAnswers();
    FakePulseCalls::runDeferred();
    read(microseconds);
    fireDueTimer();
}

void FakePulseServer::fireDueTimer()
{
    if (m_timerCallback && m_nowUs >= m_timerDueUs)
        m_timerCallback(FakePulseCalls::api(), handle<pa_time_event>(timerObject), nullptr, m_timerData);
}

void FakePulseServer::read(std::int64_t microseconds)
{
    const std::int64_t start = m_nowUs;
    const std::int64_t end = start + microseconds;
    // A sink with periods takes each one's sound as the period begins.
    const std::int64_t sinkEnd = sinkPeriodUs > 0 ? (end + sinkPeriodUs - 1) / sinkPeriodUs * sinkPeriodUs : end;
    const std::int64_t sinkFrom = std::max(m_sinkUs, start);
    if (m_stopped) {
        m_nowUs = end;
        return;
    }
    if (!m_streamExists || m_streamState != PA_STREAM_READY || m_corked || sinkEnd <= sinkFrom) {
        m_nowUs = end;
        request();
        return;
    }
    m_sinkUs = sinkEnd;
    const std::int64_t span = sinkEnd - sinkFrom;
    // In frames times a million millionths: the sink's clock runs its own pace.
    constexpr std::int64_t scale = 1'000'000'000'000;
    m_readFraction += span * std::int64_t(m_format.rate) * (1'000'000 + sinkClockPpm);
    const std::int64_t frames = m_readFraction / scale;
    m_readFraction %= scale;
    for (std::int64_t i = 0; i < frames; ++i) {
        m_nowUs = std::clamp(sinkFrom + i * span / frames - sinkPeriodUs, start, end);
        request();
        if (!m_playing && prebuffered()) {
            if (m_startAtUs < 0)
                m_startAtUs = m_nowUs + startLagUs;
            m_playing = m_nowUs >= m_startAtUs;
        }
        if (!m_playing)
            continue;
        if (queuedBytes() < frameBytes) {
            m_playing = false;
            m_startAtUs = -1;
            ++underflows;
            if (m_underflowCallback)
                m_underflowCallback(handle<pa_stream>(streamObject), m_underflowData);
            continue;
        }
        const std::size_t frame = std::size_t(m_read / frameBytes);
        if (readFrames.size() <= frame) {
            readFrames.resize(frame + 1, false);
            readSamples.resize(2 * (frame + 1), 0.0f);
        }
        readFrames[frame] = true;
        readSamples[2 * frame] = m_queue[2 * frame];
        readSamples[2 * frame + 1] = m_queue[2 * frame + 1];
        m_read += frameBytes;
    }
    m_nowUs = end;
    request();
}

void FakePulseServer::changeSinkRate(int rate)
{
    const LoopLock lock(m_loopMutex);
    sinkRate = rate;
    if (m_subscribeCallback)
        m_subscribeCallback(handle<pa_context>(contextObject),
                            pa_subscription_event_type_t(PA_SUBSCRIPTION_EVENT_SINK | PA_SUBSCRIPTION_EVENT_CHANGE), 0,
                            m_subscribeData);
    FakePulseCalls::runAnswers();
}

void FakePulseServer::addOtherStream(long processId, bool corked)
{
    const LoopLock lock(m_loopMutex);
    // The client's own stream has index 7.
    const auto index = std::uint32_t(20 + m_otherStreams.size());
    m_otherStreams.push_back({index, corked, std::to_string(processId)});
    if (m_subscribeCallback)
        m_subscribeCallback(handle<pa_context>(contextObject),
                            pa_subscription_event_type_t(PA_SUBSCRIPTION_EVENT_SINK_INPUT | PA_SUBSCRIPTION_EVENT_NEW),
                            index, m_subscribeData);
    FakePulseCalls::runAnswers();
}

pa_sink_input_info FakePulseServer::infoOf(const OtherStream &stream)
{
    pa_sink_input_info info{};
    info.index = stream.index;
    info.corked = stream.corked ? 1 : 0;
    info.proplist = reinterpret_cast<pa_proplist *>(const_cast<std::string *>(&stream.processId));
    return info;
}

void FakePulseServer::failStream()
{
    const LoopLock lock(m_loopMutex);
    FakePulseCalls::setStreamState(PA_STREAM_FAILED);
}
