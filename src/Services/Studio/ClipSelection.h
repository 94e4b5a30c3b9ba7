#pragma once

#include <QtGlobal>

// The studio's controls hold the selection and the fades as fractions and seconds; edits hold
// frames. Truncating x·N alone does not survive the round trip frame → x → frame (107/72000
// times 72000 gives 106.99…), so a frame whose own fraction is exactly x is taken instead.
namespace ClipSelection {
// trunc(x · scale), or one more when that next frame ÷ scale is exactly x. Not finite → 0.
qint64 frameAt(double x, double scale);
}
