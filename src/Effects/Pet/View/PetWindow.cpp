#include "Effects/Pet/View/PetWindow.h"

#include "Effects/Overlays/OverlayPanel.h"
#include "Effects/Pet/PetGeometry.h"
#include "Effects/Pet/View/DesktopPetView.h"
#include "Foundation/ScreenGeometry.h"
#include "Platform/OverlayWindowSupport.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QWindow>

PetWindow::PetWindow(PetPresentation &presentation, Scheduler &scheduler, const OverlayWindowSupport &support,
                     PetPanelCallbacks callbacks)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus
                           | Qt::NoDropShadowWindowHint)
    , m_support(support)
    , m_view(new DesktopPetView(presentation, scheduler, std::move(callbacks), this))
    , m_shaped(!support.blendsTranslucentWindows())
{
    // Names the window for desktop tests and tools; no window manager shows it.
    setWindowTitle(QStringLiteral("Plinkly pet"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TranslucentBackground);
    setFocusPolicy(Qt::NoFocus);
    resize(PetGeometry::closedPanelSize.toSize());
    connect(m_view, &DesktopPetView::appearanceChanged, this, &PetWindow::refreshShape);
    if (m_shaped)
        connect(m_view, &DesktopPetView::pictureMoved, this, &PetWindow::refreshShape);
}

PetWindow::~PetWindow()
{
    // Closing the window hides the view, which reports a change this half-destroyed window
    // must not act on.
    disconnect(m_view, nullptr, this, nullptr);
}

QRectF PetWindow::frame() const
{
    return ScreenGeometry::fromQt(QRectF(geometry()), ScreenGeometry::primaryScreenHeight());
}

void PetWindow::setFrame(const QRectF &frame)
{
    const QRect placed = ScreenGeometry::toQt(frame, ScreenGeometry::primaryScreenHeight()).toRect();
    setGeometry(placed);
    // Horizontal places are the same in Qt's coordinates and the y-up ones.
    const int centreX = placed.x() + qRound(m_view->figureFrame().center().x());
    const QScreen *screen = QGuiApplication::screenAt({centreX, placed.center().y()});
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (screen) {
        const QRect bounds = screen->geometry();
        const PetGeometry::RoomBeside room = PetGeometry::roomBeside(centreX, bounds.left(), bounds.x() + bounds.width());
        m_view->setRoomBeside(room.left, room.right);
    }
}

void PetWindow::orderFront()
{
    const bool wasVisible = isVisible();
    show();
    raise();
    if (!wasVisible && windowHandle())
        m_support.keepOnEveryWorkspace(*windowHandle());
    m_inputRegion = {};
    refreshShape();
}

void PetWindow::orderOut()
{
    hide();
}

void PetWindow::resizeEvent(QResizeEvent *)
{
    m_view->setGeometry(rect());
    refreshShape();
}

void PetWindow::refreshShape()
{
    if (m_shaped) {
        QImage frame(size(), QImage::Format_ARGB32_Premultiplied);
        frame.fill(Qt::transparent);
        QPainter painter(&frame);
        m_view->paintContent(painter);
        painter.end();
        const QRegion mask = OverlayPanel::shapeOf(frame);
        if (mask != m_mask) {
            m_mask = mask;
            // An empty mask would unshape the window; keep one invisible pixel instead.
            setMask(mask.isEmpty() ? QRegion(0, 0, 1, 1) : mask);
        }
    }
    const QRegion region = m_view->inputRegion();
    if (region != m_inputRegion && windowHandle() && isVisible()) {
        m_inputRegion = region;
        m_support.setInputRegion(*windowHandle(), region);
    }
}
