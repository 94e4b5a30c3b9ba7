#pragma once

#include "Effects/ScreenToys/ScreenToyKind.h"
#include "Foundation/SerialQueue.h"
#include "Platform/AudioOutput.h"
#include "Services/Audio/AudioMixer.h"
#include "Services/Audio/SampleDecoder.h"

#include <QString>

#include <array>
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

// The short sounds of the screen toys: one per kind plus the grenade throw, on four voices
// taken in turn and a peak limiter whose pre-gain carries the part of a gain above 1. All
// playback work runs on the sound's own serial queue. The output opens with the first sound
// and closes again 2 s after the last one.
class ScreenToySound {
public:
    static inline const QString queueLabel = QStringLiteral("local.plinkly.screen-toy-audio");
    static constexpr int sampleRate = 48000;
    static constexpr int voiceCount = 4;
    static constexpr std::chrono::milliseconds idleDelay{2000};
    static constexpr int requestedBufferFrames = 256;
    static constexpr double limiterReleaseSeconds = 0.025;

    // Mono samples at 48 kHz.
    using Buffer = std::shared_ptr<const PlaybackSample>;
    // Runs a task once after a delay, on any thread.
    using DelayedCall = std::function<void(std::chrono::milliseconds delay, std::function<void()> task)>;

    // Reads nothing yet: the recordings in `audioFolder` are read by `load` or the first sound.
    // `delayedCall` defaults to the queue.
    ScreenToySound(std::unique_ptr<AudioOutput> output, const QString &audioFolder = defaultAudioFolder(),
                   DelayedCall delayedCall = {});
    ~ScreenToySound();
    ScreenToySound(const ScreenToySound &) = delete;
    ScreenToySound &operator=(const ScreenToySound &) = delete;

    // Reads every recording, once until `release`: ahead of the first sound while a toy is out.
    void load();
    // Frees the recordings; a sound still playing keeps its own to its end.
    void release();
    bool isLoaded() const { return m_loaded; }

    void play(ScreenToyKind kind, float volume);
    // Plays any 48 kHz mono buffer; nothing unless the gain is positive and finite.
    void playBuffer(Buffer buffer, float requestedGain);
    // Waits until every voice is silent and the output closed.
    void stop();
    // Silences every voice and closes the output once what is queued has run; returns at once,
    // since an output still opening may be waiting on the sound server.
    void stopSoon();

    const Buffer &buffer(ScreenToyKind kind) const;
    // Null when the throw recording is missing or unusable.
    const Buffer &grenadeThrowBuffer() const { return m_grenadeThrowBuffer; }
    bool isRunning() const { return m_running.load(std::memory_order_acquire); }
    // Waits until everything queued so far has run.
    void flush();

    static float playbackVolume(ScreenToyKind kind, float volume);
    // The volume a whip crack asks for: louder the faster the swing that cracked it.
    static float crackVolume(float volume, double lashSpeed);
    // The kind's recording when it is a usable 48 kHz mono file, else its synthesised sound.
    static std::vector<float> samples(ScreenToyKind kind, const QString &audioFolder);
    static std::vector<float> fallbackSamples(ScreenToyKind kind);
    static double fallbackSeconds(ScreenToyKind kind);
    static QString fileName(ScreenToyKind kind);
    static inline const QString throwFileName = QStringLiteral("grenade-throw.wav");
    // The file's path when it exists.
    static std::optional<QString> recordingPath(const QString &audioFolder, const QString &fileName);
    // The throw recording converted to the voices' format, or null.
    static Buffer loadThrowRecording(const QString &audioFolder);
    static QString defaultAudioFolder();

private:
    void playNow(const Buffer &buffer, float gain);
    bool openOutput();
    void closeOutput();
    void scheduleIdleStop();

    std::unique_ptr<AudioOutput> m_output;
    QString m_audioFolder;
    DelayedCall m_delayedCall;
    AudioMixer m_mixer;
    std::array<Buffer, 5> m_buffers;
    Buffer m_grenadeThrowBuffer;
    bool m_loaded = false;

    // Queue-confined.
    int m_nextPlayer = 0;
    int m_outputRate = sampleRate;
    bool m_open = false;
    std::uint64_t m_idleGeneration = 0;

    std::atomic<bool> m_running{false};
    // Last, so it is torn down first, while everything its tasks touch still exists.
    SerialQueue m_queue;
};
