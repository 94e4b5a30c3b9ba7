#include "Services/Studio/AudioClipDraft.h"

#include "Services/Studio/ClipProcessor.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr float normalizedPeak = 0.8f;
constexpr float silentPeak = 0.000001f;

std::unexpected<Error> invalidTrim(const QString &message)
{
    return failure(CocoaError::domain, CocoaError::validationMissingMandatoryProperty, message);
}
}

AudioClipDraft::AudioClipDraft(ClipSamples original, AudioClipEdit edit)
    : m_original(std::move(original))
    , m_edit(edit)
{
}

Result<AudioClipDraft> AudioClipDraft::wholeClip(ClipSamples original)
{
    if (!original)
        original = std::make_shared<const std::vector<float>>();
    const AudioClipEdit whole = AudioClipEdit::wholeClip(qint64(original->size()));
    if (auto valid = ClipProcessor::validate(*original, whole); !valid)
        return std::unexpected(valid.error());
    return AudioClipDraft(std::move(original), whole);
}

Result<void> AudioClipDraft::apply(const AudioClipEdit &edit)
{
    if (auto valid = ClipProcessor::validate(samples(), edit); !valid)
        return valid;
    if (edit == m_edit)
        return {};
    m_past.push_back(m_edit);
    if (m_past.size() > historyLimit)
        m_past.erase(m_past.begin());
    m_edit = edit;
    m_future.clear();
    return {};
}

Result<void> AudioClipDraft::normalize(const AudioClipEdit &base)
{
    if (auto valid = ClipProcessor::validate(samples(), base); !valid)
        return valid;
    const std::span<const float> kept = samples().subspan(std::size_t(base.startFrame), std::size_t(base.length()));
    float peak = 0.0f;
    for (std::size_t i = 0; i < kept.size(); ++i) {
        const float factor = ClipProcessor::fadeFactor(qint64(i), base.length(), base.fadeInFrames, base.fadeOutFrames);
        peak = std::max(peak, std::abs(kept[i] * factor));
    }
    AudioClipEdit normalized = base;
    if (peak >= silentPeak)
        normalized.gain = std::min(normalizedPeak / peak, ClipProcessor::maximumGain);
    return apply(normalized);
}

Result<bool> AudioClipDraft::trimSilence(const AudioClipEdit &base, float threshold, qint64 paddingFrames)
{
    if (!ClipProcessor::isWithinZeroTo(threshold, 1.0f))
        return invalidTrim(QStringLiteral("The quiet level must be between 0 and 1."));
    if (paddingFrames < 0)
        return invalidTrim(QStringLiteral("The padding around the audio can’t be negative."));
    if (auto range = ClipProcessor::validateRange(qint64(m_original->size()), base); !range)
        return std::unexpected(range.error());

    const std::span<const float> all = samples();
    const auto loud = [threshold](float sample) { return std::abs(sample) > threshold; };
    const auto first = std::find_if(all.begin() + base.startFrame, all.begin() + base.endFrame, loud);
    if (first == all.begin() + base.endFrame)
        return false;
    const qint64 firstLoud = first - all.begin();
    qint64 lastLoud = base.endFrame - 1;
    while (!loud(all[std::size_t(lastLoud)]))
        --lastLoud;

    const qint64 start = firstLoud - std::min(paddingFrames, firstLoud - base.startFrame);
    const qint64 end = (lastLoud + 1) + std::min(paddingFrames, base.endFrame - 1 - lastLoud);
    if (start == base.startFrame && end == base.endFrame)
        return false;

    const qint64 length = end - start;
    const AudioClipEdit trimmed{start, end, base.gain, std::min(base.fadeInFrames, length),
                                std::min(base.fadeOutFrames, length)};
    if (auto applied = apply(trimmed); !applied)
        return std::unexpected(applied.error());
    return true;
}

bool AudioClipDraft::undo()
{
    if (m_past.empty())
        return false;
    m_future.push_back(m_edit);
    m_edit = m_past.back();
    m_past.pop_back();
    return true;
}

bool AudioClipDraft::redo()
{
    if (m_future.empty())
        return false;
    m_past.push_back(m_edit);
    m_edit = m_future.back();
    m_future.pop_back();
    return true;
}
