#pragma once

#include <QColor>
#include <QFont>
#include <QPalette>

#include <optional>

class SettingsStore;
class QWidget;

// The text and colour roles every window of the interface draws with. Fonts are the desktop's
// application font at fixed ratios; colours come from the application palette, which follows
// the desktop in light and dark.
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

namespace KitStyle {
// The role's font; `weight` overrides the role's own weight (headline is semibold).
QFont font(FontRole role, std::optional<QFont::Weight> weight = std::nullopt);
// A role's size for a body size, in the body's unit, never below `smallest`.
qreal fontSize(FontRole role, qreal body, qreal smallest);
QColor color(ColorRole role, double opacity = 1.0);
// The role as it comes out of `palette`; text roles are readable on its backgrounds.
QColor color(const QPalette &palette, ColorRole role, double opacity = 1.0);
ColorScheme scheme(const QPalette &palette);
// The kit's own palette for a scheme, used where the desktop's palette shows the other one.
QPalette palette(ColorScheme scheme);
// The accent of the stored theme, violet when the identifier names no theme.
QColor accent(const SettingsStore &settings);
// `ink` (an accent used for text) made readable on the window, control and bar backgrounds.
QColor readable(const QColor &ink);
// A symbol's tile tinted with `accent` on a card: the tile's fill, and the accent made to
// stand out from that fill as the symbol's ink.
struct TintedTile {
    QColor fill;
    QColor ink;
};
TintedTile tintedTile(const QColor &accent, double tint);
// `color` with its alpha multiplied by `opacity`.
QColor withOpacity(QColor color, double opacity);
// Gives a window the accent as highlight and link colour and the body font; every other
// colour it takes from the application palette, so it follows a change of scheme.
void applyWindowPalette(QWidget *window, const QColor &accent);
}
