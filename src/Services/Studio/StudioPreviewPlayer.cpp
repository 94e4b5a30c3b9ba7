#include "Services/Studio/StudioPreviewPlayer.h"

#include "Services/Audio/SampleRateConverter.h"
#include "Services/Studio/ClipFile.h"

StudioPreviewPlayer::StudioPreviewPlayer(std::unique_ptr<AudioEngine> engine)
    : m_engine(std::move(engine))
{
}

StudioPreviewPlayer::~StudioPreviewPlayer()
{
    stop();
}

Result<void> StudioPreviewPlayer::play(const QString &path)
{
    stop();
    auto clip = ClipFile::load(path);
    if (!clip)
        return std::unexpected(clip.error());
    DecodedSample sample{*clip->samples, 1, int(clip->sampleRate)};
    auto converted = SampleRateConverter::convert(std::move(sample), m_engine->sampleRate());
    if (!converted)
        return std::unexpected(converted.error());
    if (auto started = m_engine->start(); !started)
        return started;
    auto sounds = std::make_shared<SoundBank>(converted->sampleRate, 1.0f);
    sounds->add(KeyGroup::regular, KeyPhase::down, std::make_shared<const DecodedSample>(std::move(*converted)));
    m_engine->setSounds(std::move(sounds));
    m_engine->play(SoundRequest{});
    return {};
}

void StudioPreviewPlayer::stop()
{
    m_engine->stop();
}
