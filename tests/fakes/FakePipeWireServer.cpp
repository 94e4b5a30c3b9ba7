#include "fakes/FakePipeWireServer.h"

#include <spa/param/audio/format-utils.h>
#include <spa/utils/result.h>

#include <sched.h>

#include <algorithm>
#include <array>
#include <cstdarg>
#include <cstdio>

namespace {
constexpr std::uint32_t frameBytes = 2 * sizeof(float);
// What a buffer holds before the stream first fills it: sound from before.
constexpr float staleSample = 0.5f;
constexpr int fallbackRate = 48000;

// The library's functions are plain C functions: they find the one server of the test here.
FakePipeWireServer *current = nullptr;

// Distinct addresses standing for the library's objects that the client only passes back.
char loopObject, contextObject, dataLoopObject;

template <typename T>
T *handle(char &object)
{
    return reinterpret_cast<T *>(&object);
}

std::int64_t nanoseconds(const timespec &time)
{
    return std::int64_t(time.tv_sec) * 1'000'000'000 + time.tv_nsec;
}

// The client's callbacks make the thread they run on realtime, as they would the library's
// loop and data threads; the test's thread goes back to what it was after each.
class BorrowedThread {
public:
    BorrowedThread() : m_policy(sched_getscheduler(0)) { sched_getparam(0, &m_parameters); }
    ~BorrowedThread()
    {
        if (sched_getscheduler(0) != m_policy)
            sched_setscheduler(0, m_policy, &m_parameters);
    }
    BorrowedThread(const BorrowedThread &) = delete;
    BorrowedThread &operator=(const BorrowedThread &) = delete;

private:
    int m_policy;
    sched_param m_parameters{};
};

std::string nodeLatency(const spa_dict *dict)
{
    const char *value = dict ? spa_dict_lookup(dict, PW_KEY_NODE_LATENCY) : nullptr;
    return value ? value : "";
}
}

struct FakePipeWireServer::Properties {
    pw_properties properties{};
    std::vector<std::pair<std::string, std::string>> entries;
    std::vector<spa_dict_item> items;

    void set(const char *key, std::string value)
    {
        const auto found = std::ranges::find(entries, std::string(key), &std::pair<std::string, std::string>::first);
        if (found != entries.end())
            found->second = std::move(value);
        else
            entries.emplace_back(key, std::move(value));
        items.clear();
        for (const auto &[name, text] : entries)
            items.push_back(spa_dict_item{name.c_str(), text.c_str()});
        properties.dict.items = items.data();
        properties.dict.n_items = std::uint32_t(items.size());
    }
};

struct FakePipeWireServer::Core {
    // First: the headers reach the core's methods through it.
    spa_interface iface{};
    spa_hook_list listeners{};
    int id = 0;
    int nextSeq = 0;
    bool broken = false;
};

struct FakePipeWireServer::Stream {
    struct Buffer {
        pw_buffer buffer{};
        spa_buffer spaBuffer{};
        spa_data data{};
        spa_chunk chunk{};
        std::vector<float> samples;
        enum class Holder { graph, client, queued } holder = Holder::graph;
    };

    int id = 0;
    spa_hook_list listeners{};
    pw_stream_state state = PW_STREAM_STATE_UNCONNECTED;
    bool linked = false;
    bool active = false;
    std::array<Buffer, 2> buffers;
    std::vector<Buffer *> queued;
};

struct FakePipeWireCalls {
    static FakePipeWireServer &server() { return *current; }

    static void misuse(std::string what) { server().misuses.push_back(std::move(what)); }

