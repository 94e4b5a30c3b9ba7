#include "Foundation/Appearance.h"

#include "Foundation/Contrast.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <cmath>

namespace {

double ratio(FontRole role)
{
    // The design sizes of the roles over the 13-point body.
    switch (role) {
    case FontRole::largeTitle: return 26.0 / 13;
    case FontRole::title2: return 17.0 / 13;
    case FontRole::title3: return 15.0 / 13;
    case FontRole::headline: return 1.0;
    case FontRole::subheadline: return 11.0 / 13;
    case FontRole::body: return 1.0;
    case FontRole::callout: return 12.0 / 13;
    case FontRole::caption: return 10.0 / 13;
    case FontRole::caption2: return 10.0 / 13;
    }
    return 1.0;
}

QColor hue(ColorRole role, ColorScheme scheme)
{
    const bool dark = scheme == ColorScheme::dark;
    switch (role) {
    case ColorRole::green: return dark ? QColor(48, 209, 88) : QColor(30, 130, 55);
    case ColorRole::orange: return dark ? QColor(255, 159, 10) : QColor(180, 85, 0);
    case ColorRole::red: return dark ? QColor(255, 105, 97) : QColor(200, 35, 30);
    case ColorRole::yellow: return dark ? QColor(255, 214, 10) : QColor(150, 110, 0);
    case ColorRole::cyan: return dark ? QColor(100, 210, 255) : QColor(0, 115, 170);
    case ColorRole::pink: return dark ? QColor(255, 100, 140) : QColor(200, 30, 90);
    default: return {};
    }
}

}

qreal Appearance::fontSize(FontRole role, qreal body, qreal smallest, qreal readable)
{
    const qreal size = std::max(body * ratio(role), readable);
    // A desktop that names no smallest size hands the body font (or Qt's default, which may be
    // larger) as the smallest: only the readable floor then, or every small role would
    // collapse to the body.
    return smallest < body ? std::max(size, smallest) : size;
}

qreal Appearance::readableSize(const QFont &font)
{
    constexpr qreal points = 8;
    if (font.pixelSize() <= 0)
        return points;
    const QScreen *screen = QGuiApplication::primaryScreen();
    return points * (screen ? screen->logicalDotsPerInchY() : 96) / 72;
}

QFont Appearance::font(FontRole role, std::optional<QFont::Weight> weight)
{
    QFont font = QGuiApplication::font();
    // Asking the desktop goes through fontconfig; its answer holds for the whole run.
    static const QFontInfo smallest(QFontDatabase::systemFont(QFontDatabase::SmallestReadableFont));
    const qreal readable = readableSize(font);
    // Whole pixels are rounded up at the floor, so the floor holds after rounding.
    if (font.pixelSize() > 0)
        font.setPixelSize(std::max(int(std::lround(fontSize(role, font.pixelSize(), smallest.pixelSize(), readable))),
                                   int(std::ceil(readable))));
    else
        font.setPointSizeF(fontSize(role, font.pointSizeF(), smallest.pointSizeF(), readable));
    font.setWeight(weight.value_or(role == FontRole::headline ? QFont::DemiBold : QFont::Normal));
    return font;
}

QColor Appearance::mix(const QColor &from, const QColor &to, double amount)
{
    return Contrast::over(withOpacity(to, amount), from);
}

QColor Appearance::withOpacity(QColor color, double opacity)
{
    color.setAlphaF(float(color.alphaF() * opacity));
    return color;
}

ColorScheme Appearance::scheme(const QPalette &palette)
{
    return Contrast::luminance(palette.color(QPalette::Window)) < Contrast::luminance(palette.color(QPalette::WindowText))
               ? ColorScheme::dark
               : ColorScheme::light;
}

QColor Appearance::color(ColorRole role, double opacity)
{
    return color(QGuiApplication::palette(), role, opacity);
}

QColor Appearance::color(const QPalette &palette, ColorRole role, double opacity)
{
    const QColor window = palette.color(QPalette::Window);
    const QColor base = palette.color(QPalette::Base);
    const QColor text = palette.color(QPalette::WindowText);
    const QColor bar = mix(window, base, 0.5);
    const QColor value = [&]() -> QColor {
        switch (role) {
        case ColorRole::windowBackground: return window;
        case ColorRole::controlBackground: return base;
        case ColorRole::barBackground: return bar;
        case ColorRole::textBackground: return base;
        case ColorRole::primary: return text;
        case ColorRole::secondary: return Contrast::readable(mix(text, window, 0.4), {window, base, bar});
        case ColorRole::tertiary: return mix(text, window, 0.55);
        case ColorRole::separator: return withOpacity(text, scheme(palette) == ColorScheme::dark ? 0.22 : 0.14);
        case ColorRole::controlEdge: return Contrast::readable(mix(text, window, 0.6), {window, base, bar}, Contrast::large);
        default: return Contrast::readable(hue(role, scheme(palette)), {window, base, bar});
        }
    }();
    return withOpacity(value, opacity);
}

