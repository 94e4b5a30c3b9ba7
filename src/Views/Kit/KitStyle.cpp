#include "Views/Kit/KitStyle.h"

#include "Services/InterfaceTheme.h"
#include "Services/SettingsStore.h"

#include <QPalette>
#include <QWidget>

QFont KitStyle::font(FontRole role, std::optional<QFont::Weight> weight)
{
    struct Metrics {
        int pixels;
        QFont::Weight weight;
    };
    const Metrics metrics = [role]() -> Metrics {
        switch (role) {
        case FontRole::largeTitle: return {26, QFont::Normal};
        case FontRole::title2: return {17, QFont::Normal};
        case FontRole::title3: return {15, QFont::Normal};
        case FontRole::headline: return {13, QFont::DemiBold};
        case FontRole::subheadline: return {11, QFont::Normal};
        case FontRole::body: return {13, QFont::Normal};
        case FontRole::callout: return {12, QFont::Normal};
        case FontRole::caption: return {10, QFont::Normal};
        case FontRole::caption2: return {10, QFont::Normal};
        }
        return {13, QFont::Normal};
    }();
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(metrics.pixels);
    font.setWeight(weight.value_or(metrics.weight));
    return font;
}

QColor KitStyle::withOpacity(QColor color, double opacity)
{
    color.setAlphaF(float(color.alphaF() * opacity));
    return color;
}

QColor KitStyle::color(ColorRole role, double opacity)
{
    const QColor base = [role] {
        switch (role) {
        case ColorRole::windowBackground: return QColor(236, 236, 238);
        case ColorRole::controlBackground: return QColor(255, 255, 255);
        case ColorRole::barBackground: return QColor(246, 246, 248);
        case ColorRole::textBackground: return QColor(255, 255, 255);
        case ColorRole::primary: return QColor(29, 29, 31);
        case ColorRole::secondary: return QColor(110, 110, 115);
        case ColorRole::tertiary: return QColor(160, 160, 165);
        case ColorRole::separator: return QColor(0, 0, 0, 30);
        case ColorRole::green: return QColor(40, 167, 69);
        case ColorRole::orange: return QColor(230, 126, 0);
        case ColorRole::red: return QColor(215, 45, 40);
        case ColorRole::yellow: return QColor(230, 180, 0);
        case ColorRole::cyan: return QColor(30, 160, 215);
        case ColorRole::pink: return QColor(235, 60, 115);
        }
        return QColor(29, 29, 31);
    }();
    return withOpacity(base, opacity);
}

QColor KitStyle::accent(const SettingsStore &settings)
{
    return InterfaceThemes::accent(settings.interfaceThemeID());
}

void KitStyle::applyWindowPalette(QWidget *window, const QColor &accent)
{
    QPalette palette = window->palette();
    palette.setColor(QPalette::Window, color(ColorRole::windowBackground));
    palette.setColor(QPalette::Base, color(ColorRole::textBackground));
    palette.setColor(QPalette::AlternateBase, color(ColorRole::barBackground));
    palette.setColor(QPalette::Button, color(ColorRole::controlBackground));
    palette.setColor(QPalette::WindowText, color(ColorRole::primary));
    palette.setColor(QPalette::Text, color(ColorRole::primary));
    palette.setColor(QPalette::ButtonText, color(ColorRole::primary));
    palette.setColor(QPalette::PlaceholderText, color(ColorRole::tertiary));
    palette.setColor(QPalette::Highlight, accent);
    // A disabled slider's filled part, like its label, reads as dimmed rather than accented.
    palette.setColor(QPalette::Disabled, QPalette::Highlight, color(ColorRole::tertiary, 0.5));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    // Disabled rows read as dimmed, their labels included.
    for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, color(ColorRole::tertiary));
    palette.setColor(QPalette::Link, accent);
    // Colours set for every group above would make disabled controls look enabled.
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, color(ColorRole::tertiary));
    window->setPalette(palette);
    window->setFont(font(FontRole::body));
}