    static bool isLoop(pw_thread_loop *loop, const char *call)
    {
        if (loop == handle<pw_thread_loop>(loopObject) && server().m_loopExists)
            return true;
        misuse(std::string(call) + " on a loop that is not there");
        return false;
    }
    static bool isContext(pw_context *context, const char *call)
    {
        if (context == handle<pw_context>(contextObject) && server().m_contextExists)
            return true;
        misuse(std::string(call) + " on a context that is not there");
        return false;
    }
    static FakePipeWireServer::Core *core(pw_core *core, const char *call)
    {
        FakePipeWireServer::Core *made = server().m_core.get();
        if (made && reinterpret_cast<spa_interface *>(core) == &made->iface)
            return made;
        misuse(std::string(call) + " on a connection that is not there");
        return nullptr;
    }
    static FakePipeWireServer::Stream *stream(pw_stream *stream, const char *call)
    {
        FakePipeWireServer::Stream *made = server().m_stream.get();
        if (made && reinterpret_cast<FakePipeWireServer::Stream *>(stream) == made)
            return made;
        misuse(std::string(call) + " on a stream that is not there");
        return nullptr;
    }

    static pw_properties *propertiesNew(const char *key, ...)
    {
        auto made = std::make_unique<FakePipeWireServer::Properties>();
        va_list arguments;
        va_start(arguments, key);
        for (const char *name = key; name; name = va_arg(arguments, const char *)) {
            const char *value = va_arg(arguments, const char *);
            made->set(name, value ? value : "");
        }
        va_end(arguments);
        pw_properties *properties = &made->properties;
        server().m_properties.emplace(properties, std::move(made));
        return properties;
    }
    static int propertiesSetf(pw_properties *properties, const char *key, const char *format, ...)
    {
        const auto found = server().m_properties.find(properties);
        if (found == server().m_properties.end()) {
            misuse("pw_properties_setf on properties that are not there");
            return -EINVAL;
        }
        char text[256];
        va_list arguments;
        va_start(arguments, format);
        std::vsnprintf(text, sizeof text, format, arguments);
        va_end(arguments);
        found->second->set(key, text);
        return 1;
    }
    static void propertiesFree(pw_properties *properties)
    {
        if (properties && server().m_properties.erase(properties) == 0)
            misuse("pw_properties_free on properties that are not there");
    }

    static int coreAddListener(void *object, spa_hook *listener, const pw_core_events *events, void *data)
    {
        server().locked("pw_core_add_listener");
        spa_hook_list_append(&static_cast<FakePipeWireServer::Core *>(object)->listeners, listener, events, data);
        return 0;
    }
    static int coreSync(void *object, uint32_t id, int)
    {
        FakePipeWireServer &s = server();
        s.locked("pw_core_sync");
        auto &core = *static_cast<FakePipeWireServer::Core *>(object);
        const int seq = SPA_RESULT_RETURN_ASYNC(core.nextSeq++);
        if (s.answers && !core.broken) {
            s.post(s.answerDelayNs, [&s, coreId = core.id, id, seq] {
                if (s.m_core && s.m_core->id == coreId)
                    spa_hook_list_call_simple(&s.m_core->listeners, pw_core_events, done, 0, id, seq);
            });
        }
        return seq;
    }
    static const pw_core_methods *coreMethods()
    {
        static const pw_core_methods methods = [] {
            pw_core_methods made{};
            made.version = PW_VERSION_CORE_METHODS;
            made.add_listener = &coreAddListener;
            made.sync = &coreSync;
            return made;
        }();
        return &methods;
    }

    // The data thread runs what is invoked on it, and the caller waits for it.
    static int invoke(void *, spa_invoke_func_t function, uint32_t seq, const void *data, size_t size, bool,
                      void *userData)
    {
        const BorrowedThread thread;
        return function ? function(&server().m_dataSpaLoop, false, seq, data, size, userData) : 0;
    }
    static const spa_loop_methods *loopMethods()
    {
        static const spa_loop_methods methods = [] {
            spa_loop_methods made{};
            made.version = SPA_VERSION_LOOP_METHODS;
            made.invoke = &invoke;
            return made;
        }();
        return &methods;
    }

