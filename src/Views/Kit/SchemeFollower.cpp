#include "Views/Kit/SchemeFollower.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

SchemeFollower::SchemeFollower(QWidget *widget, std::function<void()> restyle)
    : QObject(widget)
    , m_restyle(std::move(restyle))
    , m_palette(QApplication::palette().cacheKey())
{
    widget->installEventFilter(this);
}

void SchemeFollower::follow(QWidget *widget, std::function<void()> restyle)
{
    restyle();
    new SchemeFollower(widget, std::move(restyle));
}

bool SchemeFollower::eventFilter(QObject *, QEvent *event)
{
    // A widget hears of a new application palette as a change of its own palette; so does a
    // widget whose style sheet was just set, which is why the application palette is compared.
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::ApplicationPaletteChange) {
        const qint64 palette = QApplication::palette().cacheKey();
        if (palette != m_palette) {
            m_palette = palette;
            m_restyle();
        }
    }
    return false;
}
