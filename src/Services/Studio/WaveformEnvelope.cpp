#include "Services/Studio/WaveformEnvelope.h"

#include <algorithm>
#include <array>
#include <cstdint>

Result<std::vector<WaveformBin>> WaveformEnvelope::make(std::span<const float> samples, int bins)
{
    if (bins < 1 || bins > maximumBins)
        return failure(CocoaError::domain, CocoaError::validationMissingMandatoryProperty,
                       QStringLiteral("The waveform needs between 1 and %1 bins.").arg(maximumBins));

    // One pass: each bin's finiteness is judged alongside its extremes (x - x is NaN exactly
    // for NaN and infinities), and any damage refuses the whole envelope. Eight independent
    // lanes keep the comparisons from waiting on one another.
    constexpr std::size_t lanes = 8;
    const std::uint64_t count = samples.size();
    const std::uint64_t binCount = std::min<std::uint64_t>(std::uint64_t(bins), count);
    std::vector<WaveformBin> envelope;
    envelope.reserve(binCount);
    std::array<float, lanes> poison{};
    for (std::uint64_t i = 0; i < binCount; ++i) {
        const std::uint64_t lo = i * count / binCount;
        const std::uint64_t hi = (i + 1) * count / binCount;
        std::array<float, lanes> minimum;
        std::array<float, lanes> maximum;
        minimum.fill(samples[lo]);
        maximum.fill(samples[lo]);
        std::uint64_t j = lo;
        for (; j + lanes <= hi; j += lanes) {
            for (std::size_t lane = 0; lane < lanes; ++lane) {
                const float sample = samples[j + lane];
                poison[lane] += sample - sample;
                minimum[lane] = sample < minimum[lane] ? sample : minimum[lane];
                maximum[lane] = sample > maximum[lane] ? sample : maximum[lane];
            }
        }
        for (; j < hi; ++j) {
            const float sample = samples[j];
            poison[0] += sample - sample;
            minimum[0] = sample < minimum[0] ? sample : minimum[0];
            maximum[0] = sample > maximum[0] ? sample : maximum[0];
        }
        envelope.push_back({*std::min_element(minimum.begin(), minimum.end()),
                            *std::max_element(maximum.begin(), maximum.end())});
    }
    float damage = 0.0f;
    for (const float lane : poison)
        damage += lane;
    if (damage != 0.0f)
        return failure(CocoaError::domain, CocoaError::validationMissingMandatoryProperty,
                       QStringLiteral("The clip contains damaged samples."));
    return envelope;
}