    static void bindLoop(PipeWireLibrary &pw)
    {
        pw.threadLoopNew = [](const char *, const spa_dict *) {
            FakePipeWireServer &s = server();
            if (s.m_loopExists)
                misuse("a second thread loop");
            s.m_loopExists = true;
            s.m_loopStarted = false;
            s.m_lockDepth = 0;
            return handle<pw_thread_loop>(loopObject);
        };
        pw.threadLoopGetLoop = [](pw_thread_loop *loop) {
            isLoop(loop, "pw_thread_loop_get_loop");
            return &server().m_mainLoop;
        };
        pw.threadLoopStart = [](pw_thread_loop *loop) {
            if (!isLoop(loop, "pw_thread_loop_start"))
                return -EINVAL;
            if (!server().loopStarts)
                return -EAGAIN;
            server().m_loopStarted = true;
            return 0;
        };
        pw.threadLoopStop = [](pw_thread_loop *loop) {
            if (!isLoop(loop, "pw_thread_loop_stop"))
                return;
            // The loop's thread would wait for the lock the caller holds.
            if (server().m_lockDepth > 0)
                misuse("pw_thread_loop_stop with the loop's lock held");
            server().m_loopStarted = false;
        };
        pw.threadLoopDestroy = [](pw_thread_loop *loop) {
            if (!isLoop(loop, "pw_thread_loop_destroy"))
                return;
            FakePipeWireServer &s = server();
            s.m_loopExists = false;
            s.m_loopStarted = false;
            s.m_lockDepth = 0;
            s.m_events.clear();
        };
        pw.threadLoopLock = [](pw_thread_loop *loop) {
            if (isLoop(loop, "pw_thread_loop_lock"))
                ++server().m_lockDepth;
        };
        pw.threadLoopUnlock = [](pw_thread_loop *loop) {
            if (!isLoop(loop, "pw_thread_loop_unlock"))
                return;
            FakePipeWireServer &s = server();
            if (s.m_lockDepth == 0) {
                misuse("pw_thread_loop_unlock without the lock");
                return;
            }
            if (--s.m_lockDepth == 0)
                s.deliver(false);
        };
        pw.threadLoopSignal = [](pw_thread_loop *loop, bool) {
            if (!isLoop(loop, "pw_thread_loop_signal"))
                return;
            FakePipeWireServer &s = server();
            if (!s.m_inLoopThread && s.m_lockDepth == 0)
                misuse("pw_thread_loop_signal without the lock");
            if (s.m_waiting)
                s.m_signalled = true;
        };
        pw.monotonicNanoseconds = [] { return server().m_nowNs; };
        pw.threadLoopGetTime = [](pw_thread_loop *loop, timespec *deadline, int64_t timeout) {
            isLoop(loop, "pw_thread_loop_get_time");
            const std::int64_t at = server().m_nowNs + timeout;
            deadline->tv_sec = at / 1'000'000'000;
            deadline->tv_nsec = at % 1'000'000'000;
            return 0;
        };
        pw.threadLoopTimedWaitFull = [](pw_thread_loop *loop, timespec *deadline) {
            if (!isLoop(loop, "pw_thread_loop_timed_wait_full"))
                return -EINVAL;
            return server().timedWait(deadline);
        };
    }

