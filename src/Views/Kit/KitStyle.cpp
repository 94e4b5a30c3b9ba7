#include "Views/Kit/KitStyle.h"

#include "Services/InterfaceTheme.h"
#include "Services/SettingsStore.h"
#include "Foundation/Contrast.h"

#include <QApplication>
#include <QWidget>

using Appearance::mix;

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

QColor KitStyle::readable(const QColor &ink, double minimum)
{
    return Contrast::readable(ink, {color(ColorRole::windowBackground), color(ColorRole::controlBackground),
                                    color(ColorRole::barBackground)},
                              minimum);
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
