#pragma once

#include "Platform/AudioOutput.h"

#include <QString>

#include <memory>
#include <optional>

// A playback stream of a PulseAudio server (or a server speaking its protocol). The connection
// stays up for the object's life. Closing corks the stream and empties it, and the next open
// takes it up again, unless another program has started playing meanwhile. The
// stream keeps only a few milliseconds queued and the server asks often for little; the
// renderer runs on the client's main-loop thread as each request comes in. A sound posted
// while all that is queued is silence is written over the queue, just ahead of where the
// server reads, so the margin against running dry does not delay it.
class PulseAudioOutput final : public AudioOutput {
public:
    // What the stream keeps queued when nothing ran dry, and the least the server asks for.
    static constexpr std::chrono::microseconds targetLength{6000};
    static constexpr std::chrono::microseconds requestLength{1500};
    // How far ahead of the server's read position a sound written over the queue starts.
    static constexpr std::chrono::microseconds leadLength{1500};

    PulseAudioOutput();
    ~PulseAudioOutput() override;
    PulseAudioOutput(const PulseAudioOutput &) = delete;
    PulseAudioOutput &operator=(const PulseAudioOutput &) = delete;

    // The server's own rate; 0 when no server answers.
    int preferredSampleRate() override;
    Result<Format> open(int requestedBufferFrames, AudioRenderer &renderer) override;
    void resume() override;
    void soundPosted() override;
    void close() override;
    bool isLost() const override;
    int underruns() const override;
    bool setMargin(std::chrono::microseconds margin) override;
    void abandonOpens(bool abandoned) override;
    // Sounds posted while what was queued still held sound, so they waited behind it: for the
    // benchmarks.
    int postedOverSound() const;

    struct Impl;

private:
    std::optional<QString> connect();
    void disconnect();

    std::unique_ptr<Impl> m_impl;
};