    static void bindConnection(PipeWireLibrary &pw)
    {
        pw.contextNew = [](pw_loop *loop, pw_properties *properties, size_t) {
            FakePipeWireServer &s = server();
            if (loop != &s.m_mainLoop)
                misuse("pw_context_new on a loop that is not the thread loop's");
            propertiesFree(properties);
            s.m_contextExists = true;
            return handle<pw_context>(contextObject);
        };
        pw.contextDestroy = [](pw_context *context) {
            if (isContext(context, "pw_context_destroy"))
                server().m_contextExists = false;
        };
        pw.contextGetDataLoop = [](pw_context *context) {
            isContext(context, "pw_context_get_data_loop");
            return handle<pw_data_loop>(dataLoopObject);
        };
        pw.dataLoopGetLoop = [](pw_data_loop *loop) {
            if (loop != handle<pw_data_loop>(dataLoopObject))
                misuse("pw_data_loop_get_loop on a loop that is not the context's");
            return &server().m_dataLoop;
        };
        pw.contextConnect = [](pw_context *context, pw_properties *properties, size_t) -> pw_core * {
            FakePipeWireServer &s = server();
            propertiesFree(properties);
            if (!isContext(context, "pw_context_connect"))
                return nullptr;
            s.locked("pw_context_connect");
            if (!s.running) {
                errno = s.connectErrno;
                return nullptr;
            }
            if (s.m_core)
                misuse("a second connection");
            auto made = std::make_unique<FakePipeWireServer::Core>();
            made->iface.type = PW_TYPE_INTERFACE_Core;
            made->iface.version = PW_VERSION_CORE;
            made->iface.cb.funcs = coreMethods();
            made->iface.cb.data = made.get();
            spa_hook_list_init(&made->listeners);
            made->id = s.m_nextId++;
            ++s.connections;
            // The server's greeting: its settings, the graph's rate among them.
            if (s.answers) {
                s.post(s.answerDelayNs, [&s, coreId = made->id, rate = s.clockRate] {
                    if (!s.m_core || s.m_core->id != coreId)
                        return;
                    const std::string rateText = std::to_string(rate);
                    const spa_dict_item items[] = {{"default.clock.quantum", "1024"},
                                                   {"default.clock.rate", rateText.c_str()}};
                    spa_dict settings{};
                    settings.items = items;
                    settings.n_items = rate > 0 ? 2 : 1;
                    pw_core_info info{};
                    info.id = PW_ID_CORE;
                    info.name = "pipewire-0";
                    info.change_mask = PW_CORE_CHANGE_MASK_PROPS;
                    info.props = &settings;
                    spa_hook_list_call_simple(&s.m_core->listeners, pw_core_events, info, 0, &info);
                });
            }
            s.m_core = std::move(made);
            return reinterpret_cast<pw_core *>(&s.m_core->iface);
        };
        pw.coreDisconnect = [](pw_core *connection) {
            if (!core(connection, "pw_core_disconnect"))
                return 0;
            FakePipeWireServer &s = server();
            s.locked("pw_core_disconnect");
            spa_hook_list_clean(&s.m_core->listeners);
            s.m_core.reset();
            return 0;
        };
        pw.propertiesNew = &propertiesNew;
        pw.propertiesSetf = &propertiesSetf;
        pw.propertiesFree = &propertiesFree;
    }

