#pragma once

#include "Platform/Linux/PipeWireLibrary.h"

#include <spa/node/io.h>
#include <spa/param/audio/raw.h>

#include <cerrno>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

// A PipeWire server and its graph in the test's hands, reached through the same table of
// functions as the real client library, with a core and a data loop whose own method tables
// answer the calls the headers make through them. One thread loop, connection and stream at a
// time. Everything runs on the test's thread: the loop thread's events run whenever the client
// does not hold the loop's lock (when it unlocks or waits), one wake-up at a time, and a wait
// with nothing due ends at its deadline on the fake's clock, which moves on only to what is due
// next. The graph's cycles run when the test says: an active, linked stream gets its process
// call with a buffer of the frames the graph asks for, while the graph's clock moves on a cycle
// at a time whether it gets one or not. Calls the real library would not take (an object used
// after it was freed, a stream call without the loop's lock, an unbalanced unlock, a bad
// chunk) are noted in `misuses`.
class FakePipeWireServer {
public:
    // What the session manager does with a new stream.
    enum class Linking { links, never, fails };

    FakePipeWireServer();
    ~FakePipeWireServer();
    FakePipeWireServer(const FakePipeWireServer &) = delete;
    FakePipeWireServer &operator=(const FakePipeWireServer &) = delete;

    const PipeWireLibrary &library() const { return m_library; }

    // Whether the client library can start its loop's thread.
    bool loopStarts = true;
    // Server side. Whether a server listens on the socket, and why connecting fails if not.
    bool running = true;
    int connectErrno = ENOENT;
    // Whether the server answers at all once connected, and how long it takes.
    bool answers = true;
    std::int64_t answerDelayNs = 0;
    // The graph's rate, as the core's info says it; 0 leaves it out.
    int clockRate = 48000;
    Linking linking = Linking::links;
    std::int64_t linkDelayNs = 0;
    // Why a link fails; empty says nothing.
    std::string linkError = "no node to link to";
    // The buffers' size, and whether the graph says how many frames it wants of them.
    std::uint32_t maxsizeFrames = 8192;
    bool requestsFrames = true;
    // Runs once, the first time the client waits with nothing due: what happens meanwhile.
    std::function<void()> whileWaiting;

    // One graph cycle of `frames`: the stream's process call, if it is active and linked, and
    // the graph takes the buffer it queued. The clock moves on by the cycle, unless the cycle
    // was due before now.
    void cycle(std::uint32_t frames);
    // The graph's rate forced to another: the stream hears of its new format.
    void forceRate(int rate);
    // Cycles that go by without this stream's sound.
    void missCycles(int count, std::uint32_t frames);
    // Time passes; what is due meanwhile arrives.
    void advance(std::int64_t nanoseconds);
    // The server goes away: its connection breaks, the stream is unlinked.
    void loseServer();
    // The stream's node fails.
    void failStream(const std::string &message);

    std::int64_t nowNs() const { return m_nowNs; }
    bool hasStream() const { return m_stream != nullptr; }
    bool streamActive() const;
    // Loops, contexts, connections, streams and property sets not yet freed.
    int objectsAlive() const;

    // What the graph took from the stream's buffers (left, right), and how many frames a cycle.
    std::vector<float> played;
    std::vector<std::uint32_t> playedFrames;
    int processCalls = 0;
    int connections = 0;
    int streamsMade = 0;
    // The format the last stream offered.
    spa_audio_info_raw streamFormat{};
    // Every node.latency asked for, when a stream was made and since.
    std::vector<std::string> nodeLatencies;
    std::vector<std::string> misuses;

private:
    friend struct FakePipeWireCalls;
    struct Properties;
    struct Core;
    struct Stream;
    struct Event {
        std::int64_t dueNs;
        std::function<void()> run;
    };

    void post(std::int64_t delayNs, std::function<void()> run);
    // Runs what is due while the client does not hold the lock; in a wait, up to the first
    // event that wakes it.
    void deliver(bool untilSignalled);
    int timedWait(const timespec *deadline);
    void setStreamState(pw_stream_state state, const char *error);
    bool locked(const char *call);

    PipeWireLibrary m_library;
    std::int64_t m_nowNs = 1'000'000'000'000;
    // When the driver's next cycle is due: it keeps its own schedule, so after time passes
    // without cycles it runs the missed ones back to back, each stamped with its due time.
    std::int64_t m_dueNs = m_nowNs;
    std::vector<Event> m_events;
    bool m_delivering = false;

    bool m_loopExists = false;
    bool m_loopStarted = false;
    int m_lockDepth = 0;
    bool m_waiting = false;
    bool m_signalled = false;
    bool m_inLoopThread = false;
    bool m_contextExists = false;
    pw_loop m_mainLoop{};
    pw_loop m_dataLoop{};
    spa_loop m_dataSpaLoop{};

    std::unique_ptr<Core> m_core;
    std::unique_ptr<Stream> m_stream;
    std::map<pw_properties *, std::unique_ptr<Properties>> m_properties;
    int m_nextId = 1;
    std::uint32_t m_cycleFrames = 0;
    std::uint64_t m_graphPosition = 1'000'000;
    spa_io_position m_position{};
};
