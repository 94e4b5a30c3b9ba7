#pragma once

#include <QColor>
#include <QFont>
#include <QPalette>

#include <optional>

// The text and colour roles every surface draws with, windows and desktop surfaces alike.
// Fonts are the application font at fixed ratios; colours come from the application palette,
// which follows the desktop in light and dark, so a surface that asks for them as it paints
// follows a change of scheme without a hook of its own.
enum class FontRole { largeTitle, title2, title3, headline, subheadline, body, callout, caption, caption2 };
enum class ColorRole {
    windowBackground,
    controlBackground,
    barBackground,
    textBackground,
    primary,
    secondary,
    tertiary,
    separator,
    // The boundary of a control (bordered button, text field, segment, switch track).
    controlEdge,
    green,
    orange,
    red,
    yellow,
    cyan,
    pink,
};
enum class ColorScheme { light, dark };

namespace Appearance {
// The role's font; `weight` overrides the role's own weight (headline is semibold).
QFont font(FontRole role, std::optional<QFont::Weight> weight = std::nullopt);
// A role's size for a body size, in the body's unit. `smallest` is a floor only where it is
// below the body: a desktop that names no smallest size hands the body font itself. No role
// goes below `readable`, whatever the desktop says.
qreal fontSize(FontRole role, qreal body, qreal smallest, qreal readable);
// The least size text stays readable at, about 8 points at the screen's density: in points,
// or in pixels for a font set in pixels.
qreal readableSize(const QFont &font);
QColor color(ColorRole role, double opacity = 1.0);
// The role as it comes out of `palette`; text roles are readable on its backgrounds.
QColor color(const QPalette &palette, ColorRole role, double opacity = 1.0);
ColorScheme scheme(const QPalette &palette);
// `from` with `to` laid over it at `amount` (0 to 1).
QColor mix(const QColor &from, const QColor &to, double amount);
// `color` with its alpha multiplied by `opacity`.
QColor withOpacity(QColor color, double opacity);
}