    static void bindStream(PipeWireLibrary &pw)
    {
        pw.streamNew = [](pw_core *connection, const char *, pw_properties *properties) -> pw_stream * {
            FakePipeWireServer &s = server();
            if (properties)
                s.nodeLatencies.push_back(nodeLatency(&properties->dict));
            propertiesFree(properties);
            if (!core(connection, "pw_stream_new"))
                return nullptr;
            s.locked("pw_stream_new");
            if (s.m_stream)
                misuse("a second stream while the first is there");
            auto made = std::make_unique<FakePipeWireServer::Stream>();
            made->id = s.m_nextId++;
            spa_hook_list_init(&made->listeners);
            for (auto &buffer : made->buffers) {
                buffer.samples.assign(std::size_t(2 * s.maxsizeFrames), staleSample);
                buffer.data.type = SPA_DATA_MemPtr;
                buffer.data.maxsize = s.maxsizeFrames * frameBytes;
                buffer.data.data = buffer.samples.data();
                buffer.data.chunk = &buffer.chunk;
                buffer.spaBuffer.n_datas = 1;
                buffer.spaBuffer.datas = &buffer.data;
                buffer.buffer.buffer = &buffer.spaBuffer;
            }
            ++s.streamsMade;
            s.m_stream = std::move(made);
            return reinterpret_cast<pw_stream *>(s.m_stream.get());
        };
        pw.streamAddListener = [](pw_stream *handle, spa_hook *listener, const pw_stream_events *events, void *data) {
            server().locked("pw_stream_add_listener");
            if (auto *made = stream(handle, "pw_stream_add_listener"))
                spa_hook_list_append(&made->listeners, listener, events, data);
        };
        pw.streamConnect = [](pw_stream *handle, spa_direction, uint32_t, pw_stream_flags flags, const spa_pod **params,
                              uint32_t count) {
            FakePipeWireServer &s = server();
            s.locked("pw_stream_connect");
            auto *made = stream(handle, "pw_stream_connect");
            if (!made)
                return -EINVAL;
            s.streamFormat = {};
            if (count < 1 || spa_format_audio_raw_parse(params[0], &s.streamFormat) < 0)
                misuse("pw_stream_connect without a raw audio format");
            made->active = (flags & PW_STREAM_FLAG_INACTIVE) == 0;
            const int id = made->id;
            s.post(0, [&s, id] {
                if (s.m_stream && s.m_stream->id == id)
                    s.setStreamState(PW_STREAM_STATE_CONNECTING, nullptr);
            });
            switch (s.linking) {
            case FakePipeWireServer::Linking::links:
                // Linked: the graph hands the node its position, and runs it if it is active.
                s.post(s.linkDelayNs, [&s, id] {
                    if (!s.m_stream || s.m_stream->id != id)
                        return;
                    s.m_stream->linked = true;
                    spa_hook_list_call_simple(&s.m_stream->listeners, pw_stream_events, io_changed, 0,
                                              SPA_IO_Position, &s.m_position, std::uint32_t(sizeof s.m_position));
                    s.setStreamState(PW_STREAM_STATE_PAUSED, nullptr);
                });
                s.post(s.linkDelayNs, [&s, id] {
                    if (s.m_stream && s.m_stream->id == id && s.m_stream->linked && s.m_stream->active)
                        s.setStreamState(PW_STREAM_STATE_STREAMING, nullptr);
                });
                break;
            case FakePipeWireServer::Linking::never:
                break;
            case FakePipeWireServer::Linking::fails:
                s.post(s.linkDelayNs, [&s, id, error = s.linkError] {
                    if (s.m_stream && s.m_stream->id == id)
                        s.setStreamState(PW_STREAM_STATE_ERROR, error.empty() ? nullptr : error.c_str());
                });
                break;
            }
            return 0;
        };
        pw.streamDestroy = [](pw_stream *handle) {
            FakePipeWireServer &s = server();
            s.locked("pw_stream_destroy");
            auto *made = stream(handle, "pw_stream_destroy");
            if (!made)
                return;
            spa_hook_list_call_simple(&made->listeners, pw_stream_events, destroy, 0);
            spa_hook_list_clean(&made->listeners);
            s.m_stream.reset();
        };
        pw.streamSetActive = [](pw_stream *handle, bool active) {
            FakePipeWireServer &s = server();
            s.locked("pw_stream_set_active");
            auto *made = stream(handle, "pw_stream_set_active");
            if (!made)
                return -EINVAL;
            made->active = active;
            if (made->linked) {
                s.post(0, [&s, id = made->id, active] {
                    if (s.m_stream && s.m_stream->id == id && s.m_stream->linked)
                        s.setStreamState(active ? PW_STREAM_STATE_STREAMING : PW_STREAM_STATE_PAUSED, nullptr);
                });
            }
            return 0;
        };
        pw.streamUpdateProperties = [](pw_stream *handle, const spa_dict *dict) {
            FakePipeWireServer &s = server();
            s.locked("pw_stream_update_properties");
            if (!stream(handle, "pw_stream_update_properties"))
                return -EINVAL;
            s.nodeLatencies.push_back(nodeLatency(dict));
            return int(dict->n_items);
        };
        pw.streamDequeueBuffer = [](pw_stream *handle) -> pw_buffer * {
            FakePipeWireServer &s = server();
            auto *made = stream(handle, "pw_stream_dequeue_buffer");
            if (!made)
                return nullptr;
            for (auto &buffer : made->buffers) {
                if (buffer.holder != FakePipeWireServer::Stream::Buffer::Holder::graph)
                    continue;
                buffer.holder = FakePipeWireServer::Stream::Buffer::Holder::client;
                buffer.buffer.requested = s.requestsFrames ? s.m_cycleFrames : 0;
                return &buffer.buffer;
            }
            errno = EPIPE;
            return nullptr;
        };
        pw.streamQueueBuffer = [](pw_stream *handle, pw_buffer *queued) {
            auto *made = stream(handle, "pw_stream_queue_buffer");
            if (!made)
                return -EINVAL;
            for (auto &buffer : made->buffers) {
                if (&buffer.buffer != queued)
                    continue;
                if (buffer.holder != FakePipeWireServer::Stream::Buffer::Holder::client) {
                    misuse("pw_stream_queue_buffer of a buffer the client does not hold");
                    return -EINVAL;
                }
                buffer.holder = FakePipeWireServer::Stream::Buffer::Holder::queued;
                made->queued.push_back(&buffer);
                return 0;
            }
            misuse("pw_stream_queue_buffer of a buffer not the stream's");
            return -EINVAL;
        };
    }
};

