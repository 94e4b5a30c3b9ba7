#include "Services/Studio/ClipProcessor.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cmath>

namespace {
std::unexpected<Error> invalidEdit(const QString &message)
{
    return failure(CocoaError::domain, CocoaError::validationMissingMandatoryProperty, message);
}

}

bool ClipProcessor::allFinite(std::span<const float> samples)
{
    // x - x is NaN exactly for NaN and infinities. Eight independent sums keep eight lanes in
    // flight instead of one long chain of additions.
    constexpr std::size_t lanes = 8;
    std::array<float, lanes> poison{};
    std::size_t i = 0;
    for (; i + lanes <= samples.size(); i += lanes) {
        for (std::size_t lane = 0; lane < lanes; ++lane)
            poison[lane] += samples[i + lane] - samples[i + lane];
    }
    for (; i < samples.size(); ++i)
        poison[0] += samples[i] - samples[i];
    float total = 0.0f;
    for (const float lane : poison)
        total += lane;
    return total == 0.0f;
}

bool ClipProcessor::isWithinZeroTo(float value, float upper)
{
    // Judged on the sign bit too, so that on a thread which flushes denormals to zero a tiny
    // negative value is still refused rather than compared as zero.
    if (std::signbit(value))
        return std::bit_cast<std::uint32_t>(value) == std::bit_cast<std::uint32_t>(-0.0f);
    return value <= upper;
}

bool ClipProcessor::isAcceptedGain(float gain)
{
    return isWithinZeroTo(gain, maximumGain);
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
    if (!ClipProcessor::allFinite(samples))
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
    std::vector<float> output(static_cast<std::size_t>(length));
    const auto render = [&](qint64 i, float factor) {
        const float y = kept[i] * (edit.gain * factor);
        output[std::size_t(i)] = std::min(std::max(y, -1.0f), 1.0f);
    };
    // Between the fades the factor is exactly 1, so that stretch needs no per-sample factor.
    const qint64 plainStart = std::min(edit.fadeInFrames, length);
    const qint64 plainEnd = std::max(plainStart, length - edit.fadeOutFrames);
    for (qint64 i = 0; i < plainStart; ++i)
        render(i, fadeFactor(i, length, edit.fadeInFrames, edit.fadeOutFrames));
    for (qint64 i = plainStart; i < plainEnd; ++i)
        render(i, 1.0f);
    for (qint64 i = plainEnd; i < length; ++i)
        render(i, fadeFactor(i, length, edit.fadeInFrames, edit.fadeOutFrames));
    return output;
}
