#include "Services/Audio/BuiltInSystemSoundPlayer.h"

#include "Services/Audio/SampleRateConverter.h"
#include "Services/Packs/PackFileReader.h"
#include "Services/Packs/PackImportLimits.h"

#include <QStringList>

namespace {
const QStringList knownNames{"Glass", "Pop", "Ping", "Basso", "Morse", "Hero", "Submarine", "Tink", "Blow"};
// A touch below full level: these are cues, not music.
constexpr double systemSoundVolume = 0.85;
}

BuiltInSystemSoundPlayer::BuiltInSystemSoundPlayer(QString resourceFolder, std::unique_ptr<AudioEngine> engine)
    : m_resourceFolder(std::move(resourceFolder))
    , m_engine(std::move(engine))
{
}

bool BuiltInSystemSoundPlayer::isKnownName(const QString &name)
{
    return knownNames.contains(name);
}

void BuiltInSystemSoundPlayer::play(const QString &name)
{
    // Only the fixed names: a name never becomes an arbitrary path.
    if (!isKnownName(name))
        return;
    // Decoded on the engine's queue at its rate, which the first time means asking the sound
    // server; a sound still ringing from the previous bank rings out.
    m_engine->playPrepared([this, name](int sampleRate) { return bank(name, sampleRate); },
                           SoundRequest{KeyGroup::regular, KeyPhase::down, 0.0, systemSoundVolume, 0.0, 0.0});
}

std::shared_ptr<const SoundBank> BuiltInSystemSoundPlayer::bank(const QString &name, int sampleRate)
{
    if (auto cached = m_banks.value(name))
        return cached;

    auto bytes = PackFileReader::read(m_resourceFolder, QStringLiteral("SystemSounds/%1.wav").arg(name),
                                      PackImportLimits::maxSampleBytes, PackFileReader::Ownership::anyone);
    if (!bytes)
        return nullptr;
    auto decoded = SampleDecoder::decode(*bytes, PackImportLimits::sampleLimits());
    if (!decoded)
        return nullptr;
    auto converted = SampleRateConverter::convert(std::move(*decoded), sampleRate);
    if (!converted)
        return nullptr;
    auto sounds = std::make_shared<SoundBank>(converted->sampleRate, 1.0f);
    sounds->add(KeyGroup::regular, KeyPhase::down, std::make_shared<const PlaybackSample>(PlaybackSample::from(*converted)));
    m_banks.insert(name, sounds);
    return sounds;
}