FakePipeWireServer::FakePipeWireServer()
{
    current = this;
    FakePipeWireCalls::bindLoop(m_library);
    FakePipeWireCalls::bindConnection(m_library);
    FakePipeWireCalls::bindStream(m_library);
    m_dataSpaLoop.iface.type = SPA_TYPE_INTERFACE_Loop;
    m_dataSpaLoop.iface.version = SPA_VERSION_LOOP;
    m_dataSpaLoop.iface.cb.funcs = FakePipeWireCalls::loopMethods();
    m_dataSpaLoop.iface.cb.data = this;
    m_dataLoop.loop = &m_dataSpaLoop;
}

FakePipeWireServer::~FakePipeWireServer()
{
    m_events.clear();
    m_stream.reset();
    m_core.reset();
    current = nullptr;
}

bool FakePipeWireServer::streamActive() const
{
    return m_stream && m_stream->active;
}

int FakePipeWireServer::objectsAlive() const
{
    return int(m_loopExists) + int(m_contextExists) + int(m_core != nullptr) + int(m_stream != nullptr)
        + int(m_properties.size());
}

void FakePipeWireServer::post(std::int64_t delayNs, std::function<void()> run)
{
    m_events.push_back({m_nowNs + delayNs, std::move(run)});
}

void FakePipeWireServer::deliver(bool untilSignalled)
{
    if (m_delivering || !m_loopStarted || m_lockDepth > 0)
        return;
    m_delivering = true;
    for (;;) {
        auto due = m_events.end();
        for (auto event = m_events.begin(); event != m_events.end(); ++event) {
            if (event->dueNs <= m_nowNs && (due == m_events.end() || event->dueNs < due->dueNs))
                due = event;
        }
        if (due == m_events.end())
            break;
        const std::function<void()> run = std::move(due->run);
        m_events.erase(due);
        {
            const BorrowedThread thread;
            const bool wasInLoopThread = std::exchange(m_inLoopThread, true);
            run();
            m_inLoopThread = wasInLoopThread;
        }
        if (untilSignalled && m_signalled)
            break;
    }
    m_delivering = false;
}

int FakePipeWireServer::timedWait(const timespec *deadline)
{
    if (m_lockDepth == 0) {
        misuses.push_back("pw_thread_loop_timed_wait_full without the lock");
        return -EINVAL;
    }
    const std::int64_t until = nanoseconds(*deadline);
    const int held = std::exchange(m_lockDepth, 0);
    m_waiting = true;
    m_signalled = false;
    for (;;) {
        deliver(true);
        if (m_signalled)
            break;
        if (whileWaiting) {
            std::exchange(whileWaiting, nullptr)();
            continue;
        }
        // Nothing due: the wait lasts until the next event, or its deadline.
        std::int64_t next = until + 1;
        if (m_loopStarted) {
            for (const Event &event : m_events) {
                if (event.dueNs > m_nowNs)
                    next = std::min(next, event.dueNs);
            }
        }
        if (next > until) {
            m_nowNs = std::max(m_nowNs, until);
            break;
        }
        m_nowNs = next;
    }
    m_waiting = false;
    m_lockDepth = held;
    return m_signalled ? 0 : -ETIMEDOUT;
}

