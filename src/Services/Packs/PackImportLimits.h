#pragma once

#include "Services/Audio/SampleDecoder.h"

#include <QtGlobal>

// What an imported pack may hold. Every pack the studio can export fits: at most 256 samples,
// each at most 48 MiB and 30 s at 8000…192000 Hz, all together at most 250 MiB.
namespace PackImportLimits {
inline constexpr qint64 maxManifestBytes = 1024 * 1024;
inline constexpr qint64 maxSampleBytes = 48 * 1024 * 1024;
inline constexpr qint64 maxPackBytes = 256 * 1024 * 1024;
inline constexpr int maxSampleFiles = 256;
// Room for a packed studio export plus the "__MACOSX" shadow entries an archiver may add.
inline constexpr qint64 maxArchiveEntries = 1024;
inline constexpr qint64 maxArchiveBytes = 288 * 1024 * 1024;

inline SampleDecoder::Limits sampleLimits()
{
    return SampleDecoder::defaultLimits();
}
}
