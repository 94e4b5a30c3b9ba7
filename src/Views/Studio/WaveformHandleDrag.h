#pragma once

#include <QtGlobal>

#include <optional>

// The crop selection as fractions of the clip; the end is exclusive.
struct WaveformSelection {
    double start = 0;
    double end = 1;

    bool operator==(const WaveformSelection &) const = default;
};

// Where the waveform's crop handles sit and what dragging one does. The handles travel on a
// track inset by half a handle's width at both ends; a drag always leaves at least one frame
// selected and both fractions on whole frames.
namespace WaveformHandleDrag {
inline constexpr double handleWidth = 28;
inline constexpr double inset = handleWidth / 2;

enum class Handle { start, end };

// The x of a handle's centre for a view `width` wide.
double handleCentre(double value, double width);

// The selection after dragging `handle` to `x`; nothing for a clip without frames.
std::optional<WaveformSelection> drag(Handle handle, double x, double width, qint64 totalFrames,
                                      WaveformSelection current);
}
