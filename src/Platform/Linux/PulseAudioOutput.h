#pragma once

#include "Platform/AudioOutput.h"
#include "Platform/TimedOpen.h"

#include <QString>

#include <memory>
#include <optional>

struct PulseLibrary;

// A playback stream of a PulseAudio server (or a server speaking its protocol), at the rate of
// the default sink. The connection stays up for the object's life. Closing corks the stream
// and empties it, and the next open takes it up again, unless another program has started
// playing meanwhile or the sink's rate changed. The stream keeps a deep queue, so a stall of
// the client or the server does not run it dry; the renderer runs on the client's main-loop
// thread as each request comes in. A sound posted is mixed into what is queued: everything
// from just ahead of where the server reads is rendered again with it and written over the
// queue, so the depth of the queue does not delay it.
class PulseAudioOutput final : public AudioOutput {
public:
    // What the stream keeps queued when nothing ran dry, and the least the server asks for.
    static constexpr std::chrono::microseconds targetLength{24000};
    static constexpr std::chrono::microseconds requestLength{2000};
    // How far ahead of the server's read position a sound written over the queue starts, at
    // least, and at most however far the sink was seen to read ahead of its reports.
    static constexpr std::chrono::microseconds leadLength{1500};
    static constexpr std::chrono::microseconds longestLead{6000};
    // A request for the read position unanswered this long: the server has stopped reading,
    // and sounds wait for its answer, which says when they would be heard.
    static constexpr std::chrono::microseconds stallLength{30000};

    // Without a library, PulseAudio's own is loaded on first use.
    explicit PulseAudioOutput(const PulseLibrary *library = nullptr);
    ~PulseAudioOutput() override;
    PulseAudioOutput(const PulseAudioOutput &) = delete;
    PulseAudioOutput &operator=(const PulseAudioOutput &) = delete;

    // The default sink's rate.
    OpenResult<int> preferredSampleRate() override;
    OpenResult<Format> open(int requestedBufferFrames, AudioRenderer &renderer) override;
    void resume() override;
    void soundPosted() override;
    void close() override;
    bool isLost() const override;
    int underruns() const override;
    bool setMargin(std::chrono::microseconds margin) override;
    void abandonOpens(bool abandoned) override;
    std::optional<SoundServer> server() const override { return SoundServer::pulseAudio; }
    // Sounds mixed into a queue that still held sound where they start: for the benchmarks.
    int postedOverSound() const;

    struct Impl;

private:
    // The deadline, on the library's clock, of an attempt beginning now, once the library is
    // there and the road not abandoned.
    OpenResult<TimedOpen::Nanoseconds> beginAttempt();
    // Connected, having the sink's rate by `deadline`, or why not.
    std::optional<OpenError> connect(TimedOpen::Nanoseconds deadline);
    // The default sink's rate, else the server's.
    int rate() const;
    void disconnect();

    std::unique_ptr<Impl> m_impl;
};
