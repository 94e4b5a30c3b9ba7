#pragma once

#include "Foundation/Appearance.h"

#include <QColor>
#include <QPalette>

class SettingsStore;
class QWidget;

// The windows' look: the shared font and colour roles, and what only windows need.
namespace KitStyle {
using Appearance::color;
using Appearance::font;
using Appearance::fontSize;
using Appearance::scheme;
using Appearance::withOpacity;
// The kit's own palette for a scheme, used where the desktop's palette shows the other one.
QPalette palette(ColorScheme scheme);
// The accent of the stored theme, violet when the identifier names no theme.
QColor accent(const SettingsStore &settings);
// `ink` (an accent used for text, or at `minimum` 3 for a mark) made readable on the window,
// control and bar backgrounds.
QColor readable(const QColor &ink, double minimum = 4.5);
// A symbol's tile tinted with `accent` on a card: the tile's fill, and the accent made to
// stand out from that fill as the symbol's ink.
struct TintedTile {
    QColor fill;
    QColor ink;
};
TintedTile tintedTile(const QColor &accent, double tint);
// Gives a window the accent as highlight and link colour and the body font; every other
// colour it takes from the application palette, so it follows a change of scheme.
void applyWindowPalette(QWidget *window, const QColor &accent);
}
