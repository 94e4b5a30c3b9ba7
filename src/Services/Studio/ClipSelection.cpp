#include "Services/Studio/ClipSelection.h"

#include <cmath>
#include <limits>

qint64 ClipSelection::frameAt(double x, double scale)
{
    const double product = x * scale;
    // The controls' ranges keep products small; anything else must not reach a conversion.
    if (!std::isfinite(product) || std::abs(product) >= double(std::numeric_limits<qint64>::max() / 2))
        return 0;
    const auto frame = qint64(std::trunc(product));
    return double(frame + 1) / scale == x ? frame + 1 : frame;
}
