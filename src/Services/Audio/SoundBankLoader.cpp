#include "Services/Audio/SoundBankLoader.h"

#include "Services/Audio/LoudnessPolicy.h"
#include "Services/Audio/SampleRateConverter.h"
#include "Services/Audio/SndFileLibrary.h"
#include "Services/Packs/PackFileReader.h"
#include "Services/Packs/PackImportLimits.h"

#include <QHash>

namespace {
struct Listed {
    KeyGroup group;
    KeyPhase phase;
    SoundBank::Sample sample;
};
}

Result<std::shared_ptr<const SoundBank>> SoundBankLoader::load(const LoadedSoundPack &pack, int sampleRate,
                                                               const std::atomic<bool> *cancelled)
{
    const SampleDecoder::Limits limits = PackImportLimits::sampleLimits();
    // A file listed under several groups is decoded once and shared.
    struct Decoded {
        SoundBank::Sample sample;
        double loudness = 0.0;
    };
    QHash<QString, Decoded> decoded;
    std::vector<Listed> listed;
    std::vector<double> pressLoudness;
    qint64 totalBytes = 0;

    // Held across the files, so that the decoder's library is opened once for them all.
    const auto sndfile = SndFileLibrary::acquire();
    for (const auto &[group, set] : pack.manifest.groups) {
        for (const KeyPhase phase : allCases<KeyPhase>()) {
            for (const QString &path : phase == KeyPhase::down ? set.down : set.up) {
                if (cancelled && cancelled->load(std::memory_order_relaxed))
                    return failure(SampleDecoder::domain, SoundBankLoader::cancelled,
                                   QStringLiteral("Loading the sounds was cancelled."));
                Decoded sample = decoded.value(path);
                if (!sample.sample) {
                    auto bytes = PackFileReader::read(pack.directory, path, PackImportLimits::maxSampleBytes,
                                                      PackFileReader::Ownership::currentUser);
                    if (!bytes)
                        return std::unexpected(bytes.error());
                    auto samples = SampleDecoder::decode(*bytes, limits);
                    if (!samples)
                        return std::unexpected(samples.error());
                    auto converted = SampleRateConverter::convert(std::move(*samples), sampleRate);
                    if (!converted)
                        return std::unexpected(converted.error());
                    totalBytes += qint64(converted->samples.size() * sizeof(float));
                    if (totalBytes > maxDecodedBytes)
                        return failure(SampleDecoder::domain, tooLarge,
                                       QStringLiteral("The library’s sounds are too large to load together."));
                    sample = {std::make_shared<const PlaybackSample>(PlaybackSample::from(*converted)),
                              LoudnessPolicy::sampleLoudness(*converted)};
                    decoded.insert(path, sample);
                }
                if (phase == KeyPhase::down)
                    pressLoudness.push_back(sample.loudness);
                listed.push_back({group, phase, std::move(sample.sample)});
            }
        }
    }

    auto bank = std::make_shared<SoundBank>(sampleRate, LoudnessPolicy::packGain(pressLoudness));
    for (Listed &entry : listed)
        bank->add(entry.group, entry.phase, std::move(entry.sample));
    return std::shared_ptr<const SoundBank>(std::move(bank));
}
