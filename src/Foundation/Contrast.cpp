#include "Foundation/Contrast.h"

#include <algorithm>
#include <cmath>

namespace {

double linear(double channel)
{
    return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

QColor mix(const QColor &from, const QColor &to, double amount)
{
    const auto channel = [amount](double a, double b) { return a + (b - a) * amount; };
    return QColor::fromRgbF(float(channel(from.redF(), to.redF())), float(channel(from.greenF(), to.greenF())),
                            float(channel(from.blueF(), to.blueF())), from.alphaF());
}

}

double Contrast::luminance(const QColor &color)
{
    const QColor rgb = color.toRgb();
    return 0.2126 * linear(rgb.redF()) + 0.7152 * linear(rgb.greenF()) + 0.0722 * linear(rgb.blueF());
}

double Contrast::ratio(const QColor &a, const QColor &b)
{
    const double first = luminance(a) + 0.05;
    const double second = luminance(b) + 0.05;
    return std::max(first, second) / std::min(first, second);
}

QColor Contrast::over(const QColor &color, const QColor &background)
{
    QColor opaque = mix(background, color, color.alphaF());
    opaque.setAlphaF(1.0f);
    return opaque;
}

QColor Contrast::readable(const QColor &ink, std::initializer_list<QColor> backgrounds, double minimum)
{
    const auto reaches = [&](const QColor &candidate) {
        return std::all_of(backgrounds.begin(), backgrounds.end(), [&](const QColor &background) {
            return ratio(over(candidate, background), background) >= minimum;
        });
    };
    double darkest = 1.0;
    for (const QColor &background : backgrounds)
        darkest = std::min(darkest, luminance(background));
    const QColor target = darkest > 0.18 ? QColor(Qt::black) : QColor(Qt::white);
    QColor candidate = ink;
    for (int step = 1; step <= 20 && !reaches(candidate); ++step)
        candidate = mix(ink, target, step / 20.0);
    return candidate;
}
