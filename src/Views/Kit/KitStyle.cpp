#include "Views/Kit/KitStyle.h"

#include "Services/InterfaceTheme.h"
#include "Services/SettingsStore.h"
#include "Views/Kit/Contrast.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QWidget>

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

QColor mix(const QColor &from, const QColor &to, double amount)
{
    return Contrast::over(KitStyle::withOpacity(to, amount), from);
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

qreal KitStyle::fontSize(FontRole role, qreal body, qreal smallest)
{
    // A desktop that names no smallest size hands Qt's default font, which may exceed the body.
    return std::max(body * ratio(role), std::min(smallest, body));
}

QFont KitStyle::font(FontRole role, std::optional<QFont::Weight> weight)
{
    QFont font = QApplication::font();
    // Asking the desktop goes through fontconfig; its answer holds for the whole run.
    static const QFontInfo smallest(QFontDatabase::systemFont(QFontDatabase::SmallestReadableFont));
    if (font.pixelSize() > 0)
        font.setPixelSize(int(std::lround(fontSize(role, font.pixelSize(), smallest.pixelSize()))));
    else
        font.setPointSizeF(fontSize(role, font.pointSizeF(), smallest.pointSizeF()));
    font.setWeight(weight.value_or(role == FontRole::headline ? QFont::DemiBold : QFont::Normal));
    return font;
}

QColor KitStyle::withOpacity(QColor color, double opacity)
{
    color.setAlphaF(float(color.alphaF() * opacity));
    return color;
}

ColorScheme KitStyle::scheme(const QPalette &palette)
{
    return Contrast::luminance(palette.color(QPalette::Window)) < Contrast::luminance(palette.color(QPalette::WindowText))
               ? ColorScheme::dark
               : ColorScheme::light;
}

QColor KitStyle::color(ColorRole role, double opacity)
{
    return color(QApplication::palette(), role, opacity);
}

QColor KitStyle::color(const QPalette &palette, ColorRole role, double opacity)
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

QPalette KitStyle::palette(ColorScheme scheme)
{
    const bool dark = scheme == ColorScheme::dark;
    const QColor window = dark ? QColor(38, 38, 40) : QColor(236, 236, 238);
    const QColor base = dark ? QColor(28, 28, 30) : QColor(255, 255, 255);
    const QColor button = dark ? QColor(58, 58, 62) : QColor(250, 250, 252);
    const QColor text = dark ? QColor(242, 242, 245) : QColor(29, 29, 31);
    QPalette palette(text, button, button.lighter(130), button.darker(150), button.darker(120), text, text, base, window);
    palette.setColor(QPalette::AlternateBase, mix(window, base, 0.5));
    palette.setColor(QPalette::ToolTipBase, base);
    palette.setColor(QPalette::ToolTipText, text);
    palette.setColor(QPalette::PlaceholderText, mix(text, base, 0.5));
    palette.setColor(QPalette::Highlight, dark ? QColor(10, 132, 255) : QColor(0, 100, 210));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    palette.setColor(QPalette::Link, dark ? QColor(100, 170, 255) : QColor(0, 90, 200));
    // Disabled controls read as dimmed, their labels included.
    const QColor dimmed = mix(text, window, 0.6);
    for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, dimmed);
    palette.setColor(QPalette::Disabled, QPalette::Button, mix(button, window, 0.5));
    return palette;
}

QColor KitStyle::readable(const QColor &ink)
{
    return Contrast::readable(ink, {color(ColorRole::windowBackground), color(ColorRole::controlBackground),
                                    color(ColorRole::barBackground)});
}

KitStyle::TintedTile KitStyle::tintedTile(const QColor &accent, double tint)
{
    const QColor fill = withOpacity(accent, tint);
    return {fill, Contrast::readable(accent, {Contrast::over(fill, color(ColorRole::controlBackground))}, Contrast::large)};
}

QColor KitStyle::accent(const SettingsStore &settings)
{
    return InterfaceThemes::accent(settings.interfaceThemeID());
}

void KitStyle::applyWindowPalette(QWidget *window, const QColor &accent)
{
    QPalette palette;
    palette.setColor(QPalette::Highlight, accent);
    // A disabled slider's filled part, like its label, reads as dimmed rather than accented.
    palette.setColor(QPalette::Disabled, QPalette::Highlight, color(ColorRole::tertiary, 0.5));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    palette.setColor(QPalette::Link, Contrast::readable(accent, {color(ColorRole::textBackground), color(ColorRole::windowBackground)}));
    window->setPalette(palette);
    window->setFont(font(FontRole::body));
}
