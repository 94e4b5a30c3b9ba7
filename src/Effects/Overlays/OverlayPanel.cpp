#include "Effects/Overlays/OverlayPanel.h"

#include <QBitmap>
#include <QPainter>
#include <QRegion>

namespace {
constexpr int frameIntervalMs = 16;
}

OverlayPanel::OverlayPanel(Blending blending, QWidget *parent)
    // Kept away from the window manager as well: a manager that wraps the panel in a frame
    // of its own (openbox does) would catch the clicks the panel lets through.
    : QWidget(parent,
              Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus
                  | Qt::WindowTransparentForInput | Qt::NoDropShadowWindowHint | Qt::X11BypassWindowManagerHint)
    , m_blending(blending)
{
    // Never shown by the window manager; names the window for desktop tests and tools.
    setWindowTitle(QStringLiteral("Plinkly overlay"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    m_frameTimer.setInterval(frameIntervalMs);
    connect(&m_frameTimer, &QTimer::timeout, this, &OverlayPanel::tick);
}

void OverlayPanel::present(const QRect &geometry)
{
    setGeometry(geometry);
    m_clock.start();
    if (m_blending == Blending::shaped)
        tick();
    show();
    raise();
    m_frameTimer.start();
}

double OverlayPanel::elapsedSeconds() const
{
    return m_clock.isValid() ? double(m_clock.elapsed()) / 1000.0 : 0.0;
}

void OverlayPanel::refresh()
{
    if (!isVisible())
        return;
    // Windows raised since the panel appeared would otherwise cover it.
    raise();
    if (!m_frameTimer.isActive())
        m_frameTimer.start();
}

void OverlayPanel::tick()
{
    const double elapsed = elapsedSeconds();
    if (m_blending == Blending::shaped) {
        m_shapedFrame = frameAt(elapsed);
        const QRegion region = shapeOf(m_shapedFrame);
        // An empty mask would unshape the window; keep one invisible pixel instead.
        setMask(region.isEmpty() ? QRegion(0, 0, 1, 1) : region);
    }
    update();
    if (!animates(elapsed))
        m_frameTimer.stop();
}

QRegion OverlayPanel::shapeOf(const QImage &frame)
{
    // Only clearly drawn pixels belong to the window; faint edges would show as dark.
    QImage logical = frame;
    logical.setDevicePixelRatio(1);
    return QRegion(QBitmap::fromImage(logical.createAlphaMask(Qt::ThresholdAlphaDither)));
}

QImage OverlayPanel::frameAt(double elapsed)
{
    QImage frame(size() * devicePixelRatioF(), QImage::Format_ARGB32_Premultiplied);
    frame.setDevicePixelRatio(devicePixelRatioF());
    frame.fill(Qt::transparent);
    QPainter painter(&frame);
    painter.setRenderHint(QPainter::Antialiasing);
    paintFrame(painter, elapsed);
    return frame;
}

void OverlayPanel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (m_blending == Blending::shaped) {
        painter.drawImage(0, 0, m_shapedFrame);
        return;
    }
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(rect(), Qt::transparent);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.setRenderHint(QPainter::Antialiasing);
    paintFrame(painter, elapsedSeconds());
}
