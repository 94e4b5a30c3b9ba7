#pragma once

#include "Foundation/Error.h"
#include "Models/SoundPackManifest.h"
#include "Services/Packs/PackImportLimits.h"
#include "Services/Studio/StudioSample.h"

#include <QString>

#include <span>

// Writes edited clips as a new pack folder: "manifest.json" beside "samples/0.wav", … .
namespace StudioPackExporter {
// Limits of one export; whatever passes them also passes the pack import.
inline constexpr double maximumDecodedBytes = 268'435'456;  // the pack's samples decoded, at their rate and at 48 kHz
inline constexpr qint64 maximumSampleFileBytes = PackImportLimits::maxSampleBytes;
inline constexpr qint64 maximumPackBytes = 262'144'000;
inline constexpr qsizetype maximumSamples = PackImportLimits::maxSampleFiles;
static_assert(maximumPackBytes <= PackImportLimits::maxPackBytes);

// Builds the pack in a hidden ".studio-" folder beside `destination` and moves it into place
// only when complete; nothing is left behind on failure and nothing is ever replaced.
// Refusals: fileWriteFileExists (516) when `destination` exists; validationMissingMandatoryProperty
// (1570) for 0 or more than 256 samples or a non-reaction sample in a reaction pack;
// fileReadCorruptFile (259) for an empty edit or a rate outside 8000…192000 Hz;
// fileWriteOutOfSpace (640) when a size budget is broken. Manifest validation and the
// clip writer's errors pass through.
Result<void> exportPack(const QString &name, const QString &author, const QString &license,
                        SoundPackManifest::PackKind kind, std::span<const StudioSample> samples,
                        const QString &destination);
}
