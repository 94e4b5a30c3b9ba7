#include "ScreenToyPictures.h"

#include "Effects/ScreenToys/ScreenToyHandsLayout.h"
#include "Synth.h"

#include <QDir>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QRadialGradient>

#include <cmath>
#include <functional>
#include <numbers>

namespace {

constexpr double pi = std::numbers::pi;

QColor skin(double shade = 1.0)
{
    // The original hand tone's swatch, darker or lighter; always clearly skin (red above
    // green above blue, red well above blue), so the tone recolouring finds every part of it.
    return QColor::fromRgbF(float(std::min(0.78 * shade, 1.0)), float(std::min(0.57 * shade, 1.0)),
                            float(std::min(0.44 * shade, 1.0)));
}

QColor grey(double level, double alpha = 1.0)
{
    return QColor::fromRgbF(float(level), float(level), float(level), float(alpha));
}

QColor rgb(double red, double green, double blue, double alpha = 1.0)
{
    return QColor::fromRgbF(float(red), float(green), float(blue), float(alpha));
}

// The outline every part of the artwork gets, in the picture's own pixels (about 3 px on screen
// for the held toys), and the same width in units of a frame's side for lines drawn alike.
constexpr double outlinePixels = 4.5;
constexpr double outlineWidth = 0.005;
const QColor ink = grey(0.06, 0.9);

// Fills a shape and draws its outline, so all parts read with the same weight.
void part(QPainter &p, const QPainterPath &shape, const QBrush &fill, const QColor &outline = ink)
{
    p.fillPath(shape, fill);
    QPen pen(outline, outlinePixels, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    pen.setCosmetic(true);
    p.strokePath(shape, pen);
}

QPainterPath rounded(const QRectF &rect, double radius)
{
    QPainterPath path;
    path.addRoundedRect(rect, radius, radius);
    return path;
}

QPainterPath polygon(std::initializer_list<QPointF> points)
{
    QPainterPath path;
    path.addPolygon(QPolygonF(points));
    path.closeSubpath();
    return path;
}

// Light falls on the weapons' top side (to the right in the frames) and a little from ahead:
// a gradient across a part from its shaded underside to its lit top side.
QLinearGradient lit(const QRectF &box, const QColor &shade, const QColor &light)
{
    QLinearGradient gradient(QPointF(box.left(), box.bottom()), QPointF(box.right(), box.top()));
    gradient.setColorAt(0, shade);
    gradient.setColorAt(0.55, QColor::fromRgbF(float((shade.redF() + light.redF()) / 2),
                                               float((shade.greenF() + light.greenF()) / 2),
                                               float((shade.blueF() + light.blueF()) / 2), light.alphaF()));
    gradient.setColorAt(0.8, light);
    gradient.setColorAt(1, shade.lighter(115));
    return gradient;
}

QLinearGradient metal(const QRectF &box, double dark, double light)
{
    return lit(box, grey(dark), grey(light));
}

// Paints one frame `side` pixels wide with a painter scaled to unit coordinates.
using FramePainter = std::function<void(QPainter &, int frame)>;

QImage frames(int side, int count, const FramePainter &paint)
{
    QImage image(side * count, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    for (int frame = 0; frame < count; ++frame) {
        painter.save();
        painter.setClipRect(QRect(side * frame, 0, side, side));
        painter.translate(side * frame, 0);
        painter.scale(side, side);
        painter.setPen(Qt::NoPen);
        paint(painter, frame);
        painter.restore();
    }
    return image;
}

// A fist closed round a grip: one shape for palm, fingers, thumb and wrist, shaded from the
// light side, the creases between the fingers and the thumb's joint drawn inside it.
void hand(QPainter &p, const ScreenToyHandsLayout::Hand &placement)
{
    const QTransform t = placement.transform();
    const QPainterPath outline = t.map(ScreenToyHandsLayout::handOutline());
    const QRectF box = outline.boundingRect();
    QLinearGradient shade = lit(box, skin(0.78), skin(1.1));
    part(p, outline, shade, skin(0.42));
    p.save();
    p.setClipPath(outline);
    const QPen crease(skin(0.6), 0.004, Qt::SolidLine, Qt::RoundCap);
    p.setPen(crease);
    // Between the fingers, and where the curled fingertips tuck in under the palm.
    for (int i = 0; i < 3; ++i) {
        const double x = -0.028 + 0.028 * i;
        p.drawLine(t.map(QPointF(x, -0.06)), t.map(QPointF(x, -0.012)));
    }
    p.drawLine(t.map(QPointF(-0.05, -0.01)), t.map(QPointF(0.05, -0.006)));
    p.drawLine(t.map(QPointF(-0.07, -0.03)), t.map(QPointF(-0.062, -0.008)));
    // A sheen along the knuckles, on the light side.
    p.setPen(QPen(skin(1.18), 0.007, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 4; ++i)
        p.drawPoint(t.map(QPointF(-0.04 + 0.028 * i, -0.045)));
    p.restore();
}

// The gun's own coordinates: x towards its top side, y back from the muzzle.
QTransform gunAxis(QPointF muzzle)
{
    return QTransform::fromTranslate(muzzle.x(), muzzle.y());
}

// A pistol seen from its right side, muzzle up, grip down to the left; frame 1 has the slide
// back and the barrel showing.
void handgun(QPainter &p, int frame)
{
    const double back = frame == 1 ? 0.045 : 0.0;
    p.save();
    p.setTransform(gunAxis(QPointF(0.5, 0.10)), true);
    // Barrel, seen where the slide has run back.
    part(p, rounded(QRectF(-0.02, 0.0, 0.04, 0.1), 0.006), metal(QRectF(-0.02, 0, 0.04, 0.1), 0.2, 0.55));
    // Frame with the dust cover and rail, trigger guard and raked grip.
    QPainterPath body = rounded(QRectF(-0.065, 0.06, 0.06, 0.32), 0.012);
    body = body.united(polygon({QPointF(-0.06, 0.28), QPointF(-0.07, 0.37), QPointF(-0.22, 0.43),
                                QPointF(-0.235, 0.50), QPointF(-0.2, 0.52), QPointF(-0.05, 0.46),
                                QPointF(-0.02, 0.40), QPointF(-0.02, 0.30)}));
    part(p, body, metal(QRectF(-0.24, 0.06, 0.24, 0.46), 0.08, 0.3));
    // Grip panel with its chequering.
    const QPainterPath panel = polygon({QPointF(-0.085, 0.38), QPointF(-0.2, 0.43), QPointF(-0.21, 0.485),
                                        QPointF(-0.19, 0.495), QPointF(-0.075, 0.445)});
    part(p, panel, rgb(0.13, 0.13, 0.14), grey(0.03, 0.9));
    p.save();
    p.setClipPath(panel);
    p.setPen(QPen(grey(0.28), 0.003));
    for (int i = 0; i < 12; ++i) {
        const double x = -0.22 + 0.013 * i;
        p.drawLine(QPointF(x, 0.37), QPointF(x + 0.05, 0.5));
        p.drawLine(QPointF(x + 0.05, 0.37), QPointF(x, 0.5));
    }
    p.restore();
    // Trigger guard and trigger.
    QPainterPath guard;
    guard.addEllipse(QRectF(-0.125, 0.25, 0.09, 0.1));
    p.strokePath(guard, QPen(grey(0.1), 0.014));
    p.strokePath(guard, QPen(ink, outlineWidth * 0.5));
    part(p, rounded(QRectF(-0.1, 0.28, 0.05, 0.016), 0.006), grey(0.18));
    // Slide with its serrations, ejection port and sights.
    const QRectF slide(-0.035, 0.0 + back, 0.085, 0.40);
    part(p, rounded(slide, 0.01), metal(slide, 0.16, 0.62));
    p.setPen(QPen(grey(0.1), 0.005));
    for (int i = 0; i < 6; ++i)
        p.drawLine(QPointF(-0.028, 0.31 + back + 0.014 * i), QPointF(0.04, 0.31 + back + 0.014 * i));
    p.setPen(Qt::NoPen);
    part(p, rounded(QRectF(0.005, 0.17 + back, 0.035, 0.09), 0.004), grey(0.08));
    part(p, rounded(QRectF(0.05, 0.015 + back, 0.012, 0.025), 0.003), grey(0.12));
    part(p, rounded(QRectF(0.05, 0.36 + back, 0.014, 0.03), 0.003), grey(0.12));
    p.setBrush(grey(0.95));
    p.drawEllipse(QPointF(0.056, 0.027 + back), 0.004, 0.004);
    p.restore();
    for (const auto &h : ScreenToyHandsLayout::hands(ScreenToyKind::blaster))
        hand(p, h);
}

// A toy water pistol from its right side, nozzle up: a clear tank of water on top, a pump
// under the barrel and an orange nozzle tip.
void waterGun(QPainter &p, int)
{
    p.save();
    p.setTransform(gunAxis(QPointF(0.5, 0.15)), true);
    // Nozzle: a narrow tip, orange, on a white collar.
    part(p, rounded(QRectF(-0.013, 0.0, 0.026, 0.05), 0.008), rgb(1.0, 0.48, 0.1));
    part(p, rounded(QRectF(-0.026, 0.04, 0.052, 0.03), 0.008), grey(0.96));
    // Body: a blue barrel into a rounded housing and a raked grip.
    QPainterPath body = rounded(QRectF(-0.04, 0.06, 0.075, 0.36), 0.03);
    body = body.united(polygon({QPointF(-0.03, 0.33), QPointF(-0.05, 0.40), QPointF(-0.2, 0.46),
                                QPointF(-0.215, 0.53), QPointF(-0.18, 0.55), QPointF(-0.03, 0.49),
                                QPointF(0.03, 0.44), QPointF(0.03, 0.33)}));
    part(p, body, lit(QRectF(-0.22, 0.06, 0.25, 0.5), rgb(0.05, 0.22, 0.62), rgb(0.3, 0.6, 1.0)));
    // Pump handle under the barrel, white with grooves.
    const QRectF pump(-0.075, 0.1, 0.04, 0.14);
    part(p, rounded(pump, 0.014), metal(pump, 0.72, 0.98));
    p.setPen(QPen(grey(0.55), 0.004));
    for (int i = 1; i < 5; ++i)
        p.drawLine(QPointF(-0.07, 0.1 + 0.028 * i), QPointF(-0.04, 0.1 + 0.028 * i));
    p.setPen(Qt::NoPen);
    // Trigger in its guard.
    QPainterPath guard;
    guard.addEllipse(QRectF(-0.13, 0.31, 0.09, 0.1));
    p.strokePath(guard, QPen(rgb(0.05, 0.2, 0.55), 0.014));
    part(p, rounded(QRectF(-0.105, 0.34, 0.055, 0.018), 0.008), grey(0.95));
    // The tank: clear plastic with water two thirds up and a highlight.
    const QRectF tank(0.03, 0.09, 0.12, 0.26);
    const QPainterPath tankShape = rounded(tank, 0.05);
    part(p, tankShape, rgb(0.75, 0.9, 1.0, 0.35), rgb(0.1, 0.3, 0.5, 0.9));
    p.save();
    p.setClipPath(tankShape);
    const QRectF water(tank.left(), tank.top(), tank.width() * 0.62, tank.height());
    QLinearGradient waterFill(water.topLeft(), water.topRight());
    waterFill.setColorAt(0, rgb(0.1, 0.45, 0.85, 0.85));
    waterFill.setColorAt(1, rgb(0.35, 0.75, 1.0, 0.75));
    p.fillRect(water, waterFill);
    p.setPen(QPen(rgb(0.85, 0.97, 1.0, 0.9), 0.005));
    p.drawLine(QPointF(water.right(), tank.top() + 0.02), QPointF(water.right(), tank.bottom() - 0.02));
    p.setPen(Qt::NoPen);
    p.setBrush(rgb(1, 1, 1, 0.75));
    p.drawRoundedRect(QRectF(tank.right() - 0.035, tank.top() + 0.04, 0.016, tank.height() - 0.1), 0.008, 0.008);
    p.restore();
    // The tank's filler cap at its front, above the hands, where nothing is recoloured.
    part(p, rounded(QRectF(0.06, 0.065, 0.06, 0.03), 0.008), rgb(1.0, 0.48, 0.1));
    p.restore();
    for (const auto &h : ScreenToyHandsLayout::hands(ScreenToyKind::waterGun))
        hand(p, h);
}

// The rifle from its right side, muzzle up: muzzle and front sight, barrel, gas tube, wooden
// handguard, receiver with the charging handle, curved magazine, pistol grip and wooden stock.
// Frame 1 has the bolt carrier back.
void ak47(QPainter &p, int frame)
{
    p.save();
    p.setTransform(ScreenToyHandsLayout::rifleAxis(), true);
    const auto woodFill = [](const QRectF &box) { return lit(box, rgb(0.36, 0.17, 0.07), rgb(0.68, 0.38, 0.17)); };
    // Stock, behind the receiver.
    const QPainterPath stock = polygon({QPointF(0.032, 0.70), QPointF(0.008, 0.955), QPointF(-0.10, 0.955),
                                        QPointF(-0.062, 0.80), QPointF(-0.034, 0.70)});
    part(p, stock, woodFill(QRectF(-0.1, 0.7, 0.13, 0.26)));
    part(p, rounded(QRectF(-0.104, 0.948, 0.116, 0.018), 0.004), grey(0.2));
    // Barrel, muzzle and front sight.
    part(p, QPainterPath(rounded(QRectF(-0.009, 0.0, 0.018, 0.42), 0.004)), metal(QRectF(-0.01, 0, 0.02, 0.42), 0.1, 0.5));
    part(p, rounded(QRectF(-0.014, 0.0, 0.028, 0.035), 0.004), grey(0.12));
    part(p, polygon({QPointF(0.008, 0.04), QPointF(0.05, 0.045), QPointF(0.05, 0.06), QPointF(0.008, 0.075)}),
         grey(0.14));
    // Gas block and tube.
    part(p, rounded(QRectF(-0.012, 0.16, 0.045, 0.04), 0.006), grey(0.16));
    part(p, rounded(QRectF(0.012, 0.19, 0.02, 0.22), 0.006), metal(QRectF(0.012, 0.19, 0.02, 0.22), 0.12, 0.45));
    // Handguard, lower and upper, over the barrel.
    part(p, rounded(QRectF(QPointF(-0.044, 0.22), QPointF(0.006, 0.40)), 0.012), woodFill(QRectF(-0.044, 0.22, 0.05, 0.18)));
    part(p, rounded(QRectF(QPointF(0.012, 0.24), QPointF(0.042, 0.38)), 0.01), woodFill(QRectF(0.012, 0.24, 0.03, 0.14)));
    // Rear sight block.
    part(p, polygon({QPointF(0.0, 0.39), QPointF(0.05, 0.40), QPointF(0.05, 0.43), QPointF(0.0, 0.44)}), grey(0.14));
    // Receiver with the dust cover, ejection port and selector.
    const QRectF receiver(-0.038, 0.42, 0.08, 0.29);
    part(p, rounded(receiver, 0.008), metal(receiver, 0.08, 0.42));
    part(p, rounded(QRectF(0.018, 0.44, 0.028, 0.26), 0.01), metal(QRectF(0.018, 0.44, 0.03, 0.26), 0.14, 0.55));
    part(p, rounded(QRectF(0.0, 0.47, 0.02, 0.09), 0.004), grey(0.05));
    part(p, rounded(QRectF(-0.012, 0.50, 0.012, 0.15), 0.004), grey(0.2));
    // Charging handle on the bolt carrier.
    const double bolt = frame == 1 ? 0.07 : 0.0;
    part(p, rounded(QRectF(-0.004, 0.445 + bolt, 0.03, 0.02), 0.008), metal(QRectF(0, 0.445, 0.03, 0.02), 0.3, 0.85));
    p.setBrush(grey(0.9));
    p.drawEllipse(QPointF(0.02, 0.452 + bolt), 0.004, 0.004);
    // Curved magazine, forward from under the receiver, with its ribs.
    QPainterPath magazine;
    magazine.moveTo(-0.036, 0.46);
    magazine.cubicTo(-0.09, 0.44, -0.16, 0.41, -0.215, 0.36);
    magazine.lineTo(-0.245, 0.42);
    magazine.cubicTo(-0.19, 0.47, -0.12, 0.51, -0.036, 0.545);
    magazine.closeSubpath();
    part(p, magazine, lit(QRectF(-0.25, 0.36, 0.22, 0.19), rgb(0.07, 0.075, 0.085), rgb(0.3, 0.31, 0.34)));
    p.save();
    p.setClipPath(magazine);
    p.setPen(QPen(rgb(0.03, 0.03, 0.04), 0.005));
    for (int i = 1; i < 5; ++i) {
        const double t = i / 5.0;
        p.drawLine(QPointF(-0.036 - 0.19 * t, 0.46 - 0.09 * t * t - 0.02 * t),
                   QPointF(-0.036 - 0.2 * t, 0.545 - 0.1 * t * t - 0.02 * t));
    }
    p.restore();
    // Trigger guard and pistol grip.
    QPainterPath guard;
    guard.moveTo(-0.038, 0.55);
    guard.cubicTo(-0.1, 0.55, -0.1, 0.62, -0.038, 0.625);
    p.strokePath(guard, QPen(grey(0.1), 0.012));
    part(p, rounded(QRectF(-0.07, 0.575, 0.035, 0.014), 0.006), grey(0.16));
    part(p, polygon({QPointF(-0.036, 0.6), QPointF(-0.165, 0.645), QPointF(-0.17, 0.7), QPointF(-0.14, 0.71),
                     QPointF(-0.036, 0.67)}),
         lit(QRectF(-0.17, 0.6, 0.14, 0.11), grey(0.08), grey(0.26)));
    p.restore();
    for (const auto &h : ScreenToyHandsLayout::hands(ScreenToyKind::ak47))
        hand(p, h);
}

// A fragmentation grenade in its own coordinates (the body fills the unit circle, taller than
// wide by `tall`): segmented olive shell lit from the upper right, yellow band, grey fuse,
// spoon down its right side and the pull ring on the left.
void grenadeBody(QPainter &p, const QRectF &body)
{
    QRadialGradient shell(body.center() + QPointF(body.width() * 0.18, -body.height() * 0.2), body.width() * 0.75);
    shell.setColorAt(0, rgb(0.55, 0.62, 0.34));
    shell.setColorAt(0.5, rgb(0.33, 0.40, 0.19));
    shell.setColorAt(1, rgb(0.12, 0.16, 0.07));
    QPainterPath shape;
    shape.addEllipse(body);
    // Fuse and spoon first: the body sits over their lower ends.
    const QRectF fuse(body.center().x() - body.width() * 0.2, body.top() - body.height() * 0.16, body.width() * 0.4,
                      body.height() * 0.24);
    part(p, rounded(fuse, body.width() * 0.05), metal(fuse, 0.3, 0.8));
    const QRectF spoon(body.right() - body.width() * 0.12, fuse.top() + fuse.height() * 0.2, body.width() * 0.2,
                       body.height() * 0.72);
    part(p, rounded(spoon, body.width() * 0.06), metal(spoon, 0.35, 0.85));
    part(p, shape, shell);
    p.save();
    p.setClipPath(shape);
    const QPen groove(rgb(0.08, 0.11, 0.04, 0.85), body.width() * 0.035);
    p.setPen(groove);
    for (int i = 1; i < 5; ++i) {
        const double y = body.top() + body.height() * i / 5;
        p.drawLine(QPointF(body.left(), y), QPointF(body.right(), y));
    }
    for (int i = 1; i < 4; ++i) {
        const double x = body.left() + body.width() * i / 4;
        p.drawLine(QPointF(x, body.top()), QPointF(x, body.bottom()));
    }
    p.setPen(Qt::NoPen);
    // Band: yellow, but with red and green close, so it never counts as skin.
    p.fillRect(QRectF(body.left(), body.top() + body.height() * 0.1, body.width(), body.height() * 0.07),
               rgb(0.80, 0.74, 0.22));
    p.setBrush(rgb(1, 1, 0.9, 0.35));
    p.drawEllipse(QRectF(body.center().x() + body.width() * 0.05, body.top() + body.height() * 0.2,
                         body.width() * 0.22, body.height() * 0.14));
    p.restore();
    p.setPen(QPen(grey(0.7), body.width() * 0.045));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(fuse.left() - body.width() * 0.42, fuse.top() - body.height() * 0.02, body.width() * 0.4,
                         body.width() * 0.4));
    p.setPen(QPen(ink, outlineWidth * 0.6));
    p.drawEllipse(QRectF(fuse.left() - body.width() * 0.42, fuse.top() - body.height() * 0.02, body.width() * 0.4,
                         body.width() * 0.4));
    p.setPen(Qt::NoPen);
}

// The throwing hand raised from the bottom edge with a grenade in its fingers in the left
// 60 %; the grenade alone, narrowed so that it keeps its shape once stretched into the
// projectile's raster, in the right strip.
void grenadeHands(QPainter &p, int)
{
    const double s = 1.0 / 1254.0;
    p.save();
    p.scale(s, s);
    // Sleeve from the bottom edge, with a fold and the cuff.
    const QPainterPath sleeve = polygon({QPointF(150, 1260), QPointF(215, 1000), QPointF(470, 1000), QPointF(560, 1260)});
    part(p, sleeve, lit(QRectF(150, 1000, 410, 260), rgb(0.14, 0.17, 0.22), rgb(0.3, 0.35, 0.44)));
    p.setPen(QPen(rgb(0.08, 0.1, 0.13), 6));
    p.drawLine(QPointF(270, 1090), QPointF(330, 1200));
    p.drawLine(QPointF(430, 1080), QPointF(400, 1180));
    p.setPen(Qt::NoPen);
    // Forearm and the back of the hand, behind the grenade.
    QPainterPathStroker forearm;
    forearm.setWidth(165);
    forearm.setCapStyle(Qt::RoundCap);
    QPainterPath arm;
    arm.moveTo(335, 1020);
    arm.lineTo(385, 780);
    QPainterPath back = forearm.createStroke(arm);
    QPainterPath palm;
    palm.addEllipse(QRectF(270, 590, 260, 250));
    back = back.united(palm).simplified();
    part(p, back, lit(back.boundingRect(), skin(0.75), skin(1.08)), skin(0.42));
    part(p, rounded(QRectF(205, 985, 275, 40), 14), rgb(0.1, 0.12, 0.16));
    grenadeBody(p, QRectF(270, 440, 260, 330));
    // Fingers closed over the front of the grenade and the thumb pressing the spoon's side,
    // one shape.
    QPainterPath front;
    for (int i = 0; i < 4; ++i) {
        QPainterPath finger;
        finger.moveTo(530 - 10 * i, 620 + 48 * i);
        finger.quadTo(450 - 6 * i, 685 + 44 * i, 335 + 8 * i, 655 + 46 * i);
        QPainterPathStroker stroker;
        stroker.setWidth(54 - 3 * i);
        stroker.setCapStyle(Qt::RoundCap);
        front = front.united(stroker.createStroke(finger));
    }
    QPainterPath thumb;
    thumb.moveTo(300, 830);
    thumb.quadTo(255, 730, 290, 640);
    QPainterPathStroker thumbStroke;
    thumbStroke.setWidth(62);
    thumbStroke.setCapStyle(Qt::RoundCap);
    front = front.united(thumbStroke.createStroke(thumb)).simplified();
    part(p, front, lit(front.boundingRect(), skin(0.8), skin(1.1)), skin(0.42));
    p.save();
    p.setClipPath(front);
    p.setPen(QPen(skin(0.6), 5, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 4; ++i) {
        p.drawLine(QPointF(440 - 6 * i, 665 + 46 * i), QPointF(452 - 6 * i, 697 + 44 * i));
        p.drawLine(QPointF(380 + 2 * i, 657 + 46 * i), QPointF(386 + 2 * i, 685 + 46 * i));
    }
    p.drawLine(QPointF(263, 720), QPointF(295, 730));
    p.setPen(QPen(skin(1.2), 12, Qt::SolidLine, Qt::RoundCap));
    for (const QRectF &knuckle : ScreenToyHandsLayout::grenadeKnuckles())
        p.drawPoint(QTransform::fromScale(1254, 1254).mapRect(knuckle).center());
    p.restore();
    // The grenade alone, 0.78 as wide as tall in the strip: the projectile's raster is
    // stretched 1.28 times across.
    grenadeBody(p, QRectF(1254 * 0.805 - 100, 627 - 165, 200, 330));
    p.restore();
}

// The glass images are drawn on screen at half their size.
constexpr double glassPixelsPerPoint = 2;

// Each line of a crack drawn twice: a dark edge, then a bright core inside it, so the crack
// reads on a light wallpaper, a dark one and a busy one alike. Widths in screen points.
void crackLine(QPainter &p, const QPainterPath &path, double width)
{
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(grey(0.0, 1.0), (width + 2.0) * glassPixelsPerPoint, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(path);
    p.setPen(QPen(grey(1.0, 1.0), width * glassPixelsPerPoint, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(path);
}

// One long tear across the glass, as a whip leaves it, with short splinters off it.
void drawTear(QPainter &p, double radius, Synth::Random &random)
{
    QPainterPath tear;
    tear.moveTo(-radius, radius * 0.25);
    std::vector<QPointF> points;
    for (int i = 1; i <= 12; ++i) {
        const double x = -radius + 2 * radius * i / 12;
        points.emplace_back(x, radius * 0.25 - 0.5 * radius * i / 12 + random.between(-6, 6));
        tear.lineTo(points.back());
    }
    crackLine(p, tear, 2.4);
    for (std::size_t i = 1; i + 1 < points.size(); i += 2) {
        QPainterPath splinter;
        splinter.moveTo(points[i]);
        const double angle = random.between(0.6, 1.3) * (i % 4 == 1 ? 1 : -1) - pi / 2;
        splinter.lineTo(points[i] + QPointF(std::cos(angle), std::sin(angle)) * random.between(10, 26));
        crackLine(p, splinter, 1.1);
    }
}

// Wandering cracks out from the centre, each a seeded polyline.
void drawRays(QPainter &p, double radius, int rays, Synth::Random &random)
{
    for (int ray = 0; ray < rays; ++ray) {
        double angle = 2 * pi * ray / rays + random.between(-0.25, 0.25);
        QPointF point(0, 0);
        QPainterPath crack;
        crack.moveTo(point);
        const double length = radius * random.between(0.5, 1.0);
        const int steps = 7;
        for (int step = 0; step < steps; ++step) {
            angle += random.between(-0.22, 0.22);
            point += QPointF(std::cos(angle), std::sin(angle)) * (length / steps);
            crack.lineTo(point);
        }
        crackLine(p, crack, random.between(1.1, 1.7));
    }
}

// Broken rings round the centre, between the rays.
void drawRings(QPainter &p, double radius, int rays, Synth::Random &random)
{
    for (int ring = 1; ring <= 2; ++ring) {
        const double r = radius * 0.22 * ring;
        for (int arc = 0; arc < rays; ++arc) {
            if (random.uniform() < 0.35)
                continue;
            QPainterPath segment;
            const double a0 = 2 * pi * arc / rays + random.between(0, 0.2);
            const double a1 = 2 * pi * (arc + 1) / rays - random.between(0, 0.2);
            segment.moveTo(QPointF(std::cos(a0), std::sin(a0)) * r * random.between(0.9, 1.1));
            for (double a : {(a0 + a1) / 2, a1})
                segment.lineTo(QPointF(std::cos(a), std::sin(a)) * r * random.between(0.9, 1.1));
            crackLine(p, segment, 1.0);
        }
    }
}

// Radial cracks and broken rings round a small hole: glass hit by a bullet; with `slash`, a
// tear across instead of the hole, for the whip.
QImage crackedGlass(int side, std::uint64_t seed, int rays, double reach, bool slash)
{
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(side / 2.0, side / 2.0);
    Synth::Random random(seed);
    const double radius = side / 2.0 * reach;
    // A faint frosting where the glass is crushed, light over dark screens and dark over light.
    QRadialGradient frost(QPointF(0, 0), radius * 0.3);
    frost.setColorAt(0, grey(1.0, 0.28));
    frost.setColorAt(1, grey(1.0, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(frost);
    p.drawEllipse(QPointF(0, 0), radius * 0.3, radius * 0.3);
    if (slash)
        drawTear(p, radius, random);
    drawRays(p, radius, rays, random);
    drawRings(p, radius, rays, random);
    if (!slash) {
        // The hole: dark with a bright chipped rim.
        p.setPen(QPen(grey(1.0, 0.9), side * 0.012));
        QRadialGradient hole(QPointF(0, 0), side * 0.035);
        hole.setColorAt(0, grey(0.0, 1.0));
        hole.setColorAt(0.7, grey(0.08, 0.95));
        hole.setColorAt(1, grey(0.25, 0.9));
        p.setBrush(hole);
        p.drawEllipse(QPointF(0, 0), side * 0.035, side * 0.035);
    }
    return image;
}

// Soft light and shade streaks, as water on glass bends the picture behind it.
QImage wetGlass()
{
    const int side = 256;
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    Synth::Random random(0x3E7);
    for (int i = 0; i < 40; ++i) {
        const QPointF centre(random.between(0, side), random.between(0, side));
        const double r = random.between(12, 48);
        QRadialGradient drop(centre, r);
        const bool light = i % 2 == 0;
        drop.setColorAt(0, light ? rgb(0.9, 0.97, 1.0, 0.6) : rgb(0.0, 0.1, 0.2, 0.35));
        drop.setColorAt(1, grey(light ? 1.0 : 0.0, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(drop);
        p.drawEllipse(centre, r, r * random.between(0.5, 1.0));
    }
    return image;
}

// Scorched ground: darkest in the middle and fading to nothing at the edge, soot streaks
// thrown outwards, a dusty rim and embers still glowing in the pit.
QImage crater()
{
    const int side = 640;
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF c(side / 2.0, side / 2.0);
    const double r = side * 0.5;
    QRadialGradient scorch(c, r);
    scorch.setColorAt(0, rgb(0.05, 0.04, 0.035, 0.92));
    scorch.setColorAt(0.3, rgb(0.09, 0.07, 0.06, 0.85));
    scorch.setColorAt(0.55, rgb(0.16, 0.13, 0.11, 0.5));
    scorch.setColorAt(0.8, rgb(0.2, 0.17, 0.15, 0.18));
    scorch.setColorAt(1, rgb(0.2, 0.17, 0.15, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(scorch);
    p.drawEllipse(c, r, r);
    Synth::Random random(0xC4A7E4);
    for (int ray = 0; ray < 28; ++ray) {
        const double angle = 2 * pi * ray / 28 + random.between(-0.1, 0.1);
        const QPointF direction(std::cos(angle), std::sin(angle));
        const double reach = r * random.between(0.6, 0.95);
        QLinearGradient streak(c, c + direction * reach);
        streak.setColorAt(0, rgb(0.03, 0.03, 0.03, 0.6));
        streak.setColorAt(1, rgb(0.03, 0.03, 0.03, 0));
        QPainterPath wedge;
        const QPointF across(-direction.y(), direction.x());
        const double width = random.between(6, 16);
        wedge.moveTo(c + direction * r * 0.15 + across * width);
        wedge.lineTo(c + direction * reach);
        wedge.lineTo(c + direction * r * 0.15 - across * width);
        wedge.closeSubpath();
        p.fillPath(wedge, streak);
    }
    // The pit's rim: a light lip on the far side, a shadow on the near one.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(rgb(0.55, 0.5, 0.45, 0.35), side * 0.025));
    p.drawArc(QRectF(c.x() - r * 0.36, c.y() - r * 0.3, r * 0.72, r * 0.6), 20 * 16, 140 * 16);
    p.setPen(QPen(rgb(0.0, 0.0, 0.0, 0.5), side * 0.02));
    p.drawArc(QRectF(c.x() - r * 0.36, c.y() - r * 0.3, r * 0.72, r * 0.6), 200 * 16, 140 * 16);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 22; ++i) {
        const double angle = random.between(0, 2 * pi);
        const QPointF at = c + QPointF(std::cos(angle), std::sin(angle) * 0.8) * r * random.between(0.05, 0.4);
        const double glow = random.between(5, 13);
        QRadialGradient ember(at, glow);
        ember.setColorAt(0, rgb(1.0, 0.92, 0.55, 1.0));
        ember.setColorAt(0.3, rgb(1.0, 0.5, 0.1, 0.9));
        ember.setColorAt(1, rgb(0.8, 0.15, 0.0, 0));
        p.setBrush(ember);
        p.drawEllipse(at, glow, glow);
    }
    return image;
}

// A flame tongue, tip up: a red outer flame, an orange-yellow body and a pale core low down.
QImage fire()
{
    QImage image(128, 256, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    const auto tongue = [&](double tipY, double halfWidth, double baseY) {
        QPainterPath flame;
        flame.moveTo(64, tipY);
        flame.cubicTo(64 + halfWidth * 0.5, tipY + (baseY - tipY) * 0.3, 64 + halfWidth * 1.1,
                      tipY + (baseY - tipY) * 0.6, 64 + halfWidth * 0.8, baseY - halfWidth * 0.6);
        flame.cubicTo(64 + halfWidth * 0.6, baseY, 64 - halfWidth * 0.6, baseY, 64 - halfWidth * 0.8,
                      baseY - halfWidth * 0.6);
        flame.cubicTo(64 - halfWidth * 1.1, tipY + (baseY - tipY) * 0.55, 64 - halfWidth * 0.3,
                      tipY + (baseY - tipY) * 0.35, 64, tipY);
        return flame;
    };
    const auto layer = [&](const QPainterPath &shape, const QColor &top, const QColor &bottom) {
        QLinearGradient colour(QPointF(0, shape.boundingRect().top()), QPointF(0, shape.boundingRect().bottom()));
        colour.setColorAt(0, top);
        colour.setColorAt(1, bottom);
        p.fillPath(shape, colour);
    };
    layer(tongue(4, 56, 252), rgb(0.9, 0.15, 0.02, 0.0), rgb(0.95, 0.25, 0.04, 0.85));
    layer(tongue(50, 40, 248), rgb(1.0, 0.45, 0.05, 0.0), rgb(1.0, 0.62, 0.12, 0.95));
    layer(tongue(120, 24, 244), rgb(1.0, 0.85, 0.4, 0.2), rgb(1.0, 0.97, 0.8, 1.0));
    return image;
}

// A star of flame round a white-hot core.
QImage muzzleFlash()
{
    const int side = 256;
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    const QPointF c(side / 2.0, side / 2.0);
    QRadialGradient halo(c, side * 0.5);
    halo.setColorAt(0, rgb(1.0, 0.75, 0.3, 0.55));
    halo.setColorAt(1, rgb(1.0, 0.45, 0.1, 0.0));
    p.setBrush(halo);
    p.drawEllipse(c, side * 0.5, side * 0.5);
    QPolygonF star;
    for (int i = 0; i < 16; ++i) {
        const double r = side * (i % 2 == 0 ? (i % 4 == 0 ? 0.48 : 0.34) : 0.12);
        const double a = 2 * pi * i / 16 + 0.2;
        star << c + QPointF(std::cos(a), std::sin(a)) * r;
    }
    QRadialGradient petals(c, side * 0.48);
    petals.setColorAt(0, rgb(1.0, 0.95, 0.7, 1.0));
    petals.setColorAt(0.35, rgb(1.0, 0.7, 0.2, 0.95));
    petals.setColorAt(1, rgb(0.95, 0.3, 0.05, 0.0));
    p.setBrush(petals);
    p.drawPolygon(star);
    QRadialGradient core(c, side * 0.15);
    core.setColorAt(0, rgb(1.0, 1.0, 1.0, 1.0));
    core.setColorAt(0.6, rgb(1.0, 0.98, 0.85, 1.0));
    core.setColorAt(1, rgb(1.0, 0.9, 0.5, 0.0));
    p.setBrush(core);
    p.drawEllipse(c, side * 0.15, side * 0.15);
    return image;
}

}

bool ScreenToyPictures::generate(const QString &folder)
{
    const QDir dir(folder);
    const std::pair<const char *, QImage> images[] = {
        {"handgun-cycle.png", frames(800, 2, handgun)},
        {"watergun-hands.png", frames(800, 1, waterGun)},
        {"ak47-cycle.png", frames(887, 2, ak47)},
        {"grenade-hands.png", frames(1254, 1, grenadeHands)},
        {"bullet-glass.png", crackedGlass(360, 0xB011E7, 11, 0.95, false)},
        {"whip-glass.png", crackedGlass(380, 0x3419, 6, 0.7, true)},
        {"wet-glass.png", wetGlass()},
        {"grenade-crater.png", crater()},
        {"grenade-fire.png", fire()},
        {"muzzle-flash.png", muzzleFlash()},
    };
    bool ok = true;
    for (const auto &[name, image] : images)
        ok = image.save(dir.filePath(QString::fromUtf8(name)), "PNG") && ok;
    return ok;
}
