#include "Services/Studio/ClipProcessor.h"

#include <algorithm>
#include <cmath>

namespace {
std::unexpected<Error> invalidEdit(const QString &message)
{
    return failure(CocoaError::domain, CocoaError::validationMissingMandatoryProperty, message);
}

bool allFinite(std::span<const float> samples)
{
    // x - x is NaN exactly for NaN and infinities; summing keeps the loop branch-free.
    float poison = 0.0f;
    for (const float sample : samples)
        poison += sample - sample;
    return poison == 0.0f;
}
}

bool ClipProcessor::isAcceptedGain(float gain)
{
    return gain >= 0.0f && gain <= maximumGain;
}

Result<void> ClipProcessor::validateRange(qint64 frameCount, const AudioClipEdit &edit)
{
    if (edit.startFrame < 0 || edit.endFrame <= edit.startFrame || edit.endFrame > frameCount)
        return invalidEdit(QStringLiteral("The selection must contain audio from this clip."));
    if (!isAcceptedGain(edit.gain))
        return invalidEdit(QStringLiteral("The gain must be between 0 and 4."));
    const qint64 length = edit.length();
    if (edit.fadeInFrames < 0 || edit.fadeInFrames > length || edit.fadeOutFrames < 0 || edit.fadeOutFrames > length)
        return invalidEdit(QStringLiteral("Fades must fit inside the selection."));
    return {};
}

Result<void> ClipProcessor::validate(std::span<const float> samples, const AudioClipEdit &edit)
{
    if (auto range = validateRange(qint64(samples.size()), edit); !range)
        return range;
    if (!allFinite(samples))
        return invalidEdit(QStringLiteral("The clip contains damaged samples."));
    return {};
}

float ClipProcessor::fadeFactor(qint64 index, qint64 length, qint64 fadeInFrames, qint64 fadeOutFrames)
{
    float factor = 1.0f;
    if (index < fadeInFrames)
        factor = fadeInFrames == 1 ? 0.0f : float(index) / float(fadeInFrames - 1);
    const qint64 remaining = length - 1 - index;
    if (remaining < fadeOutFrames)
        factor *= fadeOutFrames == 1 ? 0.0f : float(remaining) / float(fadeOutFrames - 1);
    return factor;
}

Result<std::vector<float>> ClipProcessor::process(std::span<const float> samples, const AudioClipEdit &edit)
{
    if (auto valid = validate(samples, edit); !valid)
        return std::unexpected(valid.error());

    const qint64 length = edit.length();
    const float *kept = samples.data() + edit.startFrame;
    std::vector<float> output;
    output.reserve(std::size_t(length));
    for (qint64 i = 0; i < length; ++i) {
        const float factor = fadeFactor(i, length, edit.fadeInFrames, edit.fadeOutFrames);
        float y = kept[i] * (edit.gain * factor);
        y = std::max(y, -1.0f);
        y = std::min(y, 1.0f);
        output.push_back(y);
    }
    return output;
}
