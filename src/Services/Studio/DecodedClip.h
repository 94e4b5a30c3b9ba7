#pragma once

#include <QtGlobal>

#include <memory>
#include <span>
#include <vector>

// Decoded samples are never changed after decoding, so the draft, the studio's pack list and
// the exporter all share one buffer instead of copying up to 23 MB per clip.
using ClipSamples = std::shared_ptr<const std::vector<float>>;

// A decoded mono clip: finite 32-bit float samples (not clamped) and their rate in Hz.
struct DecodedClip {
    ClipSamples samples;
    double sampleRate = 0;

    std::span<const float> view() const
    {
        return samples ? std::span<const float>(*samples) : std::span<const float>();
    }
    qint64 frameCount() const { return samples ? qint64(samples->size()) : 0; }
};
