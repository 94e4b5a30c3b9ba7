#pragma once

#include <QColor>

#include <initializer_list>

// Contrast between colours as the readability guidelines measure it: the ratio of the
// lighter colour's relative luminance to the darker one's, each plus 0.05 (1 to 21).
namespace Contrast {
inline constexpr double text = 4.5;
// Text 18 px and larger, and the edges of controls.
inline constexpr double large = 3.0;

double luminance(const QColor &color);
double ratio(const QColor &a, const QColor &b);
// `color` painted over the opaque `background`.
QColor over(const QColor &color, const QColor &background);
// `ink` moved towards black on light backgrounds (white on dark ones) until it reaches
// `minimum` against every background; ink that already does stays as it is.
QColor readable(const QColor &ink, std::initializer_list<QColor> backgrounds, double minimum = text);
}
