#include "Effects/ScreenToys/ScreenToyCanvasView.h"

#include "Effects/BandPainting.h"
#include "Effects/ScreenToys/ScreenToyCanvasPainter.h"

#include <QPaintEvent>
#include <QPainter>

namespace {
// In the canvas's own coordinates: y up, 0 at the display's bottom.
void flipToCanvas(QPainter &painter, qreal height)
{
    painter.translate(0, height);
    painter.scale(1, -1);
}
}

ScreenToyCanvasView::ScreenToyCanvasView(const QRectF &screenFrame, const QRect &geometry)
    // Kept away from the window manager, as every overlay: on every workspace, in no
    // taskbar, and no frame of the manager's own to catch the clicks passed through.
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus
                           | Qt::WindowTransparentForInput | Qt::NoDropShadowWindowHint
                           | Qt::X11BypassWindowManagerHint)
    , m_screenFrame(screenFrame)
{
    setWindowTitle(QStringLiteral("Plinkly screen toy"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    setGeometry(geometry);
}

void ScreenToyCanvasView::setScene(ScreenToyScene scene)
{
    m_scene = std::move(scene);
    sceneChanged();
}

void ScreenToyCanvasView::setPointer(std::optional<QPointF> pointer)
{
    m_scene.pointer = pointer;
    sceneChanged();
}

void ScreenToyCanvasView::setHandTone(ScreenToyHandTone tone)
{
    m_scene.handTone = tone;
    sceneChanged();
}

void ScreenToyCanvasView::sceneChanged()
{
    const QRegion now = ScreenToyCanvasPainter::damage(m_scene, m_screenFrame);
    update(now | m_drawn);
    m_drawn = now;
}

void ScreenToyCanvasView::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    BandPainting::paintInBands(painter, event->rect(), [&] { painter.fillRect(event->rect(), Qt::transparent); });
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.setClipRegion(event->region());
    flipToCanvas(painter, height());
    ScreenToyCanvasPainter::paint(painter, m_scene, m_screenFrame, m_pictures);
}

QImage ScreenToyCanvasView::render() const
{
    QImage image(m_screenFrame.size().toSize(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    flipToCanvas(painter, image.height());
    ScreenToyPictureCache pictures;
    ScreenToyCanvasPainter::paint(painter, m_scene, m_screenFrame, pictures);
    return image;
}
