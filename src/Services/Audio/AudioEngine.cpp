#include "Services/Audio/AudioEngine.h"

#include "Platform/TimedOpen.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {
const QString audioDomain = QStringLiteral("Knockwell.Audio");

constexpr int fallbackSampleRate = 48000;

// While a sound is still ringing the idle check looks again this soon.
constexpr std::chrono::milliseconds busyRecheck{250};

bool allFinite(const SoundRequest &request)
{
    return std::isfinite(request.pan) && std::isfinite(request.volume) && std::isfinite(request.volumeVariation)
        && std::isfinite(request.pitchVariation);
}
}

AudioEngine::AudioEngine(int voiceCount, std::chrono::milliseconds idleTimeout, std::unique_ptr<AudioOutput> output,
                         const Clock &clock, DelayedCall delayedCall)
    : m_voiceCount(std::max(voiceCount, 1))
    , m_idleTimeout(idleTimeout)
    , m_output(std::move(output))
    , m_clock(clock)
    , m_delayedCall(std::move(delayedCall))
    , m_mixer(m_voiceCount)
    , m_random(std::random_device{}())
    , m_queue(QStringLiteral("local.knockwell.audio"), SerialQueue::Priority::userInteractive)
{
    if (!m_delayedCall) {
        m_delayedCall = [this](std::chrono::milliseconds delay, std::function<void()> task) {
            m_queue.asyncAfter(delay, std::move(task));
        };
    }
}

AudioEngine::~AudioEngine()
{
    stop();
    // The output's threads render through the mixer: the output goes first, threads and all,
    // whatever the members' order. What is still queued after it finds none.
    m_stopping.store(true, std::memory_order_release);
    m_queue.sync([this] { m_output.reset(); });
}

std::pair<float, float> AudioEngine::panGains(double pan)
{
    const double angle = (std::clamp(pan, -1.0, 1.0) + 1.0) * std::numbers::pi / 4.0;
    return {float(std::numbers::sqrt2 * std::cos(angle)), float(std::numbers::sqrt2 * std::sin(angle))};
}

void AudioEngine::stop()
{
    m_stopping.store(true, std::memory_order_release);
    TimedOpen::syncAbandoningOpens(m_queue, m_output.get(), [this] { closeOutput(); });
    m_stopping.store(false, std::memory_order_release);
}

void AudioEngine::stopSoon()
{
    m_queue.async([this] { closeOutput(); });
}

void AudioEngine::play(const SoundRequest &request)
{
    m_queue.async([this, request, askedAt = m_clock.uptime()] { playNow(request, askedAt); });
}

void AudioEngine::setSounds(std::shared_ptr<const SoundBank> sounds, std::function<bool()> stillWanted)
{
    m_queue.async([this, sounds = std::move(sounds), stillWanted = std::move(stillWanted)]() mutable {
        if (!stillWanted || stillWanted())
            m_sounds = std::move(sounds);
    });
}

int AudioEngine::sampleRate()
{
    int rate = m_sampleRate.load(std::memory_order_acquire);
    if (rate > 0)
        return rate;
    // The first caller settles on the default; the output is asked on the queue, and an answer
    // that differs announces itself as a change of rate.
    if (m_sampleRate.compare_exchange_strong(rate, fallbackSampleRate, std::memory_order_acq_rel) && m_output)
        m_queue.async([this] { askSampleRate(); });
    return m_sampleRate.load(std::memory_order_acquire);
}

void AudioEngine::askSampleRate()
{
    if (m_stopping.load(std::memory_order_acquire))
        return;
    if (const auto rate = m_output->preferredSampleRate())
        learnSampleRate(*rate);
}

void AudioEngine::learnSampleRate(int rate)
{
    const int prepared = m_sampleRate.exchange(rate, std::memory_order_acq_rel);
    if (prepared != 0 && prepared != rate && m_onSampleRateChange)
        m_onSampleRateChange(rate);
}

void AudioEngine::playPrepared(std::function<std::shared_ptr<const SoundBank>(int sampleRate)> prepare,
                               const SoundRequest &request)
{
    m_queue.async([this, prepare = std::move(prepare), request] {
        if (m_stopping.load(std::memory_order_acquire))
            return;
        if (auto sounds = prepare(sampleRate())) {
            m_sounds = std::move(sounds);
            playNow(request, m_clock.uptime());
        }
    });
}

void AudioEngine::onSampleRateChange(std::function<void(int sampleRate)> handler)
{
    m_queue.async([this, handler = std::move(handler)]() mutable { m_onSampleRateChange = std::move(handler); });
}

std::optional<Error> AudioEngine::outputError() const
{
    std::lock_guard lock(m_errorMutex);
    return m_outputError;
}

void AudioEngine::flush()
{
    m_queue.sync([] {});
}

void AudioEngine::afterQueued(std::function<void()> task)
{
    m_queue.async(std::move(task));
}

bool AudioEngine::isLate(Clock::Uptime askedAt) const
{
    return m_clock.uptime() - askedAt > lateLimit;
}

