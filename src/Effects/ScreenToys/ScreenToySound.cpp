#include "Effects/ScreenToys/ScreenToySound.h"

#include "Platform/TimedOpen.h"
#include "Services/Audio/SampleRateConverter.h"
#include "Services/Packs/PackFileReader.h"
#include "Services/Packs/PackImportLimits.h"
#include "Services/ResourceBundle.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {
std::optional<DecodedSample> decodeRecording(const QString &audioFolder, const QString &fileName)
{
    if (!ScreenToySound::recordingPath(audioFolder, fileName))
        return std::nullopt;
    auto bytes = PackFileReader::read(audioFolder, fileName, PackImportLimits::maxSampleBytes,
                                      PackFileReader::Ownership::anyone);
    if (!bytes)
        return std::nullopt;
    auto decoded = SampleDecoder::decode(*bytes, PackImportLimits::sampleLimits());
    if (!decoded)
        return std::nullopt;
    return std::move(*decoded);
}

ScreenToySound::Buffer monoBuffer(std::vector<float> samples)
{
    return std::make_shared<const PlaybackSample>(
        PlaybackSample::from(DecodedSample{std::move(samples), 1, ScreenToySound::sampleRate}));
}

std::size_t kindIndex(ScreenToyKind kind)
{
    return std::size_t(kind);
}
}

ScreenToySound::ScreenToySound(std::unique_ptr<AudioOutput> output, const QString &audioFolder,
                               DelayedCall delayedCall)
    : m_output(std::move(output))
    , m_audioFolder(audioFolder)
    , m_delayedCall(std::move(delayedCall))
    , m_mixer(voiceCount, limiterReleaseSeconds)
    , m_queue(queueLabel, SerialQueue::Priority::userInitiated)
{
    if (!m_delayedCall) {
        m_delayedCall = [this](std::chrono::milliseconds delay, std::function<void()> task) {
            m_queue.asyncAfter(delay, std::move(task));
        };
    }
}

void ScreenToySound::load()
{
    if (m_loaded)
        return;
    for (ScreenToyKind kind : allCases<ScreenToyKind>())
        m_buffers[kindIndex(kind)] = monoBuffer(samples(kind, m_audioFolder));
    m_grenadeThrowBuffer = loadThrowRecording(m_audioFolder);
    m_loaded = true;
}

void ScreenToySound::release()
{
    m_buffers = {};
    m_grenadeThrowBuffer = nullptr;
    m_loaded = false;
}

ScreenToySound::~ScreenToySound()
{
    stop();
}

QString ScreenToySound::defaultAudioFolder()
{
    return ResourceBundle::filePath(QStringLiteral("ScreenToys/Audio"));
}

const ScreenToySound::Buffer &ScreenToySound::buffer(ScreenToyKind kind) const
{
    return m_buffers[kindIndex(kind)];
}

float ScreenToySound::playbackVolume(ScreenToyKind kind, float volume)
{
    if (!std::isfinite(volume))
        return 0.0f;
    const float factor = kind == ScreenToyKind::blaster ? 1.6f : kind == ScreenToyKind::ak47 ? 1.8f : 1.0f;
    return std::clamp(volume, 0.0f, 1.5f) * factor;
}

float ScreenToySound::crackVolume(float volume, double lashSpeed)
{
    return std::min(volume * std::min(float(lashSpeed) / 2000.0f + 0.65f, 1.8f), 1.0f);
}

QString ScreenToySound::fileName(ScreenToyKind kind)
{
    switch (kind) {
    case ScreenToyKind::blaster:
        return QStringLiteral("handgun.wav");
    case ScreenToyKind::whip:
        return QStringLiteral("whip.wav");
    case ScreenToyKind::waterGun:
        return QStringLiteral("water.wav");
    case ScreenToyKind::ak47:
        return QStringLiteral("ak47.wav");
    case ScreenToyKind::grenade:
        return QStringLiteral("grenade.wav");
    }
    return {};
}

double ScreenToySound::fallbackSeconds(ScreenToyKind kind)
{
    switch (kind) {
    case ScreenToyKind::blaster:
    case ScreenToyKind::ak47:
        return 0.23;
    case ScreenToyKind::whip:
        return 0.31;
    case ScreenToyKind::waterGun:
        return 0.38;
    case ScreenToyKind::grenade:
        return 1.8;
    }
    return 0;
}

std::optional<QString> ScreenToySound::recordingPath(const QString &audioFolder, const QString &fileName)
{
    if (audioFolder.isEmpty())
        return std::nullopt;
    const QString path = QDir(audioFolder).filePath(fileName);
    if (!QFileInfo(path).isFile())
        return std::nullopt;
    return path;
}

std::vector<float> ScreenToySound::samples(ScreenToyKind kind, const QString &audioFolder)
{
    auto decoded = decodeRecording(audioFolder, fileName(kind));
    // Recordings of the kinds are used only as they are: never resampled or mixed down.
    if (!decoded || decoded->sampleRate != sampleRate || decoded->channels != 1 || decoded->samples.empty())
        return fallbackSamples(kind);
    return std::move(decoded->samples);
}

