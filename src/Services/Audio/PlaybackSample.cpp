#include "Services/Audio/PlaybackSample.h"

#include <algorithm>
#include <cmath>

PlaybackSample PlaybackSample::from(const DecodedSample &decoded)
{
    PlaybackSample sample;
    sample.channels = decoded.channels;
    sample.sampleRate = decoded.sampleRate;
    float peak = 0.0f;
    for (const float value : decoded.samples)
        peak = std::max(peak, std::abs(value));
    if (peak > 1.0f)
        sample.scale = peak / 32767.0f;
    const float steps = 1.0f / sample.scale;
    sample.samples.resize(decoded.samples.size());
    std::ranges::transform(decoded.samples, sample.samples.begin(), [steps](float value) {
        return std::int16_t(std::clamp(std::lrint(value * steps), -32768L, 32767L));
    });
    return sample;
}
