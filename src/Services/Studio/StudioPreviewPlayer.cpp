#include "Services/Studio/StudioPreviewPlayer.h"

#include "Services/Audio/SampleRateConverter.h"
#include "Services/Studio/ClipFile.h"

namespace {
// Closes the output soon after a preview has rung out.
constexpr std::chrono::milliseconds idleTimeout{2000};
}

StudioPreviewPlayer::StudioPreviewPlayer(std::unique_ptr<AudioOutput> output, const Clock &clock)
    : m_engine(std::make_shared<AudioEngine>(1, idleTimeout, std::move(output), clock))
{
}

StudioPreviewPlayer::~StudioPreviewPlayer()
{
    // Waits, so no `Started` is told after the player is gone.
    m_engine->stop();
}

std::function<int()> StudioPreviewPlayer::sampleRateQuery() const
{
    return [engine = std::weak_ptr(m_engine)] {
        const std::shared_ptr<AudioEngine> alive = engine.lock();
        return alive ? alive->sampleRate() : 0;
    };
}

Result<StudioPreviewPlayer::Sound> StudioPreviewPlayer::prepare(const QString &path, int sampleRate)
{
    auto clip = ClipFile::load(path);
    if (!clip)
        return std::unexpected(clip.error());
    auto converted = SampleRateConverter::convert(DecodedSample{*clip->samples, 1, int(clip->sampleRate)}, sampleRate);
    if (!converted)
        return std::unexpected(converted.error());
    return std::make_shared<const PlaybackSample>(PlaybackSample::from(*converted));
}

void StudioPreviewPlayer::play(Sound sound, Started started)
{
    stop();
    m_engine->playPrepared(
        [sound = std::move(sound)](int) {
            auto sounds = std::make_shared<SoundBank>(sound->sampleRate, 1.0f);
            sounds->add(KeyGroup::regular, KeyPhase::down, sound);
            return sounds;
        },
        SoundRequest{});
    m_engine->afterQueued([engine = m_engine.get(), started = std::move(started)] { started(engine->outputError()); });
}

void StudioPreviewPlayer::stop()
{
    m_engine->stopSoon();
}
