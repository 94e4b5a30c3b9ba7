#include "Views/Studio/WaveformHandleDrag.h"

#include "Services/Studio/ClipSelection.h"

#include <algorithm>
#include <cmath>

double WaveformHandleDrag::handleCentre(double value, double width)
{
    return std::max(width - handleWidth, 0.0) * value + inset;
}

std::optional<WaveformSelection> WaveformHandleDrag::drag(Handle handle, double x, double width, qint64 totalFrames,
                                                          WaveformSelection current)
{
    if (totalFrames < 1)
        return std::nullopt;
    const double frames = double(totalFrames);
    qint64 startFrame = ClipSelection::frameAt(current.start, frames);
    qint64 endFrame = ClipSelection::frameAt(current.end, frames);
    const double track = width - handleWidth;
    if (!std::isfinite(x - inset) || !(track > 0) || startFrame < 0 || endFrame > totalFrames || startFrame >= endFrame)
        return WaveformSelection{double(startFrame) / frames, double(endFrame) / frames};

    const double position = (x - inset) / track;
    const qint64 target = position < 0 ? 0 : position >= 1 ? totalFrames : ClipSelection::frameAt(position, frames);
    if (handle == Handle::start)
        startFrame = std::min(target, endFrame - 1);
    else
        endFrame = std::max(target, startFrame + 1);
    return WaveformSelection{double(startFrame) / frames, double(endFrame) / frames};
}
