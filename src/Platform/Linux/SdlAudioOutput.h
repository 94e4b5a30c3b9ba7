#pragma once

#include "Platform/AudioOutput.h"

#include <QString>

#include <atomic>
#include <chrono>
#include <cstdint>

// An output stream through SDL's audio subsystem. The subsystem stays initialised for the
// object's life, so reopening the device after idle only creates a new stream.
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
    bool ensureSubsystem();

    bool m_subsystemReady = false;
    std::uint32_t m_device = 0;
    std::chrono::microseconds m_margin{0};
    Callback m_callback;
};
