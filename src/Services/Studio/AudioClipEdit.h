#pragma once

#include "Foundation/Error.h"

#include <QByteArray>
#include <QtGlobal>

// A non-destructive edit of a mono clip: the kept range [startFrame, endFrame), a linear
// gain and the lengths of the linear fades at both ends of the kept range. Whether an edit
// fits a clip is judged only by ClipProcessor.
struct AudioClipEdit {
    qint64 startFrame = 0;
    qint64 endFrame = 0;
    float gain = 1.0f;
    qint64 fadeInFrames = 0;
    qint64 fadeOutFrames = 0;

    bool operator==(const AudioClipEdit &) const = default;

    // The whole clip at unity gain without fades.
    static AudioClipEdit wholeClip(qint64 frameCount);

    qint64 length() const { return endFrame - startFrame; }

    // {"startFrame":…,"endFrame":…,"gain":…,"fadeInFrames":…,"fadeOutFrames":…} in that order.
    // A gain that is not a finite number cannot be written as JSON and is refused.
    Result<QByteArray> toJson() const;
    // Needs all five keys, ignores any others and checks no ranges.
    static Result<AudioClipEdit> fromJson(const QByteArray &json);
};
