#pragma once

#include <QColor>
#include <QFont>

#include <optional>

class SettingsStore;

// The text and colour roles every window of the interface draws with. Sizes are pixels
// (one pixel per design point); colours are one fixed light palette so every desktop shows
// the same window.
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
    green,
    orange,
    red,
    yellow,
    cyan,
    pink,
};

namespace KitStyle {
// The role's font; `weight` overrides the role's own weight (headline is semibold).
QFont font(FontRole role, std::optional<QFont::Weight> weight = std::nullopt);
QColor color(ColorRole role, double opacity = 1.0);
// The accent of the stored theme, violet when the identifier names no theme.
QColor accent(const SettingsStore &settings);
// `color` with its alpha multiplied by `opacity`.
QColor withOpacity(QColor color, double opacity);
// Applies the fixed palette, the accent as highlight, and the body font to a window.
void applyWindowPalette(QWidget *window, const QColor &accent);
}
