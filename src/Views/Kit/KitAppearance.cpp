#include "Views/Kit/KitAppearance.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

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

void KitAppearance::whenKnown(QObject *context, std::function<void()> then, std::chrono::milliseconds longest)
{
    if (m_known) {
        then();
        return;
    }
    m_context = context;
    m_waiting = std::move(then);
    QTimer::singleShot(longest, context, [this] { runWaiting(); });
}

void KitAppearance::apply(ColorSchemePreference preference)
{
    const QPalette wanted = palette(m_desktop, preference);
    if (wanted != QApplication::palette()) {
        QApplication::setPalette(wanted);
        // Qt tells only the windows, and a widget hears of it only where its own palette
        // changes, which one with style-sheet colours may not: every widget is told, so each
        // restyles now and none keeps the old scheme's colours.
        QEvent change(QEvent::ApplicationPaletteChange);
        for (QWidget *widget : QApplication::allWidgets()) {
            if (!widget->isWindow())
                QCoreApplication::sendEvent(widget, &change);
        }
    }
    m_known = true;
    runWaiting();
}

void KitAppearance::runWaiting()
{
    // Whichever comes first, the answer or the deadline, starts the waiting work; the other
    // finds nothing left to do.
    if (!m_waiting || !m_context)
        return;
    std::function<void()> then = std::exchange(m_waiting, {});
    then();
}
