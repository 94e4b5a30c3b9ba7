#include "Views/Kit/KitAppearance.h"

#include <QApplication>

KitAppearance::KitAppearance(ColorSchemeSource &source)
    : m_desktop(QApplication::palette())
{
    source.start([this](ColorSchemePreference preference) { apply(preference); });
}

QPalette KitAppearance::palette(const QPalette &desktop, ColorSchemePreference preference)
{
    const ColorScheme own = KitStyle::scheme(desktop);
    const ColorScheme wished = preference == ColorSchemePreference::dark    ? ColorScheme::dark
                               : preference == ColorSchemePreference::light ? ColorScheme::light
                                                                            : own;
    return wished == own ? desktop : KitStyle::palette(wished);
}

void KitAppearance::apply(ColorSchemePreference preference)
{
    const QPalette wanted = palette(m_desktop, preference);
    if (wanted != QApplication::palette())
        QApplication::setPalette(wanted);
}
