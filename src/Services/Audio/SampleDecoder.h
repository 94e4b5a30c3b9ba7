#pragma once

#include "Foundation/Error.h"

#include <QByteArray>

#include <vector>

// Decoded audio as interleaved 32-bit floats at the file's own rate.
struct DecodedSample {
    std::vector<float> samples;
    int channels = 0;
    int sampleRate = 0;

    qint64 frames() const { return channels > 0 ? qint64(samples.size()) / channels : 0; }
};

// Turns the bytes of an audio file (WAV, AIFF, FLAC, OGG, MP3) into samples, refusing
// anything outside the limits before it allocates for it.
namespace SampleDecoder {
inline const QString domain = QStringLiteral("Knockwell.Audio");

enum Code : int {
    fileTooLarge = 1,
    unreadable = 2,
    unsupportedSampleRate = 3,
    unsupportedChannelCount = 4,
    tooLong = 5,
    empty = 6,
    damaged = 7,
    decoderMissing = 8,
};

struct Limits {
    qint64 maxBytes = 0;
    double maxSeconds = 0;
    int minSampleRate = 0;
    int maxSampleRate = 0;
    int maxChannels = 0;
};

// Large enough for every sample a pack may hold: 48 MiB, 30 s, 8000…192000 Hz, mono or stereo.
Limits defaultLimits();

Result<DecodedSample> decode(const QByteArray &bytes, const Limits &limits);

// The sentence a failure with `code` carries; a missing decoder's failure also says why.
QString message(Code code);
}
