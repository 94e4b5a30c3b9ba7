#include "Services/Audio/AudioMixer.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#if defined(__SSE__)
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
    m_posted = 0;
    m_started.store(0, std::memory_order_relaxed);
    m_activeCount.store(0, std::memory_order_relaxed);
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
    std::shared_ptr<const DecodedSample> finished;
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
    playback.active = false;
}

void AudioMixer::start(Sound &sound) noexcept
{
    Voice &voice = m_voices[std::size_t(sound.voice)];
    retire(voice.fading);
    if (voice.current.active) {
        voice.fading = std::move(voice.current);
        voice.fading.fadeStep = m_fadeStep;
    } else {
        retire(voice.current);
    }
    Playback &playback = voice.current;
    playback.sample = std::move(sound.sample);
    playback.position = 0.0;
    playback.step = sound.step;
    playback.gainLeft = sound.gainLeft;
    playback.gainRight = sound.gainRight;
    playback.fade = 1.0f;
    playback.fadeStep = 0.0f;
    playback.active = true;
}

void AudioMixer::mix(Playback &playback, float *out, int frames) noexcept
{
    const DecodedSample &sample = *playback.sample;
    const float *data = sample.samples.data();
    const qint64 length = sample.frames();
    const bool stereo = sample.channels == 2;
    double position = playback.position;
    float fade = playback.fade;
    for (int i = 0; i < frames; ++i) {
        const qint64 index = qint64(position);
        if (index >= length || fade <= 0.0f) {
            playback.active = false;
            break;
        }
        const float fraction = float(position - double(index));
        const bool hasNext = index + 1 < length;
        float left;
        float right;
        if (stereo) {
            const float *frame = data + 2 * index;
            const float nextLeft = hasNext ? frame[2] : 0.0f;
            const float nextRight = hasNext ? frame[3] : 0.0f;
            left = frame[0] + (nextLeft - frame[0]) * fraction;
            right = frame[1] + (nextRight - frame[1]) * fraction;
        } else {
            const float next = hasNext ? data[index + 1] : 0.0f;
            left = right = data[index] + (next - data[index]) * fraction;
        }
        out[2 * i] += left * playback.gainLeft * fade;
        out[2 * i + 1] += right * playback.gainRight * fade;
        position += playback.step;
        fade -= playback.fadeStep;
    }
    playback.position = position;
    playback.fade = fade;
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

void AudioMixer::render(float *interleaved, int frames) noexcept
{
    const FlushDenormals flushDenormals;
    Sound sound;
    std::uint64_t started = 0;
    while (m_commands.pop(sound)) {
        start(sound);
        ++started;
    }

    std::memset(interleaved, 0, sizeof(float) * 2 * std::size_t(frames));
    int active = 0;
    for (Voice &voice : m_voices) {
        for (Playback *playback : {&voice.fading, &voice.current}) {
            if (!playback->active)
                continue;
            mix(*playback, interleaved, frames);
            active += playback->active ? 1 : 0;
        }
    }
    if (const float preGain = m_preGain.load(std::memory_order_relaxed); preGain != 1.0f) {
        for (int i = 0; i < 2 * frames; ++i)
            interleaved[i] *= preGain;
    }
    m_limiter.process(interleaved, frames);
    m_activeCount.store(active, std::memory_order_relaxed);
    if (started > 0)
        m_started.fetch_add(started, std::memory_order_release);
}
