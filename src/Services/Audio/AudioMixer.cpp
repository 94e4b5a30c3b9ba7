#include "Services/Audio/AudioMixer.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#elif defined(__SSE__)
#include <xmmintrin.h>
#endif

AudioMixer::AudioMixer(int voiceCount, double limiterReleaseSeconds)
    : m_voices(std::size_t(std::max(voiceCount, 1)))
    , m_limiter(limiterReleaseSeconds)
{
}

void AudioMixer::prepare(int outputSampleRate)
{
    reset();
    m_limiter.prepare(outputSampleRate);
    m_sampleRate = outputSampleRate;
    m_fadeStep = float(1.0 / std::max(1.0, stealFadeSeconds * outputSampleRate));
}

void AudioMixer::reset()
{
    Sound pending;
    while (m_commands.pop(pending))
        pending = {};
    releaseFinished();
    for (Voice &voice : m_voices)
        voice = {};
    m_limiter.reset();
    m_nextFrame = 0;
    m_latestStart = 0;
    m_checkpoints.fill({});
    m_nextCheckpoint = 0;
    m_posted = 0;
    m_started.store(0, std::memory_order_relaxed);
    m_activeCount.store(0, std::memory_order_relaxed);
    m_nextHeardAt.reset();
}

bool AudioMixer::post(Sound &&sound)
{
    releaseFinished();
    if (sound.voice < 0 || sound.voice >= voiceCount() || !sound.sample || sound.sample->frames() == 0)
        return false;
    if (!m_commands.push(std::move(sound)))
        return false;
    ++m_posted;
    return true;
}

void AudioMixer::releaseFinished()
{
    std::shared_ptr<const PlaybackSample> finished;
    while (m_released.pop(finished))
        finished.reset();
}

bool AudioMixer::isSilent() const
{
    return m_started.load(std::memory_order_acquire) == m_posted
        && m_activeCount.load(std::memory_order_relaxed) == 0;
}

void AudioMixer::retire(Playback &playback) noexcept
{
    if (playback.sample)
        m_released.push(std::move(playback.sample));
}

bool AudioMixer::sounds(const Playback &playback, std::int64_t frame) noexcept
{
    if (!playback.sample)
        return false;
    const std::int64_t since = std::max<std::int64_t>(frame - playback.startFrame, 0);
    if (std::int64_t(double(since) * playback.step) >= playback.sample->frames())
        return false;
    return frame < playback.fadeFrame || 1.0f - float(frame - playback.fadeFrame) * playback.fadeStep > 0.0f;
}

void AudioMixer::start(Sound &sound, std::int64_t frame) noexcept
{
    Voice &voice = m_voices[std::size_t(sound.voice)];
    retire(voice.fading);
    if (sounds(voice.current, frame)) {
        voice.fading = std::move(voice.current);
        voice.fading.fadeFrame = frame;
        voice.fading.fadeStep = m_fadeStep;
    } else {
        retire(voice.current);
    }
    Playback &playback = voice.current;
    playback.sample = std::move(sound.sample);
    playback.startFrame = frame;
    playback.step = sound.step;
    playback.gainLeft = sound.gainLeft;
    playback.gainRight = sound.gainRight;
    playback.fadeFrame = never;
    playback.fadeStep = 0.0f;
    playback.deadline = sound.deadline;
}

// Every value is worked out from the frame's distance to the start and the fade, never carried
// from the frame before, so a stretch comes out the same to the bit however it is split up.
void AudioMixer::mix(const Playback &playback, float *out, std::int64_t from, int frames) noexcept
{
    const PlaybackSample &sample = *playback.sample;
    const std::int16_t *data = sample.samples.data();
    const qint64 length = sample.frames();
    const bool stereo = sample.channels == 2;
    // The sample's scale rides on the gains: at full scale a power of two, so the result is the
    // same to the bit as scaling each value.
    const float gainLeft = playback.gainLeft * sample.scale;
    const float gainRight = playback.gainRight * sample.scale;
    const double step = playback.step;
#if defined(__SSE2__)
    const __m128 gains = _mm_setr_ps(gainLeft, gainRight, 0.0f, 0.0f);
#endif
    for (int i = int(std::clamp<std::int64_t>(playback.startFrame - from, 0, frames)); i < frames; ++i) {
        const std::int64_t frameIndex = from + i;
        const double position = double(frameIndex - playback.startFrame) * step;
        const float fade =
            frameIndex < playback.fadeFrame ? 1.0f : 1.0f - float(frameIndex - playback.fadeFrame) * playback.fadeStep;
        const qint64 index = qint64(position);
        if (index >= length || fade <= 0.0f)
            break;
        const float fraction = float(position - double(index));
        const std::int16_t *frame = data + (stereo ? 2 * index : index);
#if defined(__SSE2__)
        if (index + 1 < length) {
            // Both frames widened at once: left, right, next left, next right (mono: the two values).
            __m128i raw;
            if (stereo) {
                raw = _mm_loadl_epi64(reinterpret_cast<const __m128i *>(frame));
            } else {
                std::int32_t pair;
                std::memcpy(&pair, frame, sizeof pair);
                raw = _mm_cvtsi32_si128(pair);
            }
            const __m128 values = _mm_cvtepi32_ps(_mm_srai_epi32(_mm_unpacklo_epi16(raw, raw), 16));
            const __m128 current = stereo ? values : _mm_shuffle_ps(values, values, _MM_SHUFFLE(0, 0, 0, 0));
            const __m128 next = stereo ? _mm_movehl_ps(values, values)
                                       : _mm_shuffle_ps(values, values, _MM_SHUFFLE(1, 1, 1, 1));
            const __m128 mixed = _mm_add_ps(current, _mm_mul_ps(_mm_sub_ps(next, current), _mm_set1_ps(fraction)));
            const __m128 scaled = _mm_mul_ps(_mm_mul_ps(mixed, gains), _mm_set1_ps(fade));
            float *target = out + 2 * i;
            const __m128 sum = _mm_add_ps(_mm_castsi128_ps(_mm_loadl_epi64(reinterpret_cast<const __m128i *>(target))), scaled);
            _mm_storel_pi(reinterpret_cast<__m64 *>(target), sum);
            continue;
        }
#endif
        const bool hasNext = index + 1 < length;
        const float thisLeft = frame[0];
        const float thisRight = frame[stereo ? 1 : 0];
        const float nextLeft = hasNext ? frame[stereo ? 2 : 1] : 0.0f;
        const float nextRight = hasNext ? frame[stereo ? 3 : 1] : 0.0f;
        const float left = thisLeft + (nextLeft - thisLeft) * fraction;
        const float right = thisRight + (nextRight - thisRight) * fraction;
        out[2 * i] += left * gainLeft * fade;
        out[2 * i + 1] += right * gainRight * fade;
    }
}

