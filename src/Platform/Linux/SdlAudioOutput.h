#pragma once

#include "Platform/AudioOutput.h"
#include "Platform/TimedOpen.h"

#include <QString>
#include <QStringList>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>

// An output stream through SDL's audio subsystem. SDL's audio is started once for the process
// and stays up, so reopening the device after idle only creates a new stream. Every SDL call
// that can wait on a sound server (starting the audio, asking the default device's rate,
// opening the device) runs on SDL's own thread, one at a time, and is waited for under the
// timed open: a call that has not returned in its time is given up, and calls fail at once
// until it returns. SDL is steered away from its drivers for servers found silent in the
// same attempt, unless the user chose its driver (`SDL_AUDIODRIVER`).
class SdlAudioOutput final : public AudioOutput {
public:
    SdlAudioOutput();
    ~SdlAudioOutput() override;
    SdlAudioOutput(const SdlAudioOutput &) = delete;
    SdlAudioOutput &operator=(const SdlAudioOutput &) = delete;

    OpenResult<int> preferredSampleRate() override;
    OpenResult<Format> open(int requestedBufferFrames, AudioRenderer &renderer) override;
    void resume() override;
    void close() override;
    bool isLost() const override;
    int underruns() const override { return m_callback.underruns.load(std::memory_order_relaxed); }
    // Taken by the next stream: SDL cannot change the buffer of an open one.
    bool setMargin(std::chrono::microseconds margin) override;
    void abandonOpens(bool abandoned) override;
    void avoidServers(const SoundServers &silent) override { m_avoided = silent; }

    // The buffer length to ask the driver for: sound servers (PulseAudio, PipeWire) schedule
    // their clients less tightly than a device does, so short buffers run dry there. The
    // margin comes on top.
    static int bufferFramesFor(const QString &driver, int requestedFrames, std::chrono::microseconds margin, int rate);
    // The drivers SDL is to try, of those it has in its order, when `silent` servers were found
    // silent: its own drivers for them are left out, and so are those it takes only when named
    // (no sound at all, or into a file). Empty, for SDL's own choice, when nothing was silent.
    static QString driversAvoiding(const QStringList &available, const SoundServers &silent);

    // What the device thread's callback reaches: the renderer, and the times of its calls,
    // from which a late buffer (one the stream ran dry waiting for) is told.
    struct Callback {
        AudioRenderer *renderer = nullptr;
        std::chrono::steady_clock::duration lateAfter{};
        std::chrono::steady_clock::time_point last{};
        int calls = 0;
        std::atomic<int> underruns{0};
    };

    // A call on SDL's thread that this output waits for.
    struct Waiting;

private:
    // Runs `work` on SDL's thread and waits for it under the timed open; the result of a call
    // given up meanwhile goes to `discard` there.
    template <typename T, typename Work, typename Discard>
    OpenResult<T> onSdlThread(Work work, Discard discard);

    TimedOpen m_timed;
    std::mutex m_waitingMutex;
    std::shared_ptr<Waiting> m_waiting;
    SoundServers m_avoided;

    std::uint32_t m_device = 0;
    std::chrono::microseconds m_margin{0};
    Callback m_callback;
};
