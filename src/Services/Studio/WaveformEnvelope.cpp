#include "Services/Studio/WaveformEnvelope.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

Result<std::vector<WaveformBin>> WaveformEnvelope::make(std::span<const float> samples, int bins)
{
    if (bins < 1 || bins > maximumBins)
        return failure(CocoaError::domain, CocoaError::validationMissingMandatoryProperty,
                       QStringLiteral("The waveform needs between 1 and %1 bins.").arg(maximumBins));

    // One pass: the finiteness of each bin is judged alongside its extremes, and any damage
    // refuses the whole envelope.
    const std::uint64_t count = samples.size();
    const std::uint64_t binCount = std::min<std::uint64_t>(std::uint64_t(bins), count);
    std::vector<WaveformBin> envelope;
    envelope.reserve(binCount);
    float poison = 0.0f;
    for (std::uint64_t i = 0; i < binCount; ++i) {
        const std::uint64_t lo = i * count / binCount;
        const std::uint64_t hi = (i + 1) * count / binCount;
        float minimum = samples[lo];
        float maximum = samples[lo];
        for (std::uint64_t j = lo; j < hi; ++j) {
            const float sample = samples[j];
            poison += sample - sample;
            minimum = sample < minimum ? sample : minimum;
            maximum = sample > maximum ? sample : maximum;
        }
        envelope.push_back({minimum, maximum});
    }
    if (poison != 0.0f)
        return failure(CocoaError::domain, CocoaError::validationMissingMandatoryProperty,
                       QStringLiteral("The clip contains damaged samples."));
    return envelope;
}