void FakePipeWireServer::setStreamState(pw_stream_state state, const char *error)
{
    const pw_stream_state old = m_stream->state;
    if (old == state && state != PW_STREAM_STATE_ERROR)
        return;
    m_stream->state = state;
    spa_hook_list_call_simple(&m_stream->listeners, pw_stream_events, state_changed, 0, old, state, error);
}

bool FakePipeWireServer::locked(const char *call)
{
    if (m_lockDepth > 0 || m_inLoopThread || !m_loopStarted)
        return true;
    misuses.push_back(std::string(call) + " without the loop's lock");
    return false;
}

void FakePipeWireServer::cycle(std::uint32_t frames)
{
    m_cycleFrames = frames;
    m_position.clock.position = m_graphPosition;
    m_position.clock.duration = frames;
    m_position.clock.rate = SPA_FRACTION(1, std::uint32_t(clockRate > 0 ? clockRate : fallbackRate));
    m_position.clock.nsec = std::uint64_t(m_dueNs);
    if (m_stream && m_stream->linked && m_stream->active) {
        ++processCalls;
        {
            const BorrowedThread thread;
            spa_hook_list_call_simple(&m_stream->listeners, pw_stream_events, process, 0);
        }
        for (Stream::Buffer *buffer : m_stream->queued) {
            const spa_chunk &chunk = buffer->chunk;
            if (chunk.stride != std::int32_t(frameBytes) || chunk.size % frameBytes != 0
                || chunk.offset + chunk.size > buffer->data.maxsize) {
                misuses.push_back("a chunk the graph cannot read");
            } else {
                const float *first = buffer->samples.data() + chunk.offset / sizeof(float);
                played.insert(played.end(), first, first + chunk.size / sizeof(float));
                playedFrames.push_back(chunk.size / frameBytes);
            }
            buffer->holder = Stream::Buffer::Holder::graph;
        }
        m_stream->queued.clear();
    }
    m_graphPosition += frames;
    m_dueNs += std::int64_t(frames) * 1'000'000'000 / std::int64_t(m_position.clock.rate.denom);
    m_nowNs = std::max(m_nowNs, m_dueNs);
}

void FakePipeWireServer::forceRate(int rate)
{
    clockRate = rate;
    post(0, [this, rate] {
        if (!m_stream || !m_stream->linked)
            return;
        std::uint8_t podBuffer[512];
        spa_pod_builder builder{};
        spa_pod_builder_init(&builder, podBuffer, sizeof podBuffer);
        spa_audio_info_raw info = streamFormat;
        info.rate = std::uint32_t(rate);
        const spa_pod *format = spa_format_audio_raw_build(&builder, SPA_PARAM_Format, &info);
        spa_hook_list_call_simple(&m_stream->listeners, pw_stream_events, param_changed, 0, SPA_PARAM_Format, format);
    });
    deliver(false);
}

void FakePipeWireServer::missCycles(int count, std::uint32_t frames)
{
    m_graphPosition += std::uint64_t(count) * frames;
}

void FakePipeWireServer::advance(std::int64_t nanoseconds)
{
    m_nowNs += nanoseconds;
    deliver(false);
}

void FakePipeWireServer::loseServer()
{
    running = false;
    if (m_stream)
        m_stream->linked = false;
    if (m_core) {
        m_core->broken = true;
        post(0, [this, coreId = m_core->id] {
            if (m_core && m_core->id == coreId)
                spa_hook_list_call_simple(&m_core->listeners, pw_core_events, error, 0, PW_ID_CORE, 0, -EPIPE,
                                          "connection error");
        });
        if (m_stream) {
            post(0, [this, id = m_stream->id] {
                if (m_stream && m_stream->id == id)
                    setStreamState(PW_STREAM_STATE_UNCONNECTED, "connection error");
            });
        }
    }
    deliver(false);
}

void FakePipeWireServer::failStream(const std::string &message)
{
    if (!m_stream)
        return;
    m_stream->linked = false;
    post(0, [this, id = m_stream->id, message] {
        if (m_stream && m_stream->id == id)
            setStreamState(PW_STREAM_STATE_ERROR, message.c_str());
    });
    deliver(false);
}
