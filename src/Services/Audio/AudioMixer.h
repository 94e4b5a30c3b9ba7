#pragma once

#include "Platform/AudioOutput.h"
#include "Services/Audio/PeakLimiter.h"
#include "Services/Audio/PlaybackSample.h"
#include "Services/Audio/SpscRing.h"

#include <array>
#include <chrono>
#include <optional>
#include <atomic>
#include <cstdint>
#include <limits>
#include <memory>
#include <vector>

// The mix the output callback runs: a fixed pool of voices fed through a lock-free ring.
// One thread (the engine's queue) posts sounds; the device thread renders. The render path
// never allocates, frees, locks or decodes: samples arrive decoded, and the references the
// callback lets go of travel back through a second ring to be dropped on the posting side.
// Each voice keeps the frame of the output's timeline it started at, so a stretch already
// rendered can be rendered again with a new sound mixed in from a given frame on.
class AudioMixer final : public AudioRenderer {
public:
    static constexpr double stealFadeSeconds = 0.0015;

    struct Sound {
        std::shared_ptr<const PlaybackSample> sample;
        int voice = 0;
        float gainLeft = 0.0f;
        float gainRight = 0.0f;
        // Sample frames advanced per output frame: pitch times the ratio of the two rates.
        double step = 1.0;
        // The latest its first frame may be heard, on the monotonic clock: later it no longer
        // belongs to its key.
        std::chrono::nanoseconds deadline = std::chrono::nanoseconds::max();
    };

    explicit AudioMixer(int voiceCount, double limiterReleaseSeconds = PeakLimiter::defaultReleaseSeconds);

    int voiceCount() const { return int(m_voices.size()); }

    // Only while the callback is not running (device closed or never opened).
    void prepare(int outputSampleRate);
    void reset();

    // Posting side. False when the ring is full and the sound was dropped. Also drops the
    // samples the callback has finished with.
    bool post(Sound &&sound);
    // A gain applied to the whole mix before the limiter, from any thread; 1 by default.
    void setPreGain(float gain) { m_preGain.store(gain, std::memory_order_relaxed); }
    // Nothing sounding and nothing waiting to start.
    bool isSilent() const;

    void render(float *interleaved, int frames) noexcept override;
    using AudioRenderer::renderFrom;
    bool renderFrom(std::int64_t from, float *interleaved, int frames, bool startWaiting) noexcept override;
    bool soundsWaiting() const noexcept override { return !m_commands.empty(); }
    void nextRenderHeardAt(std::chrono::nanoseconds monotonic) noexcept override { m_nextHeardAt = monotonic; }

private:
    static constexpr std::int64_t never = std::numeric_limits<std::int64_t>::max();

    struct Playback {
        std::shared_ptr<const PlaybackSample> sample;
        std::int64_t startFrame = 0;
        double step = 1.0;
        float gainLeft = 0.0f;
        float gainRight = 0.0f;
        // The timeline frame its fade-out begins at.
        std::int64_t fadeFrame = never;
        float fadeStep = 0.0f;
        std::chrono::nanoseconds deadline = std::chrono::nanoseconds::max();
    };
    // The limiter's state as a render began at a frame, so a stretch rendered again starts
    // from the same gain.
    struct Checkpoint {
        std::int64_t frame = -1;
        float limiterGain = 1.0f;
    };
    // A voice keeps the sound it plays and, for a moment after being taken over, the tail of
    // the sound before it fading out, so the cut is not heard as a click.
    struct Voice {
        Playback current;
        Playback fading;
    };

    static constexpr std::size_t commandCapacity = 64;
    static constexpr std::size_t checkpointCount = 64;
    // Each post empties this ring first, and each command retires at most two references,
    // so it can never fill up.
    static constexpr std::size_t releaseCapacity = 256;
    static_assert(releaseCapacity >= 2 * (commandCapacity + 1));

    void releaseFinished();
    void start(Sound &sound, std::int64_t frame) noexcept;
    void retire(Playback &playback) noexcept;
    void rewindTo(std::int64_t frame) noexcept;
    // Drops the sounds starting in a stretch about to be rendered whose start would be heard
    // after their deadline, now that the stretch is heard at `heardAt`.
    void dropLateStarts(std::int64_t from, std::chrono::nanoseconds heardAt) noexcept;
    std::chrono::nanoseconds heardAt(std::int64_t frame, std::int64_t from, std::chrono::nanoseconds fromHeardAt) const noexcept;
    // Mixes the voices into `out` and returns how many still sound after its last frame.
    int mixVoices(float *out, std::int64_t from, int frames) noexcept;
    // The pre-gain and the limiter, in place.
    void finish(float *interleaved, int frames) noexcept;
    static bool sounds(const Playback &playback, std::int64_t frame) noexcept;
    static void mix(const Playback &playback, float *out, std::int64_t from, int frames) noexcept;

    std::vector<Voice> m_voices;
    PeakLimiter m_limiter;
    float m_fadeStep = 1.0f;
    int m_sampleRate = 0;
    // When the next render is heard, if the road said.
    std::optional<std::chrono::nanoseconds> m_nextHeardAt;
    // Render-side timeline: the frame the next render continues from, the latest start, and
    // the limiter's state at the start of recent renders.
    std::int64_t m_nextFrame = 0;
    std::int64_t m_latestStart = 0;
    std::array<Checkpoint, checkpointCount> m_checkpoints{};
    std::size_t m_nextCheckpoint = 0;
    SpscRing<Sound, commandCapacity> m_commands;
    SpscRing<std::shared_ptr<const PlaybackSample>, releaseCapacity> m_released;
    // Sounds posted, and sounds the callback has taken in; the callback publishes its count
    // of active playbacks before its count of sounds taken.
    std::uint64_t m_posted = 0;
    std::atomic<std::uint64_t> m_started{0};
    std::atomic<int> m_activeCount{0};
    std::atomic<float> m_preGain{1.0f};
};
