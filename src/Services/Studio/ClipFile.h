#pragma once

#include "Foundation/Error.h"
#include "Services/Studio/AudioClipEdit.h"
#include "Services/Studio/DecodedClip.h"

#include <QString>

#include <span>

// The studio's only door to audio files: decodes one file into a mono clip under fixed limits
// and writes an edited clip as a mono 32-bit float WAV file, never replacing anything.
namespace ClipFile {
inline constexpr double minimumSampleRate = 8000;
inline constexpr double maximumSampleRate = 192000;
inline constexpr double maximumDurationSeconds = 30;

bool isAcceptedSampleRate(double sampleRate);

// Any format libsndfile reads. Refusals: fileReadCorruptFile (259) for a rate outside
// 8000…192000 Hz, more than two channels, no frames, more than 30 s or damaged samples.
// Stereo is mixed down to the mean of its channels.
Result<DecodedClip> load(const QString &path);

// Renders `edit` over `samples` and writes the result at `destination`, which must not exist
// and must end in ".wav". Refusals: fileWriteFileExists (516) for a bad rate, an existing
// destination or another extension; the edit's own error (1570); fileWriteUnknown (512) for
// a result longer than 30 s. Nothing is left behind on failure.
Result<void> exportClip(std::span<const float> samples, double sampleRate, const AudioClipEdit &edit,
                        const QString &destination);
}
