#pragma once

#include "Platform/Linux/PulseLibrary.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

// A PulseAudio server in the test's hands, reached through the same table of functions as the
// real client library. One context and one stream at a time. The sink reads the stream at its
// rate as the test moves the clock on; the stream's queue has the server's rules: it plays from
// the sink's next period once prebuffered, runs dry when the client falls behind (and waits to be filled again), asks for
// what is missing once that reaches the least request, and takes writes anywhere by index,
// overwriting what is queued there. Writes behind the read position are lost. The client's
// view of the positions is refreshed only when the client asks (and the test lets the answer
// come) or the test says; corking leaves the read position unknown to it, emptying the write
// position, as in the library. The sink's clock can drift from the system's, as a device's
// does. Answers to the client's questions (the connection made, the server's and the sink's
// formats, the stream ready) come when its main loop next runs: while the client waits on
// it, or as the clock moves on. Every other callback runs in the call that causes it, on the
// calling thread, as the client's main loop would run it. The loop's lock is a real one, so a
// client thread waiting on the server can be woken from another.
class FakePulseServer {
public:
    FakePulseServer();
    ~FakePulseServer();
    FakePulseServer(const FakePulseServer &) = delete;
    FakePulseServer &operator=(const FakePulseServer &) = delete;

    const PulseLibrary &library() const { return m_library; }

    // Server side.
    int serverRate = 44100;
    int sinkRate = 48000;
    bool answers = true;
    // How long each answer takes to arrive, and whether questions about the server and its
    // sinks are answered once connected.
    std::int64_t answerDelayUs = 0;
    bool answersQuestions = true;
    // The error the server ends a connection with instead of making it; 0: it makes it.
    int connectError = 0;
    // While stalled, the client's write callbacks wait (a client busy elsewhere).
    bool clientStalled = false;
    // Whether the client's own request for a timing update is answered at once.
    bool answersTimingRequests = true;
    // How long after it is prebuffered the sink starts reading a stream (its next period).
    std::int64_t startLagUs = 0;
    // The sink's period: it takes each period's sound from the queue as the period begins, so
    // its read position runs up to a period ahead of the clock. 0: frame by frame.
    std::int64_t sinkPeriodUs = 0;
    // How much faster the sink's clock runs than the system's, in millionths.
    std::int64_t sinkClockPpm = 0;
    // While set, a client's wait that nothing answers blocks until another thread signals the
    // loop or the clock passes the wait's time-out; otherwise nothing else can happen while it
    // waits, and its time runs out at once.
    bool holdsWaits = false;

    // Runs as the client begins each write: another of its threads acting meanwhile.
    std::function<void()> whileWriting;

    // Moves the clock on; the sink reads what plays meanwhile.
    void advance(std::int64_t microseconds);
    // The client's main loop runs what is due, with no time passing.
    void runLoop();
    // Until `count` held waits have begun on the client's side; false after ten seconds.
    bool awaitHeldWaits(int count);
    int heldWaits() const { return m_heldWaits; }
    // How deep the calling thread holds the loop's lock, and the calls the library forbids
    // without it (a wait, a signal, an unlock).
    int loopLocksHeld() const;
    int loopMisuses() const { return m_misuses; }
    // A timing update reaches the client: it sees the positions as they are now, and its
    // requests for one are answered.
    void publishTiming();
    // The server stops (SIGSTOP): the sink reads nothing, nothing is asked for or answered,
    // and what the client sends waits for it. Going on, it answers at once.
    void stopServer();
    void continueServer();
    void changeSinkRate(int rate);
    void failStream();
    // Another stream on the server: of a program with this process id, corked or playing. The
    // client hears of it if it subscribed.
    void addOtherStream(long processId, bool corked);

    // What the sink read, by the stream's byte index over frames (left, right); frames never
    // read, because the stream ran dry or was dropped, are absent from `readFrames`.
    std::vector<float> readSamples;
    std::vector<bool> readFrames;
    std::int64_t readIndex() const { return m_read; }
    std::int64_t writeIndex() const { return m_write; }
    std::int64_t queuedBytes() const { return m_write - m_read; }
    // Frames written behind the read position, which nobody hears.
    std::int64_t lateFrames = 0;
    // Where the last stretch written over the queue began.
    std::int64_t overwriteStart = -1;
    int streamsMade = 0;
    int contextsMade = 0;
    // Deferred events the client holds.
    int deferEvents = 0;
    int underflows = 0;
    bool corked() const { return m_corked; }
    bool hasStream() const { return m_streamExists; }
    int streamRate() const { return int(m_format.rate); }
    const pa_buffer_attr &bufferAttr() const { return m_attr; }
    pa_stream_flags_t streamFlags() const { return m_flags; }

private:
    friend struct FakePulseCalls;

    void request();
    void read(std::int64_t microseconds);
    void fireDueTimer();
    bool prebuffered() const;
    void store(const float *data, std::int64_t index, std::size_t bytes);

    PulseLibrary m_library;
    std::int64_t m_nowUs = 1'000'000;
    std::int64_t m_readFraction = 0;

    struct OtherStream {
        std::uint32_t index = 0;
        bool corked = false;
        std::string processId;
    };
    std::vector<OtherStream> m_otherStreams;
    // What the client hears of another stream, as the server answers.
    static pa_sink_input_info infoOf(const OtherStream &stream);

    int m_error = 0;
    pa_context_state_t m_contextState = PA_CONTEXT_UNCONNECTED;
    pa_context_notify_cb_t m_contextStateCallback = nullptr;
    void *m_contextStateData = nullptr;
    pa_context_subscribe_cb_t m_subscribeCallback = nullptr;
    void *m_subscribeData = nullptr;
    pa_defer_event_cb_t m_deferCallback = nullptr;
    void *m_deferData = nullptr;
    bool m_deferEnabled = false;
    pa_time_event_cb_t m_timerCallback = nullptr;
    void *m_timerData = nullptr;
    std::int64_t m_timerDueUs = 0;
    int m_signalsSent = 0;
    std::atomic<int> m_misuses{0};

    std::recursive_mutex m_loopMutex;
    std::condition_variable_any m_loopSignal;
    std::atomic<int> m_heldWaits{0};
    // Answers on their way to the client, in order.
    std::vector<std::pair<std::int64_t, std::function<void()>>> m_answers;

    bool m_streamExists = false;
    pa_sample_spec m_format{};
    pa_buffer_attr m_attr{};
    pa_stream_flags_t m_flags{};
    pa_stream_state_t m_streamState = PA_STREAM_UNCONNECTED;
    pa_stream_notify_cb_t m_streamStateCallback = nullptr;
    void *m_streamStateData = nullptr;
    pa_stream_request_cb_t m_writeCallback = nullptr;
    void *m_writeData = nullptr;
    pa_stream_notify_cb_t m_underflowCallback = nullptr;
    void *m_underflowData = nullptr;

    std::int64_t m_read = 0;
    std::int64_t m_write = 0;
    bool m_corked = false;
    bool m_playing = false;
    std::int64_t m_startAtUs = -1;
    // Up to when the sink has read.
    std::int64_t m_sinkUs = 0;
    std::int64_t m_overwriteEnd = -1;
    std::vector<float> m_queue;
    std::vector<char> m_writeBuffer;
    pa_timing_info m_timing{};
    bool m_timingValid = false;
    bool m_stopped = false;
    std::vector<std::pair<pa_stream_success_cb_t, void *>> m_timingRequests;
};