std::vector<float> ScreenToySound::fallbackSamples(ScreenToyKind kind)
{
    const double seconds = fallbackSeconds(kind);
    const auto count = std::size_t(seconds * sampleRate);
    std::vector<float> out(count);
    std::uint32_t seed = 0x9E3779B9u;
    constexpr double twoPi = 2 * std::numbers::pi;
    for (std::size_t i = 0; i < count; ++i) {
        seed = seed * 1664525u + 1013904223u;
        const double t = double(i) / sampleRate;
        const double p = t / seconds;
        const double w = double(seed % 65536u) / 32768.0 - 1;
        const double attack = std::min(t / 0.004, 1.0);
        const double decay = std::pow(1 - p, kind == ScreenToyKind::waterGun ? 1.6 : 2.8);
        double s = 0;
        switch (kind) {
        case ScreenToyKind::blaster:
        case ScreenToyKind::ak47:
            s = (0.28 * w + 0.54 * std::sin(twoPi * t * (310 - 205 * p))) * decay * attack;
            break;
        case ScreenToyKind::whip:
            s = w * decay * attack * (0.55 * std::sin(std::numbers::pi * p) + 0.25);
            break;
        case ScreenToyKind::waterGun:
            s = (0.31 * w * std::sin(std::numbers::pi * p) + 0.28 * std::sin(twoPi * t * (460 - 250 * p))) * decay
                * attack;
            break;
        case ScreenToyKind::grenade:
            s = std::exp(-5 * t) * attack * (0.4 * std::sin(twoPi * 65 * t) + 0.5 * w);
            break;
        }
        out[i] = float(s < 0.9 ? std::max(s, -0.9) : 0.9);
    }
    return out;
}

ScreenToySound::Buffer ScreenToySound::loadThrowRecording(const QString &audioFolder)
{
    auto decoded = decodeRecording(audioFolder, throwFileName);
    if (!decoded || decoded->frames() == 0)
        return nullptr;
    // The voices play 48 kHz mono: any other recording is brought to that once, here.
    if (decoded->channels > 1) {
        const int channels = decoded->channels;
        std::vector<float> mono(std::size_t(decoded->frames()));
        for (std::size_t frame = 0; frame < mono.size(); ++frame) {
            float sum = 0.0f;
            for (int channel = 0; channel < channels; ++channel)
                sum += decoded->samples[frame * std::size_t(channels) + std::size_t(channel)];
            mono[frame] = sum / float(channels);
        }
        decoded->samples = std::move(mono);
        decoded->channels = 1;
    }
    auto converted = SampleRateConverter::convert(std::move(*decoded), sampleRate);
    if (!converted || converted->frames() == 0)
        return nullptr;
    return std::make_shared<const PlaybackSample>(PlaybackSample::from(*converted));
}

void ScreenToySound::play(ScreenToyKind kind, float volume)
{
    load();
    playBuffer(buffer(kind), playbackVolume(kind, volume));
}

void ScreenToySound::playBuffer(Buffer buffer, float requestedGain)
{
    if (!buffer || !(requestedGain > 0.0f) || !std::isfinite(requestedGain))
        return;
    m_queue.async([this, buffer = std::move(buffer), requestedGain] { playNow(buffer, requestedGain); });
}

void ScreenToySound::playNow(const Buffer &buffer, float gain)
{
    if (buffer->channels != 1 || buffer->frames() == 0 || !openOutput())
        return;
    AudioMixer::Sound sound;
    sound.sample = buffer;
    sound.voice = m_nextPlayer % voiceCount;
    ++m_nextPlayer;
    sound.gainLeft = sound.gainRight = std::min(gain, 1.0f);
    sound.step = double(buffer->sampleRate) / double(m_outputRate);
    // The pre-gain is shared by the whole mix, so it also reaches the voices still sounding.
    m_mixer.setPreGain(std::max(gain, 1.0f));
    m_mixer.post(std::move(sound));
    m_output->resume();
    scheduleIdleStop();
}

bool ScreenToySound::openOutput()
{
    if (m_open && m_output->isLost())
        closeOutput();
    if (m_open)
        return true;
    if (!m_output)
        return false;
    const auto format = m_output->open(requestedBufferFrames, m_mixer);
    if (!format)
        return false;
    m_outputRate = format->sampleRate;
    m_mixer.prepare(m_outputRate);
    m_open = true;
    m_running.store(true, std::memory_order_release);
    return true;
}

void ScreenToySound::closeOutput()
{
    ++m_idleGeneration;
    if (!m_open)
        return;
    m_output->close();
    m_mixer.reset();
    m_open = false;
    m_running.store(false, std::memory_order_release);
}

void ScreenToySound::scheduleIdleStop()
{
    const std::uint64_t generation = ++m_idleGeneration;
    m_delayedCall(idleDelay, [this, generation] {
        m_queue.async([this, generation] {
            if (generation == m_idleGeneration)
                closeOutput();
        });
    });
}

void ScreenToySound::stop()
{
    TimedOpen::syncAbandoningOpens(m_queue, m_output.get(), [this] { closeOutput(); });
}

void ScreenToySound::stopSoon()
{
    m_queue.async([this] { closeOutput(); });
}

void ScreenToySound::flush()
{
    m_queue.sync([] {});
}
