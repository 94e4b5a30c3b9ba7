#include "Services/InterfaceTheme.h"

QColor InterfaceThemes::accent(InterfaceTheme theme)
{
    switch (theme) {
    case InterfaceTheme::violet: return QColor::fromRgbF(0.51f, 0.29f, 0.82f);
    case InterfaceTheme::ocean: return QColor::fromRgbF(0.13f, 0.40f, 0.69f);
    case InterfaceTheme::mint: return QColor::fromRgbF(0.05f, 0.48f, 0.43f);
    case InterfaceTheme::sunset: return QColor::fromRgbF(0.65f, 0.28f, 0.12f);
    case InterfaceTheme::rose: return QColor::fromRgbF(0.64f, 0.18f, 0.42f);
    case InterfaceTheme::forest: return QColor::fromRgbF(0.27f, 0.41f, 0.16f);
    }
    return QColor::fromRgbF(0.51f, 0.29f, 0.82f);
}

QColor InterfaceThemes::accent(const QString &themeID)
{
    return accent(fromRawOrFirst<InterfaceTheme>(themeID));
}
