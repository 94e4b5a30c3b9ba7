#pragma once

#include "Foundation/Clock.h"
#include "Foundation/Error.h"
#include "Foundation/SerialQueue.h"
#include "Models/KeyGroup.h"
#include "Models/KeyPhase.h"
#include "Platform/AudioOutput.h"
#include "Services/Audio/AudioMixer.h"
#include "Services/Audio/LatencyMargin.h"
#include "Services/Audio/SoundBank.h"

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <random>

// One sound to play: which sample, where in the stereo field, how loud and how varied.
struct SoundRequest {
    KeyGroup group = KeyGroup::regular;
    KeyPhase phase = KeyPhase::down;
    double pan = 0.0;
    double volume = 1.0;
    double volumeVariation = 0.0;
    double pitchVariation = 0.0;
};

// Plays the samples of one pack through a pool of voices. Everything happens on the engine's
// own serial queue: starting, stopping, playing, swapping packs. The output device opens on
// the first sound and closes again after a stretch of silence, so an idle engine costs no CPU.
class AudioEngine {
public:
    // The buffer length asked for; a stream that runs dry keeps a wider margin beyond it for a
    // while (LatencyMargin).
    static constexpr int bufferFrames = 128;
    // A failed open is not tried again for this long after it gave up, so a machine without
    // sound, or with a server that does not answer, does not pay for a doomed open on every
    // keystroke.
    static constexpr std::chrono::milliseconds reopenDelay{1000};
    // A sound that cannot start this soon after it was asked for is dropped: played later it
    // would no longer belong to its key, and a backlog would sound all at once. The roads hold
    // each sound to it up to when the listener would hear it.
    static constexpr std::chrono::milliseconds lateLimit{100};

    // Runs a task once after a delay; the task may run on any thread.
    using DelayedCall = std::function<void(std::chrono::milliseconds delay, std::function<void()> task)>;

    enum Code : int { outputUnavailable = 10 };

    // `delayedCall` defaults to the engine's own queue. Without an output the engine plays
    // nothing and reports the output as unavailable.
    AudioEngine(int voiceCount, std::chrono::milliseconds idleTimeout, std::unique_ptr<AudioOutput> output,
                const Clock &clock, DelayedCall delayedCall = {});
    ~AudioEngine();
    AudioEngine(const AudioEngine &) = delete;
    AudioEngine &operator=(const AudioEngine &) = delete;

    // Closes the output at once (waits for it). Sounds still queued are dropped, and an open in
    // progress is abandoned rather than waited for.
    void stop();
    // Closes the output once what is queued before it has run; returns at once.
    void stopSoon();
    // From any thread; returns at once.
    void play(const SoundRequest &request);
    // The pack to play from now on; sounds already playing ring out. From any thread; when
    // `stillWanted` is given, it is asked on the engine's queue, in order with other swaps.
    void setSounds(std::shared_ptr<const SoundBank> sounds, std::function<bool()> stillWanted = {});
    void setLoudnessMatching(bool enabled) { m_loudnessMatching.store(enabled, std::memory_order_relaxed); }

    // The rate sounds should be prepared at: the output device's own once known, a default
    // until then. Returns at once, from any thread: the first call has the output asked on the
    // engine's queue, and an answer at another rate is announced as a change of rate.
    int sampleRate();
    // Makes the sounds at the engine's rate on its queue, then plays the request from them;
    // nothing plays when `prepare` yields none. From any thread; returns at once.
    void playPrepared(std::function<std::shared_ptr<const SoundBank>(int sampleRate)> prepare,
                      const SoundRequest &request);
    // Called on the engine's queue when the output's rate turns out to differ from the one
    // sounds were prepared at (its answer came, the sink changed its rate, or another road
    // took over): they still play at the right speed, and are best prepared again at the new
    // rate. From any thread.
    void onSampleRateChange(std::function<void(int sampleRate)> handler);
    bool isRunning() const { return m_running.load(std::memory_order_acquire); }
    // Why the output could not be opened the last time it was tried; empty once it opens.
    std::optional<Error> outputError() const;
    // Waits until everything queued so far has run.
    void flush();
    // Runs `task` on the engine's queue once everything queued so far has run; returns at once.
    void afterQueued(std::function<void()> task);

    // Left and right gains of a constant-power pan, unity for both at the centre.
    static std::pair<float, float> panGains(double pan);

private:
    void askSampleRate();
    // The output's rate, learnt on the queue: announced when sounds were prepared at another.
    void learnSampleRate(int rate);
    void playNow(const SoundRequest &request, Clock::Uptime askedAt);
    bool isLate(Clock::Uptime askedAt) const;
    bool openOutput();
    void applyMargin();
    void closeOutput();
    void resumeOutput();
    void noteActivity();
    void scheduleIdleCheck(std::chrono::milliseconds delay);
    void checkIdle();

    const int m_voiceCount;
    const std::chrono::milliseconds m_idleTimeout;
    std::unique_ptr<AudioOutput> m_output;
    const Clock &m_clock;
    DelayedCall m_delayedCall;
    AudioMixer m_mixer;

    // Queue-confined state.
    std::shared_ptr<const SoundBank> m_sounds;
    std::minstd_rand m_random;
    int m_nextVoice = 0;
    int m_outputRate = 0;
    LatencyMargin m_margin;
    std::function<void(int sampleRate)> m_onSampleRateChange;
    // The margin the output was last given, and the underruns of its open stream seen so far.
    std::chrono::microseconds m_appliedMargin{0};
    int m_underrunsSeen = 0;
    bool m_open = false;
    bool m_paused = false;
    bool m_idleCheckPending = false;
    Clock::Uptime m_lastActivity{};
    std::optional<Clock::Uptime> m_lastFailure;

    std::atomic<int> m_sampleRate{0};
    std::atomic<bool> m_running{false};
    std::atomic<bool> m_loudnessMatching{true};
    // Raised while stop() waits for the queue: what is still queued plays nothing.
    std::atomic<bool> m_stopping{false};
    mutable std::mutex m_errorMutex;
    std::optional<Error> m_outputError;

    // Last, so it is torn down first, while everything its tasks touch still exists.
    SerialQueue m_queue;
};
