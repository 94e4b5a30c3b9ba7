#include "Effects/StatsOverlayController.h"

#include "Effects/Overlays/StatsOverlayView.h"
#include "Foundation/ScreenGeometry.h"
#include "Platform/OverlayWindowSupport.h"

#include <QGuiApplication>
#include <QScreen>

#include <cmath>

namespace {

// The screen the HUD is on, else the primary one.
QScreen *screenOf(const QWidget *view)
{
    if (view) {
        if (QScreen *screen = QGuiApplication::screenAt(view->geometry().center()))
            return screen;
    }
    return QGuiApplication::primaryScreen();
}

QRectF visibleFrameYUp(const QScreen *screen)
{
    const int inset = StatsOverlayController::screenInset;
    return ScreenGeometry::fromQt(QRectF(screen->availableGeometry().adjusted(inset, inset, -inset, -inset)),
                                  ScreenGeometry::primaryScreenHeight());
}

}

StatsOverlayController::StatsOverlayController(OverlayWindowSupport &support, Scheduler &scheduler, QObject *parent)
    : QObject(parent)
    , m_support(support)
    , m_presentation(scheduler)
    , m_placement{1.0, 1.0}
{
}

StatsOverlayController::~StatsOverlayController()
{
    delete m_view.data();
}

bool StatsOverlayController::isVisible() const
{
    return m_view && m_view->isVisible();
}

void StatsOverlayController::setVisible(bool visible)
{
    if (visible == isVisible())
        return;
    if (!visible) {
        m_view->hide();
        return;
    }
    if (!m_view) {
        m_view = new StatsOverlayView(m_presentation, m_support.blendsTranslucentWindows());
        m_view->onMoved = [this] { viewMoved(); };
    }
    applyPlacement();
    m_view->show();
}

void StatsOverlayController::setPlacement(PetPlacement placement)
{
    placement = placement.sanitized();
    if (placement == m_placement)
        return;
    m_placement = placement;
    applyPlacement();
}

void StatsOverlayController::applyPlacement()
{
    if (!m_view)
        return;
    QScreen *screen = screenOf(m_view->isVisible() ? m_view.data() : nullptr);
    if (!screen)
        return;
    const QSizeF size(StatsOverlayView::panelSize);
    const QPointF originYUp = m_placement.origin(visibleFrameYUp(screen), size);
    // The origin is the bottom-left corner, y up; Qt places the top-left corner, y down.
    const QRectF frame = ScreenGeometry::toQt(QRectF(originYUp, size), ScreenGeometry::primaryScreenHeight());
    m_view->move(int(std::lround(frame.x())), int(std::lround(frame.y())));
}

void StatsOverlayController::viewMoved()
{
    QScreen *screen = screenOf(m_view);
    if (!screen)
        return;
    const QSizeF size(StatsOverlayView::panelSize);
    const QRectF frameYUp =
        ScreenGeometry::fromQt(QRectF(QPointF(m_view->pos()), size), ScreenGeometry::primaryScreenHeight());
    m_placement = PetPlacement::normalized(frameYUp.topLeft(), visibleFrameYUp(screen), size);
    // A drop partly off the free room snaps back inside it.
    applyPlacement();
    if (onPlacementChanged)
        onPlacementChanged(m_placement);
}
