#pragma once

#include "Platform/AudioOutput.h"

#include <QString>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>

// An output stream through SDL's audio subsystem. The subsystem stays initialised for the
// object's life, so reopening the device after idle only creates a new stream. An open runs
// on a thread of its own: one that does not return within 2 s is given up, and SDL's audio
// with it for the rest of the process; one abandoned is left to finish there.
class SdlAudioOutput final : public AudioOutput {
public:
    SdlAudioOutput();
    ~SdlAudioOutput() override;
    SdlAudioOutput(const SdlAudioOutput &) = delete;
    SdlAudioOutput &operator=(const SdlAudioOutput &) = delete;

    int preferredSampleRate() override;
    Result<Format> open(int requestedBufferFrames, AudioRenderer &renderer) override;
    void resume() override;
    void close() override;
    bool isLost() const override;
    int underruns() const override { return m_callback.underruns.load(std::memory_order_relaxed); }
    // Taken by the next stream: SDL cannot change the buffer of an open one.
    bool setMargin(std::chrono::microseconds margin) override;
    void abandonOpens(bool abandoned) override;

    // The buffer length to ask the driver for: sound servers (PulseAudio, PipeWire) schedule
    // their clients less tightly than a device does, so short buffers run dry there. The
    // margin comes on top.
    static int bufferFramesFor(const QString &driver, int requestedFrames, std::chrono::microseconds margin, int rate);

    // What the device thread's callback reaches: the renderer, and the times of its calls,
    // from which a late buffer (one the stream ran dry waiting for) is told.
    struct Callback {
        AudioRenderer *renderer = nullptr;
        std::chrono::steady_clock::duration lateAfter{};
        std::chrono::steady_clock::time_point last{};
        int calls = 0;
        std::atomic<int> underruns{0};
    };

private:
    // An open under way on its own thread, shared with that thread.
    struct Opening {
        std::mutex mutex;
        std::condition_variable changed;
        bool done = false;
        bool abandoned = false;
        bool givenUp = false;
        std::uint32_t device = 0;
        int rate = 0;
        int frames = 0;
        QString error;
    };

    bool ensureSubsystem();

    std::mutex m_openingMutex;
    std::shared_ptr<Opening> m_opening;
    bool m_abandoned = false;

    bool m_subsystemReady = false;
    std::uint32_t m_device = 0;
    std::chrono::microseconds m_margin{0};
    Callback m_callback;
};
