#pragma once

#include "Foundation/Error.h"
#include "Services/Studio/AudioClipEdit.h"
#include "Services/Studio/DecodedClip.h"

#include <span>
#include <vector>

// The studio's working copy of one clip: the untouched samples, the edit in force and the
// undo and redo histories. Every edit passes ClipProcessor before it is recorded, and a
// refused operation leaves the draft exactly as it was.
class AudioClipDraft {
public:
    static constexpr std::size_t historyLimit = 50;

    // A draft over the whole clip at unity gain, refused when the clip is empty or damaged.
    static Result<AudioClipDraft> wholeClip(ClipSamples original);

    const ClipSamples &original() const { return m_original; }
    std::span<const float> samples() const { return *m_original; }
    const AudioClipEdit &edit() const { return m_edit; }
    // Oldest first.
    const std::vector<AudioClipEdit> &past() const { return m_past; }
    // The next edit to redo is the last.
    const std::vector<AudioClipEdit> &future() const { return m_future; }

    // Records `edit` as the current edit; an edit equal to the current one records nothing.
    Result<void> apply(const AudioClipEdit &edit);
    // Applies `base` with the gain that brings its faded, un-gained peak to 0.8 (at most 4).
    Result<void> normalize(const AudioClipEdit &base);
    // Narrows `base` to its samples louder than `threshold`, keeping up to `paddingFrames`
    // of quiet on each side; true when an edit was applied.
    Result<bool> trimSilence(const AudioClipEdit &base, float threshold, qint64 paddingFrames);

    // Each answers whether there was an edit to move.
    bool undo();
    bool redo();

private:
    AudioClipDraft(ClipSamples original, AudioClipEdit edit);

    ClipSamples m_original;
    AudioClipEdit m_edit;
    std::vector<AudioClipEdit> m_past;
    std::vector<AudioClipEdit> m_future;
};
