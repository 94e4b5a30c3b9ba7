#pragma once

#include "Platform/ColorSchemeSource.h"
#include "Views/Kit/KitStyle.h"

#include <QPalette>

// Keeps the application palette on the desktop's scheme: the palette Qt has from the desktop
// when it shows the wished scheme, else the kit's own palette for it; light when the desktop
// states no wish and gives no dark palette.
class KitAppearance final {
public:
    // Takes the application palette as it is now as the desktop's.
    explicit KitAppearance(ColorSchemeSource &source);

    static QPalette palette(const QPalette &desktop, ColorSchemePreference preference);

private:
    void apply(ColorSchemePreference preference);

    QPalette m_desktop;
};