void AudioEngine::playNow(const SoundRequest &request, Clock::Uptime askedAt)
{
    if (m_stopping.load(std::memory_order_acquire) || !m_sounds || !allFinite(request))
        return;
    const SoundBank::SampleList *samples = m_sounds->lookup(request.group, request.phase);
    // A sound that waited behind a slow open is dropped before it makes an attempt of its own.
    if (!samples || isLate(askedAt))
        return;
    applyMargin();
    if (!openOutput())
        return;
    if (isLate(askedAt)) {
        // The stream it opened still closes after the idle time.
        noteActivity();
        return;
    }

    const double pitchVariation = std::clamp(request.pitchVariation, 0.0, 0.5);
    const double volumeVariation = std::clamp(request.volumeVariation, 0.0, 1.0);
    std::uniform_int_distribution<std::size_t> pick(0, samples->size() - 1);
    std::uniform_real_distribution<double> spread(-1.0, 1.0);
    const SoundBank::Sample &sample = (*samples)[pick(m_random)];
    const double rate = 1.0 + pitchVariation * spread(m_random);
    double gain = std::clamp(request.volume, 0.0, 2.0) * (1.0 + volumeVariation * spread(m_random));
    if (m_loudnessMatching.load(std::memory_order_relaxed))
        gain *= m_sounds->loudnessGain();
    const auto [left, right] = panGains(request.pan);

    AudioMixer::Sound sound;
    sound.sample = sample;
    sound.voice = m_nextVoice;
    sound.gainLeft = float(gain) * left;
    sound.gainRight = float(gain) * right;
    sound.step = rate * double(sample->sampleRate) / double(m_outputRate);
    // The uptime clock is the monotonic one the roads report in.
    sound.deadline = std::chrono::duration_cast<std::chrono::nanoseconds>(askedAt.time_since_epoch() + lateLimit);
    m_nextVoice = (m_nextVoice + 1) % m_voiceCount;
    m_mixer.post(std::move(sound));
    resumeOutput();
    noteActivity();
}

bool AudioEngine::openOutput()
{
    if (m_open && m_output->isLost())
        closeOutput();
    if (m_open)
        return true;
    if (m_lastFailure && m_clock.uptime() - *m_lastFailure < reopenDelay)
        return false;
    const auto format = m_output ? m_output->open(bufferFrames, m_mixer)
                                 : OpenResult<AudioOutput::Format>(std::unexpected(OpenError{}));
    if (!format) {
        // An open abandoned for stop() says nothing about the device.
        if (m_stopping.load(std::memory_order_acquire))
            return false;
        // Measured from when the open gave up: one that waited out a server's time would
        // otherwise be due again at once.
        m_lastFailure = m_clock.uptime();
        const QString reason = format.error().message;
        std::lock_guard lock(m_errorMutex);
        m_outputError = Error{audioDomain, outputUnavailable,
                              reason.isEmpty() ? QStringLiteral("No sound output is available.")
                                               : QStringLiteral("No sound output is available (%1).").arg(reason)};
        return false;
    }
    m_lastFailure.reset();
    {
        std::lock_guard lock(m_errorMutex);
        m_outputError.reset();
    }
    m_outputRate = format->sampleRate;
    learnSampleRate(m_outputRate);
    m_underrunsSeen = 0;
    m_mixer.prepare(m_outputRate);
    m_open = true;
    m_paused = true;
    m_running.store(true, std::memory_order_release);
    return true;
}

void AudioEngine::applyMargin()
{
    if (!m_output)
        return;
    const auto now = m_clock.uptime();
    if (m_open) {
        const int underruns = m_output->underruns();
        if (underruns > m_underrunsSeen)
            m_margin.noteUnderrun(now);
        m_underrunsSeen = underruns;
    }
    const auto wanted = m_margin.at(now);
    if (wanted == m_appliedMargin)
        return;
    if (m_output->setMargin(wanted)) {
        m_appliedMargin = wanted;
        return;
    }
    // A stream that cannot take it while it plays is opened again, between sounds only, so
    // the reopen cuts nothing off.
    if (m_mixer.isSilent()) {
        closeOutput();
        m_appliedMargin = wanted;
    }
}

void AudioEngine::resumeOutput()
{
    // Resumed only once the first sound is posted, so the first buffer already carries it.
    if (m_open && m_paused) {
        m_output->resume();
        m_paused = false;
    } else if (m_open) {
        m_output->soundPosted();
    }
}

void AudioEngine::closeOutput()
{
    if (!m_open)
        return;
    m_output->close();
    m_mixer.reset();
    m_open = false;
    m_running.store(false, std::memory_order_release);
}

void AudioEngine::noteActivity()
{
    m_lastActivity = m_clock.uptime();
    if (!m_idleCheckPending)
        scheduleIdleCheck(m_idleTimeout);
}

void AudioEngine::scheduleIdleCheck(std::chrono::milliseconds delay)
{
    m_idleCheckPending = true;
    m_delayedCall(delay, [this] { m_queue.async([this] { checkIdle(); }); });
}

void AudioEngine::checkIdle()
{
    m_idleCheckPending = false;
    if (!m_open)
        return;
    if (!m_mixer.isSilent()) {
        m_lastActivity = m_clock.uptime();
        scheduleIdleCheck(busyRecheck);
        return;
    }
    const auto idle = m_clock.uptime() - m_lastActivity;
    if (idle >= m_idleTimeout)
        closeOutput();
    else
        scheduleIdleCheck(std::chrono::ceil<std::chrono::milliseconds>(m_idleTimeout - idle));
}
