#include "ScreenToyPictures.h"

#include "Synth.h"

#include <QDir>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>
#include <functional>
#include <numbers>

namespace {

constexpr double pi = std::numbers::pi;

QColor skin(double shade = 1.0)
{
    // The original hand tone's swatch, darker or lighter; always clearly skin (red above
    // green above blue).
    return QColor::fromRgbF(float(std::min(0.78 * shade, 1.0)), float(std::min(0.57 * shade, 1.0)),
                            float(std::min(0.44 * shade, 1.0)));
}

QColor grey(double level, double alpha = 1.0)
{
    return QColor::fromRgbF(float(level), float(level), float(level), float(alpha));
}

// Paints one frame `side` pixels wide with a painter scaled to unit coordinates.
using FramePainter = std::function<void(QPainter &, int frame)>;

// How far the first-person pictures run on below their square (in units of its side): the
// canvas turns the square about a point above the screen's bottom edge, which lifts its
// lower corners, so the arms go on down and end in sleeves that run straight, which the
// canvas continues past the screen's edge.
constexpr double armsBelow = 0.5;
constexpr double armsDepth = 1 + armsBelow;

QImage frames(int side, int count, const FramePainter &paint, double depth = 1.0)
{
    QImage image(side * count, int(std::lround(side * depth)), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    for (int frame = 0; frame < count; ++frame) {
        painter.save();
        painter.translate(side * frame, 0);
        painter.scale(side, side);
        painter.setPen(Qt::NoPen);
        paint(painter, frame);
        painter.restore();
    }
    return image;
}

// A vertical gradient of greys across a rectangle, for metal lit from the left.
QLinearGradient metal(const QRectF &rect, double dark, double light)
{
    QLinearGradient gradient(rect.topLeft(), rect.topRight());
    gradient.setColorAt(0, grey(light));
    gradient.setColorAt(0.45, grey((light + dark) / 2));
    gradient.setColorAt(1, grey(dark));
    return gradient;
}

// A rounded limb from `from` to `to`, as thick as `width`, shaded across.
void limb(QPainter &painter, QPointF from, QPointF to, double width, double shade = 1.0)
{
    QPainterPath path;
    path.moveTo(from);
    path.lineTo(to);
    QPainterPathStroker stroker;
    stroker.setWidth(width);
    stroker.setCapStyle(Qt::RoundCap);
    const QPainterPath outline = stroker.createStroke(path);
    const QPointF across(-(to - from).y(), (to - from).x());
    const double length = std::hypot(across.x(), across.y());
    const QPointF unit = across / length * (width / 2);
    QLinearGradient gradient(from - unit, from + unit);
    gradient.setColorAt(0, skin(0.82 * shade));
    gradient.setColorAt(0.4, skin(1.05 * shade));
    gradient.setColorAt(1, skin(0.78 * shade));
    painter.fillPath(outline, gradient);
}

// A fist closed round a grip: a rounded palm with four knuckle bumps along one side.
void fist(QPainter &painter, const QRectF &palm, bool knucklesLeft, double shade = 1.0)
{
    QRadialGradient gradient(palm.center() - QPointF(palm.width() * 0.15, palm.height() * 0.2), palm.width() * 0.8);
    gradient.setColorAt(0, skin(1.08 * shade));
    gradient.setColorAt(1, skin(0.8 * shade));
    painter.setBrush(gradient);
    painter.drawRoundedRect(palm, palm.width() * 0.3, palm.width() * 0.3);
    const double x = knucklesLeft ? palm.left() : palm.right();
    for (int i = 0; i < 4; ++i) {
        const double y = palm.top() + palm.height() * (0.16 + 0.22 * i);
        painter.setBrush(skin((0.92 - 0.03 * i) * shade));
        painter.drawEllipse(QPointF(x, y), palm.width() * 0.2, palm.height() * 0.11);
    }
    painter.setPen(QPen(skin(0.68 * shade), 0.004));
    for (int i = 1; i < 4; ++i) {
        const double y = palm.top() + palm.height() * (0.05 + 0.22 * i);
        painter.drawLine(QPointF(x - palm.width() * 0.25, y), QPointF(x + palm.width() * 0.15, y));
    }
    painter.setPen(Qt::NoPen);
}

void sleeve(QPainter &painter, const QPolygonF &shape)
{
    QLinearGradient gradient(shape.boundingRect().topLeft(), shape.boundingRect().topRight());
    gradient.setColorAt(0, QColor::fromRgbF(0.20f, 0.24f, 0.30f));
    gradient.setColorAt(1, QColor::fromRgbF(0.12f, 0.15f, 0.20f));
    painter.setBrush(gradient);
    painter.drawPolygon(shape);
}

// A forearm from the hand at `wrist` down into a sleeve whose cuff is centred on `cuff`; the
// sleeve bends to run straight down from `straightFrom` to the picture's bottom edge, so every
// row below that point is the same and the canvas can carry it on.
void arm(QPainter &painter, QPointF wrist, QPointF cuff, double width, double shade, double straightFrom = 1.2)
{
    limb(painter, wrist, cuff + QPointF(0, 0.03), width, shade);
    const double half = width * 0.78;
    const double outward = cuff.x() < 0.5 ? -1 : 1;
    const double middle = cuff.x() + outward * 0.03;
    sleeve(painter, QPolygonF({cuff + QPointF(-half, -0.012 * outward), cuff + QPointF(half, 0.012 * outward),
                               QPointF(middle + half, straightFrom), QPointF(middle + half, armsDepth + 0.01),
                               QPointF(middle - half, armsDepth + 0.01), QPointF(middle - half, straightFrom)}));
    // The cuff's hem, a little darker, over the end of the forearm.
    painter.setBrush(QColor::fromRgbF(0.09f, 0.11f, 0.15f));
    QPainterPath hem;
    hem.addEllipse(QRectF(cuff.x() - half, cuff.y() - 0.018, 2 * half, 0.036));
    painter.drawPath(hem);
}

// Pistol seen from behind, barrel up; frame 1 has the slide pulled back.
void handgun(QPainter &p, int frame)
{
    const double slideBack = frame == 1 ? 0.05 : 0.0;
    arm(p, QPointF(0.42, 0.70), QPointF(0.31, 0.97), 0.11, 0.92);
    arm(p, QPointF(0.58, 0.70), QPointF(0.69, 0.97), 0.11, 1.0);
    // Barrel tip, visible when the slide is back.
    const QRectF barrel(0.475, 0.10, 0.05, 0.08);
    p.setBrush(metal(barrel, 0.18, 0.42));
    p.drawRect(barrel);
    const QRectF slide(0.43, 0.10 + slideBack, 0.14, 0.46);
    p.setBrush(metal(slide, 0.22, 0.62));
    p.drawRoundedRect(slide, 0.015, 0.015);
    p.setBrush(grey(0.12));
    for (int i = 0; i < 5; ++i)
        p.drawRect(QRectF(0.435, 0.44 + slideBack + 0.018 * i, 0.13, 0.006));
    p.setBrush(grey(0.9));
    p.drawEllipse(QPointF(0.5, 0.125 + slideBack), 0.008, 0.008);
    const QRectF grip(0.445, 0.54, 0.11, 0.28);
    p.setBrush(metal(grip, 0.10, 0.30));
    p.drawRoundedRect(grip, 0.02, 0.02);
    fist(p, QRectF(0.37, 0.56, 0.13, 0.2), true, 0.95);
    fist(p, QRectF(0.50, 0.58, 0.13, 0.2), false);
    // Thumbs along the frame.
    limb(p, QPointF(0.45, 0.62), QPointF(0.47, 0.52), 0.035, 1.02);
    limb(p, QPointF(0.55, 0.64), QPointF(0.53, 0.54), 0.035);
}

// A bright toy water pistol, nozzle up, with a clear tank of water.
void waterGun(QPainter &p, int)
{
    arm(p, QPointF(0.43, 0.74), QPointF(0.33, 0.99), 0.11, 0.92);
    arm(p, QPointF(0.57, 0.74), QPointF(0.67, 0.99), 0.11, 1.0);
    const QRectF nozzle(0.48, 0.15, 0.04, 0.08);
    p.setBrush(QColor::fromRgbF(0.95f, 0.95f, 0.97f));
    p.drawRoundedRect(nozzle, 0.01, 0.01);
    QLinearGradient body(QPointF(0.40, 0), QPointF(0.60, 0));
    body.setColorAt(0, QColor::fromRgbF(0.25f, 0.55f, 0.95f));
    body.setColorAt(1, QColor::fromRgbF(0.12f, 0.30f, 0.75f));
    p.setBrush(body);
    p.drawRoundedRect(QRectF(0.41, 0.21, 0.18, 0.40), 0.05, 0.05);
    QLinearGradient tank(QPointF(0.36, 0), QPointF(0.64, 0));
    tank.setColorAt(0, QColor::fromRgbF(0.55f, 0.85f, 0.98f, 0.85f));
    tank.setColorAt(1, QColor::fromRgbF(0.30f, 0.65f, 0.92f, 0.85f));
    p.setBrush(tank);
    p.drawEllipse(QRectF(0.37, 0.27, 0.26, 0.17));
    p.setBrush(QColor::fromRgbF(1, 1, 1, 0.5f));
    p.drawEllipse(QRectF(0.41, 0.29, 0.07, 0.04));
    p.setBrush(QColor::fromRgbF(0.10f, 0.24f, 0.62f));
    p.drawRoundedRect(QRectF(0.45, 0.58, 0.10, 0.26), 0.02, 0.02);
    fist(p, QRectF(0.37, 0.60, 0.13, 0.2), true, 0.95);
    fist(p, QRectF(0.50, 0.62, 0.13, 0.2), false);
}

// The rifle, muzzle up and a little left; the wooden handguard sits in its own patch so the
// tone recolouring can keep it. Frame 1 has the bolt carrier back.
void ak47(QPainter &p, int frame)
{
    const double s = 1.0 / 887.0;
    const auto px = [s](double x, double y) { return QPointF(x * s, y * s); };
    arm(p, px(420, 470), px(265, 840), 95 * s, 0.92);
    arm(p, px(520, 640), px(650, 870), 100 * s, 1.0);
    // Barrel and front sight.
    p.setBrush(metal(QRectF(px(412, 18), px(432, 200)), 0.14, 0.45));
    p.drawRect(QRectF(px(412, 18), px(432, 200)));
    p.setBrush(grey(0.2));
    p.drawRect(QRectF(px(405, 40), px(440, 70)));
    // Gas tube over the barrel, then the wooden handguard.
    p.setBrush(metal(QRectF(px(430, 120), px(455, 260)), 0.2, 0.5));
    p.drawRect(QRectF(px(430, 120), px(455, 260)));
    QLinearGradient wood(px(400, 0), px(520, 0));
    wood.setColorAt(0, QColor::fromRgbF(0.62f, 0.36f, 0.18f));
    wood.setColorAt(1, QColor::fromRgbF(0.42f, 0.22f, 0.10f));
    p.setBrush(wood);
    p.drawPolygon(QPolygonF({px(406, 172), px(468, 172), px(508, 246), px(462, 258), px(432, 322), px(412, 342),
                             px(404, 342), px(404, 252)}));
    // Receiver, with the bolt carrier's handle.
    const QRectF receiver(px(395, 345), px(505, 600));
    p.setBrush(metal(receiver, 0.12, 0.40));
    p.drawRoundedRect(receiver, 8 * s, 8 * s);
    const double bolt = frame == 1 ? 45 : 0;
    p.setBrush(grey(0.55));
    p.drawRoundedRect(QRectF(px(500, 380 + bolt), px(545, 400 + bolt)), 6 * s, 6 * s);
    // Curved magazine to the left, black grip low on the right.
    QPainterPath magazine;
    magazine.moveTo(px(400, 470));
    magazine.cubicTo(px(330, 500), px(270, 560), px(240, 640));
    magazine.lineTo(px(300, 665));
    magazine.cubicTo(px(330, 590), px(370, 545), px(420, 520));
    magazine.closeSubpath();
    p.setBrush(grey(0.16));
    p.drawPath(magazine);
    p.setBrush(grey(0.08));
    p.drawRoundedRect(QRectF(px(470, 590), px(540, 760)), 14 * s, 14 * s);
    fist(p, QRectF(px(370, 380), px(460, 540)), true, 0.95);
    fist(p, QRectF(px(480, 620), px(585, 790)), false);
}

// An open throwing hand, palm out, in the left 60 %; the grenade alone in the right strip.
void grenadeHands(QPainter &p, int)
{
    const double s = 1.0 / 1254.0;
    const auto px = [s](double x, double y) { return QPointF(x * s, y * s); };
    sleeve(p, QPolygonF({px(170, 1254), px(230, 1020), px(470, 1020), px(560, 1254)}));
    limb(p, px(330, 1040), px(320, 760), 190 * s);
    QRadialGradient palm(px(300, 620), 260 * s);
    palm.setColorAt(0, skin(1.08));
    palm.setColorAt(1, skin(0.82));
    p.setBrush(palm);
    p.drawEllipse(QRectF(px(190, 470), px(450, 820)));
    // Fingers up, the thumb out to the left; knuckle creases where the highlight zones sit.
    const QPointF fingers[][2] = {{px(240, 520), px(225, 250)},
                                  {px(300, 500), px(305, 200)},
                                  {px(360, 510), px(385, 225)},
                                  {px(410, 550), px(460, 330)}};
    const double widths[] = {62, 66, 62, 52};
    for (int i = 0; i < 4; ++i)
        limb(p, fingers[i][0], fingers[i][1], widths[i] * s, 1.0 - 0.03 * i);
    limb(p, px(220, 700), px(140, 470), 70 * s, 0.96);
    p.setPen(QPen(skin(0.7), 5 * s));
    for (const QPointF &crease : {px(360, 520), px(170, 470), px(170, 630), px(220, 770), px(270, 895)})
        p.drawArc(QRectF(crease - px(35, 12), crease + px(35, 12)), 200 * 16, 140 * 16);
    p.setPen(Qt::NoPen);

    // The grenade: an olive body with a segmented shell, a grey lever and ring.
    const QRectF body(px(790, 420), px(1200, 1010));
    QRadialGradient shell(px(930, 600), 380 * s);
    shell.setColorAt(0, QColor::fromRgbF(0.42f, 0.50f, 0.26f));
    shell.setColorAt(1, QColor::fromRgbF(0.16f, 0.22f, 0.10f));
    p.setBrush(shell);
    p.drawEllipse(body);
    p.setPen(QPen(QColor::fromRgbF(0.10f, 0.14f, 0.07f, 0.8f), 9 * s));
    for (int i = 1; i < 4; ++i) {
        const double y = 420 + 590.0 * i / 4;
        p.drawLine(px(800, y), px(1190, y));
    }
    for (int i = 1; i < 3; ++i) {
        const double x = 790 + 410.0 * i / 3;
        p.drawLine(px(x, 425), px(x, 1005));
    }
    p.setPen(Qt::NoPen);
    p.setBrush(metal(QRectF(px(930, 300), px(1060, 440)), 0.3, 0.7));
    p.drawRect(QRectF(px(930, 320), px(1060, 440)));
    p.setBrush(metal(QRectF(px(1040, 320), px(1100, 700)), 0.3, 0.65));
    p.drawRoundedRect(QRectF(px(1040, 330), px(1090, 690)), 10 * s, 10 * s);
    p.setPen(QPen(grey(0.6), 14 * s));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(px(820, 200), px(940, 320)));
    p.setPen(Qt::NoPen);
}

// One long tear across the glass, as a whip leaves it.
void drawTear(QPainter &p, double radius, Synth::Random &random)
{
    QPainterPath tear;
    tear.moveTo(-radius, radius * 0.25);
    for (int i = 1; i <= 12; ++i) {
        const double x = -radius + 2 * radius * i / 12;
        tear.lineTo(x, radius * 0.25 - 0.5 * radius * i / 12 + random.between(-6, 6));
    }
    p.setPen(QPen(grey(0.08, 0.6), 3.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(tear.translated(2, 2));
    p.setPen(QPen(grey(1.0, 0.9), 5.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(tear);
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
        // A dark edge under a bright line, so the crack reads on light and dark screens alike.
        const double width = random.between(2.2, 4.0);
        p.setPen(QPen(grey(0.08, 0.6), width * 0.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(crack.translated(1.5, 1.5));
        p.setPen(QPen(grey(1.0, 0.9), width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(crack);
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
            QPolygonF segment;
            const double a0 = 2 * pi * arc / rays + random.between(0, 0.2);
            const double a1 = 2 * pi * (arc + 1) / rays - random.between(0, 0.2);
            for (double a : {a0, (a0 + a1) / 2, a1})
                segment << QPointF(std::cos(a), std::sin(a)) * r * random.between(0.9, 1.1);
            p.setPen(QPen(grey(0.08, 0.5), 1.4));
            p.drawPolyline(segment.translated(1.2, 1.2));
            p.setPen(QPen(grey(1.0, 0.75), 2.2));
            p.drawPolyline(segment);
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
    if (slash)
        drawTear(p, radius, random);
    drawRays(p, radius, rays, random);
    drawRings(p, radius, rays, random);
    if (!slash) {
        QRadialGradient hole(QPointF(0, 0), side * 0.06);
        hole.setColorAt(0, grey(0.02, 0.95));
        hole.setColorAt(0.6, grey(0.15, 0.8));
        hole.setColorAt(1, grey(1.0, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(hole);
        p.drawEllipse(QPointF(0, 0), side * 0.06, side * 0.06);
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
        drop.setColorAt(0, grey(light ? 1.0 : 0.0, light ? 0.55 : 0.35));
        drop.setColorAt(1, grey(light ? 1.0 : 0.0, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(drop);
        p.drawEllipse(centre, r, r * random.between(0.5, 1.0));
    }
    return image;
}

QImage crater()
{
    const int side = 640;
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF c(side / 2.0, side / 2.0);
    QRadialGradient pit(c, side * 0.42);
    pit.setColorAt(0, QColor::fromRgbF(0.03f, 0.03f, 0.03f, 0.95f));
    pit.setColorAt(0.45, QColor::fromRgbF(0.10f, 0.09f, 0.08f, 0.9f));
    pit.setColorAt(0.75, QColor::fromRgbF(0.32f, 0.30f, 0.28f, 0.75f));
    pit.setColorAt(1, QColor::fromRgbF(0.2f, 0.2f, 0.2f, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(pit);
    p.drawEllipse(c, side * 0.42, side * 0.42);
    Synth::Random random(0xC4A7E4);
    for (int ray = 0; ray < 18; ++ray) {
        double angle = 2 * pi * ray / 18 + random.between(-0.15, 0.15);
        QPointF point = c + QPointF(std::cos(angle), std::sin(angle)) * side * 0.2;
        QPainterPath crack;
        crack.moveTo(point);
        for (int step = 0; step < 6; ++step) {
            angle += random.between(-0.3, 0.3);
            point += QPointF(std::cos(angle), std::sin(angle)) * side * 0.045;
            crack.lineTo(point);
        }
        p.setPen(QPen(grey(0.85, 0.6), random.between(1.5, 3.5), Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawPath(crack);
    }
    return image;
}

QImage fire()
{
    QImage image(128, 256, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath flame;
    flame.moveTo(64, 4);
    flame.cubicTo(90, 80, 124, 140, 110, 200);
    flame.cubicTo(100, 245, 28, 245, 18, 200);
    flame.cubicTo(4, 140, 38, 80, 64, 4);
    QLinearGradient colour(QPointF(0, 0), QPointF(0, 256));
    colour.setColorAt(0, QColor::fromRgbF(1.0f, 0.25f, 0.05f, 0.0f));
    colour.setColorAt(0.35, QColor::fromRgbF(1.0f, 0.42f, 0.08f, 0.85f));
    colour.setColorAt(0.75, QColor::fromRgbF(1.0f, 0.78f, 0.25f, 1.0f));
    colour.setColorAt(1, QColor::fromRgbF(1.0f, 0.95f, 0.7f, 1.0f));
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPath(flame);
    return image;
}

QImage muzzleFlash()
{
    const int side = 256;
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF c(side / 2.0, side / 2.0);
    QPolygonF star;
    for (int i = 0; i < 16; ++i) {
        const double r = side * (i % 2 == 0 ? (i % 4 == 0 ? 0.5 : 0.36) : 0.14);
        const double a = 2 * pi * i / 16;
        star << c + QPointF(std::cos(a), std::sin(a)) * r;
    }
    QRadialGradient glow(c, side * 0.5);
    glow.setColorAt(0, QColor::fromRgbF(1.0f, 1.0f, 0.92f, 1.0f));
    glow.setColorAt(0.3, QColor::fromRgbF(1.0f, 0.82f, 0.35f, 0.95f));
    glow.setColorAt(1, QColor::fromRgbF(1.0f, 0.45f, 0.1f, 0.0f));
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawPolygon(star);
    return image;
}

}

bool ScreenToyPictures::generate(const QString &folder)
{
    const QDir dir(folder);
    const std::pair<const char *, QImage> images[] = {
        {"handgun-cycle.png", frames(800, 2, handgun, armsDepth)},
        {"watergun-hands.png", frames(800, 1, waterGun, armsDepth)},
        {"ak47-cycle.png", frames(887, 2, ak47, armsDepth)},
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
