#include "Services/Audio/PeakLimiter.h"

#include <algorithm>
#include <cmath>

void PeakLimiter::prepare(int sampleRate)
{
    m_releaseCoefficient = float(std::exp(-1.0 / (m_releaseSeconds * std::max(sampleRate, 1))));
    m_gain = 1.0f;
}

void PeakLimiter::process(float *interleaved, int frames) noexcept
{
    float gain = m_gain;
    for (int i = 0; i < frames; ++i) {
        float &left = interleaved[2 * i];
        float &right = interleaved[2 * i + 1];
        if (!std::isfinite(left))
            left = 0.0f;
        if (!std::isfinite(right))
            right = 0.0f;
        const float peak = std::max(std::fabs(left), std::fabs(right));
        gain = 1.0f - (1.0f - gain) * m_releaseCoefficient;
        if (peak * gain > ceiling)
            gain = ceiling / peak;
        // The clamp only catches rounding: the gain already brought the peak to the ceiling.
        left = std::clamp(left * gain, -ceiling, ceiling);
        right = std::clamp(right * gain, -ceiling, ceiling);
    }
    m_gain = gain;
}