namespace {
// Decaying tails reach denormal floats, which are slow on x86: flush them to zero while
// mixing, and give the calling thread its own setting back afterwards.
class FlushDenormals {
public:
#if defined(__SSE__)
    FlushDenormals() : m_previous(_mm_getcsr()) { _mm_setcsr(m_previous | 0x8040); }
    ~FlushDenormals() { _mm_setcsr(m_previous); }

private:
    unsigned m_previous;
#endif
};
}

int AudioMixer::mixVoices(float *out, std::int64_t from, int frames) noexcept
{
    std::memset(out, 0, sizeof(float) * 2 * std::size_t(frames));
    int active = 0;
    for (Voice &voice : m_voices) {
        for (const Playback *playback : {&voice.fading, &voice.current}) {
            if (!sounds(*playback, from))
                continue;
            mix(*playback, out, from, frames);
            active += sounds(*playback, from + frames) ? 1 : 0;
        }
    }
    return active;
}

void AudioMixer::finish(float *interleaved, int frames) noexcept
{
    if (const float preGain = m_preGain.load(std::memory_order_relaxed); preGain != 1.0f) {
        for (int i = 0; i < 2 * frames; ++i)
            interleaved[i] *= preGain;
    }
    m_limiter.process(interleaved, frames);
}

// Back to the limiter's state at `frame`: from the latest checkpoint at or before it, the
// stretch up to it is mixed again into a scratch buffer and only the gain is kept.
void AudioMixer::rewindTo(std::int64_t frame) noexcept
{
    const Checkpoint *base = nullptr;
    for (Checkpoint &checkpoint : m_checkpoints) {
        if (checkpoint.frame > frame)
            checkpoint = {};
        else if (checkpoint.frame >= 0 && (!base || checkpoint.frame > base->frame))
            base = &checkpoint;
    }
    if (!base)
        return;
    m_limiter.restoreGain(base->limiterGain);
    constexpr int scratchFrames = 256;
    float scratch[2 * scratchFrames];
    for (std::int64_t at = base->frame; at < frame;) {
        const int frames = int(std::min<std::int64_t>(scratchFrames, frame - at));
        mixVoices(scratch, at, frames);
        finish(scratch, frames);
        at += frames;
    }
}

void AudioMixer::render(float *interleaved, int frames) noexcept
{
    renderFrom(m_nextFrame, interleaved, frames);
}

std::chrono::nanoseconds AudioMixer::heardAt(std::int64_t frame, std::int64_t from,
                                             std::chrono::nanoseconds fromHeardAt) const noexcept
{
    return fromHeardAt + std::chrono::nanoseconds((frame - from) * 1'000'000'000 / std::max(m_sampleRate, 1));
}

// Only a start not yet heard can go: one at or after the stretch being rendered again.
void AudioMixer::dropLateStarts(std::int64_t from, std::chrono::nanoseconds fromHeardAt) noexcept
{
    for (Voice &voice : m_voices) {
        Playback &current = voice.current;
        if (current.sample && current.startFrame >= from
            && heardAt(current.startFrame, from, fromHeardAt) > current.deadline)
            retire(current);
    }
}

bool AudioMixer::renderFrom(std::int64_t from, float *interleaved, int frames, bool startWaiting) noexcept
{
    const FlushDenormals flushDenormals;
    const std::optional<std::chrono::nanoseconds> fromHeardAt = std::exchange(m_nextHeardAt, std::nullopt);
    if (from < m_nextFrame)
        rewindTo(from);
    if (fromHeardAt)
        dropLateStarts(from, *fromHeardAt);
    // Starts never go back in time, so a voice is never taken over before the frame it was
    // last taken over at.
    const std::int64_t startFrame = std::max(from, m_latestStart);
    Sound sound;
    std::uint64_t started = 0;
    while (startWaiting && m_commands.pop(sound)) {
        // Taken in all the same, so the engine sees it gone.
        ++started;
        if (fromHeardAt && heardAt(startFrame, from, *fromHeardAt) > sound.deadline) {
            m_released.push(std::move(sound.sample));
            continue;
        }
        start(sound, startFrame);
    }
    if (started > 0)
        m_latestStart = startFrame;

    const int active = mixVoices(interleaved, from, frames);
    m_checkpoints[m_nextCheckpoint] = {from, m_limiter.gain()};
    m_nextCheckpoint = (m_nextCheckpoint + 1) % checkpointCount;
    finish(interleaved, frames);
    m_nextFrame = from + frames;
    m_activeCount.store(active, std::memory_order_relaxed);
    if (started > 0)
        m_started.fetch_add(started, std::memory_order_release);
    return true;
}
