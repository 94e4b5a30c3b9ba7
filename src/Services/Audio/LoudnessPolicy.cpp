#include "Services/Audio/LoudnessPolicy.h"

#include <algorithm>
#include <cmath>

double LoudnessPolicy::sampleLoudness(const DecodedSample &sample)
{
    const qint64 frames = sample.frames();
    if (frames == 0)
        return 0.0;
    const int channels = sample.channels;
    const qint64 window = std::clamp<qint64>(qint64(windowSeconds * sample.sampleRate), 1, frames);
    // Running sum of squares over a sliding window.
    auto framePower = [&](qint64 frame) {
        double power = 0.0;
        for (int c = 0; c < channels; ++c) {
            const double value = sample.samples[std::size_t(frame * channels + c)];
            power += value * value;
        }
        return power / channels;
    };
    double sum = 0.0;
    for (qint64 i = 0; i < window; ++i)
        sum += framePower(i);
    double loudest = sum;
    for (qint64 i = window; i < frames; ++i) {
        sum += framePower(i) - framePower(i - window);
        loudest = std::max(loudest, sum);
    }
    return std::sqrt(std::max(loudest, 0.0) / double(window));
}

float LoudnessPolicy::packGain(const std::vector<double> &loudness)
{
    if (loudness.empty())
        return 1.0f;
    double power = 0.0;
    for (const double value : loudness)
        power += value * value;
    const double level = std::sqrt(power / double(loudness.size()));
    if (level <= 0.0)
        return 1.0f;
    return std::clamp(float(targetLoudness / level), minGain, maxGain);
}
