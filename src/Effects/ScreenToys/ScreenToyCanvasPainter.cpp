#include "Effects/ScreenToys/ScreenToyCanvasPainter.h"

#include "Effects/BandPainting.h"
#include "Effects/OpaqueBounds.h"
#include "Effects/ScreenToys/ScreenToyArtwork.h"
#include "Effects/ScreenToys/ScreenToyGrenadePainter.h"
#include "Effects/ScreenToys/ScreenToyHandsLayout.h"
#include "Effects/ScreenToys/ScreenToyPOV.h"
#include "Effects/ScreenToys/ScreenToyPictureCache.h"
#include "Effects/ScreenToys/ScreenToyRecolouring.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QtMath>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {
constexpr double twoPi = 2 * std::numbers::pi;

QColor grey(double level, double alpha)
{
    return QColor::fromRgbF(float(level), float(level), float(level), float(std::clamp(alpha, 0.0, 1.0)));
}

QColor rgb(double red, double green, double blue, double alpha)
{
    return QColor::fromRgbF(float(red), float(green), float(blue), float(std::clamp(alpha, 0.0, 1.0)));
}

QPointF local(QPointF global, const QRectF &screenFrame)
{
    return global - screenFrame.topLeft();
}

QRectF bounds(const QRectF &screenFrame)
{
    return QRectF(0, 0, screenFrame.width(), screenFrame.height());
}

void strokeLine(QPainter &painter, QPointF from, QPointF to, const QColor &color, double width)
{
    QPen pen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    painter.setPen(pen);
    painter.drawLine(from, to);
}

// The turn of an impact image: a fixed tilt per position, so a mark never wobbles.
double impactRotation(QPointF point)
{
    return std::fmod(point.x() + point.y(), 23.0) / 23.0 * 0.5 - 0.25;
}

// The cracked glass of a mark, turned and sized once, then only blitted as it fades.
void drawImpact(QPainter &painter, ScreenToyPictureCache &pictures, const ScreenToyMark &mark, QPointF point,
                const QImage &image, double side, double opacity)
{
    const double radians = impactRotation(point);
    // A square turned by up to a quarter radian stays within 0.65 of its side of its centre.
    const QRectF extent(-0.65 * side, -0.65 * side, 1.3 * side, 1.3 * side);
    pictures.draw(painter, {int(mark.kind), mark.time, mark.point.x(), mark.point.y()}, point, extent, opacity,
                  [&](QPainter &on) {
                      on.rotate(qRadiansToDegrees(radians));
                      ScreenToyCanvasPainter::drawImageAtFixedSize(on, QRectF(-side / 2, -side / 2, side, side),
                                                                   image);
                  });
}

void drawBlasterMark(QPainter &painter, ScreenToyPictureCache &pictures, const ScreenToyScene &scene,
                     const ScreenToyMark &mark, QPointF point, const QRectF &screenFrame)
{
    const ScreenToyShot &shot = *mark.shot;
    const bool rapid = shot.kind == ScreenToyKind::ak47;
    const QPointF origin = local(shot.origin, screenFrame);
    if (const auto projectile = shot.projectile(scene.displayTime, scene.reduceMotion)) {
        const QPointF p = local(*projectile, screenFrame);
        const QPointF span = p - origin;
        const double length = std::max(std::hypot(span.x(), span.y()), 1.0);
        const double tail = std::min(rapid ? 12.0 : 8.0, length);
        strokeLine(painter, p - span / length * tail, p, rgb(0.55, 0.40, 0.23, 0.9), rapid ? 4.5 : 3.5);
    }
    const double flash = shot.muzzleFlashOpacity(scene.displayTime, scene.reduceMotion);
    if (const QImage &muzzle = ScreenToyArtwork::muzzleFlash(); flash > 0 && !muzzle.isNull()) {
        const double side = rapid ? 110 : 76;
        painter.save();
        painter.setOpacity(painter.opacity() * flash);
        ScreenToyCanvasPainter::drawImageAtFixedSize(
            painter, QRectF(origin.x() - side / 2, origin.y() - side / 2, side, side), muzzle);
        painter.restore();
    }
    const double impact = shot.impactOpacity(scene.displayTime, scene.reduceMotion);
    if (const QImage &glass = ScreenToyArtwork::impact(ScreenToyKind::blaster); !glass.isNull())
        drawImpact(painter, pictures, mark, point, glass, rapid ? 210 : 180, impact);
}

void drawWaterMark(QPainter &painter, const ScreenToyScene &scene, const ScreenToyShot &shot, QPointF point,
                   double age, const QRectF &screenFrame)
{
    if (const auto stream = shot.stream(scene.displayTime, scene.reduceMotion)) {
        // Clear water: a faint dark edge, a pale blue body and a bright highlight along it.
        const QPointF tail = local(stream->first, screenFrame);
        const QPointF head = local(stream->second, screenFrame);
        strokeLine(painter, tail, head, rgb(0.05, 0.2, 0.35, 0.35), 3.6);
        strokeLine(painter, tail, head, rgb(0.72, 0.88, 1.0, 0.6), 2.1);
        strokeLine(painter, tail + QPointF(0, 1), head + QPointF(0, 1), grey(1.0, 0.8), 0.8);
    }
    const double start = scene.reduceMotion ? 0 : 0.12;
    if (age < start || age >= 0.38)
        return;
    // Droplets thrown out of the splash: each a clear bead with a dark rim and a bright glint.
    for (int i = 0; i < 5; ++i) {
        const double angle = 0.3 + i * twoPi / 5;
        const double distance = (age - start) * 42 + 3 + (i % 3);
        const double size = 2 * (i % 2 == 0 ? 2.2 : 1.4);
        const QPointF centre(point.x() + distance * std::cos(angle), point.y() + 0.6 * distance * std::sin(angle));
        painter.setPen(QPen(rgb(0.02, 0.1, 0.2, 0.95), 1.1));
        painter.setBrush(rgb(0.78, 0.92, 1.0, 0.85));
        painter.drawEllipse(centre, size / 2, size / 2);
        painter.setPen(Qt::NoPen);
        painter.setBrush(grey(1.0, 0.95));
        painter.drawEllipse(centre + QPointF(-size * 0.15, size * 0.15), size * 0.18, size * 0.18);
    }
}

void drawMark(QPainter &painter, ScreenToyPictureCache &pictures, const ScreenToyScene &scene, const ScreenToyMark &mark,
              QPointF point, double age, const QRectF &screenFrame)
{
    painter.save();
    painter.setOpacity(std::max(1 - age / ScreenToyCanvasPainter::markLifetime, 0.0));
    switch (mark.kind) {
    case ScreenToyKind::blaster:
    case ScreenToyKind::ak47:
        if (mark.shot)
            drawBlasterMark(painter, pictures, scene, mark, point, screenFrame);
        break;
    case ScreenToyKind::waterGun:
        if (mark.shot)
            drawWaterMark(painter, scene, *mark.shot, point, age, screenFrame);
        break;
    case ScreenToyKind::whip:
        if (const QImage &glass = ScreenToyArtwork::impact(ScreenToyKind::whip); !glass.isNull())
            drawImpact(painter, pictures, mark, point, glass, 190, 1);
        break;
    case ScreenToyKind::grenade:
        break;
    }
    painter.restore();
}

void drawLiquidBead(QPainter &painter, QPointF p, double size, double opacity)
{
    const QRectF oval(p.x() - 0.5 * size, p.y() - 0.7 * size, size, 1.4 * size);
    QLinearGradient fill(QPointF(0, oval.top()), QPointF(0, oval.bottom()));
    fill.setColorAt(0, grey(0.03, 0.38 * opacity));
    fill.setColorAt(0.58, grey(0.68, 0.08 * opacity));
    fill.setColorAt(1, grey(1.0, 0.42 * opacity));
    painter.setPen(QPen(grey(0.08, 0.24 * opacity), 0.55));
    painter.setBrush(fill);
    painter.drawEllipse(oval);
    painter.setPen(Qt::NoPen);
    painter.setBrush(grey(1.0, 0.65 * opacity));
    painter.drawEllipse(QRectF(oval.left() + 0.2 * size, oval.center().y() + 0.16 * size, std::max(0.22 * size, 0.7),
                               std::max(0.32 * size, 1.0)));
}

// What every layer of one wet patch needs: where it is, how strong, how old and how wet.
struct Wet {
    QPointF centre;
    double opacity = 0;
    double age = 0;
    double k = 1;
    std::vector<QPointF> droplets;
};

// The smear around its own centre at full strength: it only slides down and fades, so it is
// drawn once and then blitted.
void drawWetBlobPicture(QPainter &painter, const std::vector<QPointF> &vertices)
{
    QPainterPath blob;
    blob.moveTo((vertices.back() + vertices.front()) / 2);
    for (std::size_t i = 0; i < vertices.size(); ++i)
        blob.quadTo(vertices[i], (vertices[i] + vertices[(i + 1) % vertices.size()]) / 2);
    blob.closeSubpath();
    // Water on glass catches the light on its upper left and darkens towards its lower right, so
    // one side or the other stands out from a light wallpaper and from a dark one alike.
    const QRectF around = blob.boundingRect();
    QLinearGradient body(QPointF(around.left(), around.bottom()), QPointF(around.right(), around.top()));
    body.setColorAt(0, grey(1.0, 0.5));
    body.setColorAt(0.5, grey(0.45, 0.55));
    body.setColorAt(1, grey(0.0, 0.5));
    painter.setPen(Qt::NoPen);
    painter.setBrush(body);
    painter.drawPath(blob);
    if (const QImage &texture = ScreenToyArtwork::wetGlass(); !texture.isNull()) {
        // The texture stretched over the blob's box grown by 12 pt, seen only inside the blob:
        // filled as a brush, which costs far less than clipping to the path.
        const QRectF box = blob.boundingRect().adjusted(-12, -12, 12, 12);
        QBrush brush(texture);
        brush.setTransform(QTransform::fromTranslate(box.left(), box.top())
                               .scale(box.width() / texture.width(), box.height() / texture.height()));
        painter.save();
        painter.setOpacity(painter.opacity() * 0.24);
        painter.fillPath(blob, brush);
        painter.restore();
    }
    painter.setPen(QPen(grey(0.88, 0.09), 0.65));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(blob);
}

void drawWetBlob(QPainter &painter, ScreenToyPictureCache &pictures, const ScreenToyWetPatch &patch, const Wet &wet,
                 double sag)
{
    std::vector<QPointF> vertices;
    QRectF extent;
    for (QPointF d : wet.droplets) {
        vertices.push_back(QPointF(1.8 * wet.k * d.x(), wet.k * d.y()));
        extent |= QRectF(vertices.back(), QSizeF(0.01, 0.01));
    }
    pictures.draw(painter, {-1, double(patch.seed), patch.volume, patch.createdAt}, wet.centre - QPointF(0, sag),
                  extent.adjusted(-2, -2, 2, 2), wet.opacity, [&](QPainter &on) { drawWetBlobPicture(on, vertices); });
}

void drawDrips(QPainter &painter, const Wet &wet, double reach, std::uint64_t seed)
{
    const QPointF c = wet.centre;
    for (int j = 0; j < 2; ++j) {
        const int m = j - 1;
        const double x0 = 0.15 * wet.droplets[std::size_t(j)].x() + c.x() + 14 * wet.k * m;
        const double length = reach * (0.48 + 0.22 * j);
        const double wobble = std::sin(double(seed % 17));
        const QPointF tip(x0 + 2 * wobble + 4 * m, c.y() - length);
        const double w = wet.k * (j == 0 ? 1.6 : 2.6);
        QPainterPath drip;
        drip.moveTo(x0 - w, c.y());
        drip.cubicTo(QPointF(x0 - w - 3, c.y() - 0.3 * length), QPointF(tip.x() - 0.55 * w + 2, c.y() - 0.75 * length),
                     QPointF(tip.x() - 0.55 * w, tip.y()));
        drip.quadTo(QPointF(tip.x(), tip.y() - 2 * w), QPointF(tip.x() + 0.55 * w, tip.y()));
        drip.cubicTo(QPointF(tip.x() + 0.55 * w + 2, c.y() - 0.75 * length), QPointF(x0 + w - 3, c.y() - 0.3 * length),
                     QPointF(x0 + w, c.y()));
        drip.closeSubpath();
        painter.setPen(QPen(grey(0.94, 0.1 * wet.opacity), 0.65));
        painter.setBrush(grey(0.08, 0.16 * wet.opacity));
        BandPainting::paintInBands(painter, drip.boundingRect().adjusted(-1, -1, 1, 1), [&] { painter.drawPath(drip); });
        drawLiquidBead(painter, tip, wet.k * (j == 0 ? 5.5 : 8), wet.opacity);
    }
}

void drawWetPatch(QPainter &painter, ScreenToyPictureCache &pictures, const ScreenToyScene &scene,
                  const ScreenToyWetPatch &patch, const QRectF &screenFrame)
{
    Wet wet{local(patch.center, screenFrame), ScreenToyCanvasPainter::wetPatchOpacity(patch, scene.displayTime),
            std::max(scene.displayTime - patch.createdAt, 0.0), std::sqrt(patch.volume), {}};
    constexpr double margin = ScreenToyCanvasPainter::offscreenMargin;
    if (wet.opacity <= 0 || !bounds(screenFrame).adjusted(-margin, -margin, margin, margin).contains(wet.centre))
        return;
    wet.droplets = patch.droplets();
    const double age = wet.age;
    drawWetBlob(painter, pictures, patch, wet, scene.reduceMotion ? 0 : std::min(2 * age, 8.0));
    drawDrips(painter, wet, scene.reduceMotion ? 12 : std::min(wet.k * (22 * age + 12 * age * age), 280.0), patch.seed);
    for (std::size_t i = 0; i < wet.droplets.size(); ++i) {
        const double fall = scene.reduceMotion ? 0 : std::min(age * age * double(i % 3 + 1), 34.0);
        const QPointF bead(wet.centre.x() + 2.3 * wet.k * wet.droplets[i].x(),
                           wet.centre.y() + 1.8 * wet.k * wet.droplets[i].y() - fall);
        drawLiquidBead(painter, bead, double(i % 4 + 3), wet.opacity);
    }
}

void drawSleeve(QPainter &painter, const ScreenToyCanvasPainter::Sleeve &sleeve)
{
    // Cloth lit from the upper left: a lighter band on the side facing the light, and a cuff.
    painter.setPen(QPen(rgb(0.03, 0.04, 0.06, 0.9), 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const QPointF lit = sleeve.across.x() - sleeve.across.y() < 0 ? sleeve.across : -sleeve.across;
    QLinearGradient across(sleeve.wrist + lit, sleeve.wrist - lit);
    across.setColorAt(0, rgb(0.11, 0.13, 0.18, 1));
    across.setColorAt(0.35, rgb(0.25, 0.3, 0.39, 1));
    across.setColorAt(1, rgb(0.1, 0.12, 0.16, 1));
    painter.setBrush(across);
    painter.drawPolygon(sleeve.outline);
    painter.setPen(QPen(rgb(0.06, 0.07, 0.1, 1), sleeve.cuffWidth, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(sleeve.wrist - sleeve.across * 1.02, sleeve.wrist + sleeve.across * 1.02);
}

// The hand that holds the whip's grip, closed round it a little in from the rope, with its arm
// down to a shoulder below the display, in the hand tone.
ScreenToyHandsLayout::Hand whipHand(QPointF anchor)
{
    return {anchor + QPointF(12, 0), QPointF(1, 0), QPointF(-0.3, -0.954), 300};
}

// The whip's grip from the rope's start on, long enough for its butt to show past the fist.
QRectF whipGrip(QPointF anchor)
{
    return QRectF(anchor.x() - 1, anchor.y() - 7, 44, 14);
}

// Braided leather with a soft shadow below it and a metal cap where the rope leaves it.
void drawWhipGrip(QPainter &painter, QPointF anchor)
{
    const QRectF grip = whipGrip(anchor);
    for (int ring = 4; ring >= 1; --ring) {
        QPainterPath shadow;
        shadow.addRoundedRect(grip.translated(0, -2).adjusted(-ring, -ring, ring, ring), 3 + ring, 3 + ring);
        painter.fillPath(shadow, grey(0, 0.38 / 6));
    }
    QPainterPath body;
    body.addRoundedRect(grip, 3, 3);
    painter.fillPath(body, rgb(0.12, 0.075, 0.06, 1));
    painter.save();
    painter.setClipPath(body);
    painter.setPen(QPen(rgb(0.49, 0.31, 0.21, 0.8), 0.8));
    for (double x = grip.left() + 3; x <= grip.right() - 2; x += 3)
        painter.drawLine(QPointF(x, grip.top() + 1), QPointF(x + 3, grip.bottom() - 1));
    painter.restore();
    QPainterPath cap;
    cap.addRoundedRect(QRectF(grip.left() - 3, grip.top() - 1, 6, grip.height() + 2), 1, 1);
    painter.fillPath(cap, rgb(0.28, 0.24, 0.20, 1));
    strokeLine(painter, QPointF(grip.left() - 2, grip.bottom() + 0.2), QPointF(grip.left() + 2, grip.bottom() + 0.2),
               grey(0.58, 0.65), 0.8);
}

ScreenToyCanvasPainter::Sleeve whipSleeve(QPointF anchor, const QRectF &display)
{
    const ScreenToyHandsLayout::Hand hand = whipHand(anchor);
    ScreenToyCanvasPainter::Sleeve sleeve;
    sleeve.wrist = hand.transform().map(QPointF(0, ScreenToyHandsLayout::wristReach));
    sleeve.direction = hand.towardsWrist;
    sleeve.width = ScreenToyHandsLayout::wristWidth * hand.size;
    const double side = std::min(display.width(), display.height()) * 0.6;
    // Down and a little in from the wrist, never out past a side edge.
    sleeve.shoulder = QPointF(std::clamp(sleeve.wrist.x() - 0.1 * side, 0.15 * side, display.width() - 0.15 * side),
                              -ScreenToyCanvasPainter::shoulderDepth * side);
    ScreenToyCanvasPainter::shapeSleeve(sleeve, 0.15 * side, 0.35 * side, 1.0);
    return sleeve;
}

void drawWhipHand(QPainter &painter, const ScreenToyScene &scene, QPointF anchor, const QRectF &display)
{
    const ScreenToyCanvasPainter::Sleeve sleeve = whipSleeve(anchor, display);
    drawSleeve(painter, sleeve);
    const ScreenToyHandsLayout::Hand hand = whipHand(anchor);
    const QPainterPath outline = hand.transform().map(ScreenToyHandsLayout::handOutline());
    const auto [red, green, blue] = ScreenToyRecolouring::multipliers(scene.handTone);
    const auto skin = [&](double shade) {
        return rgb(std::min(0.78 * red * shade, 1.0), std::min(0.57 * green * shade, 1.0),
                   std::min(0.44 * blue * shade, 1.0), 1);
    };
    QLinearGradient shade(outline.boundingRect().topLeft(), outline.boundingRect().bottomRight());
    shade.setColorAt(0, skin(1.1));
    shade.setColorAt(1, skin(0.78));
    painter.setPen(QPen(skin(0.42), 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(shade);
    painter.drawPath(outline);
    painter.save();
    painter.setClipPath(outline);
    painter.setPen(QPen(skin(0.6), 1.0, Qt::SolidLine, Qt::RoundCap));
    const QTransform t = hand.transform();
    for (int i = 0; i < 3; ++i)
        painter.drawLine(t.map(QPointF(-0.028 + 0.028 * i, -0.06)), t.map(QPointF(-0.028 + 0.028 * i, -0.018)));
    painter.restore();
}

void drawWhip(QPainter &painter, const ScreenToyScene &scene, const QRectF &screenFrame)
{
    const std::vector<QPointF> curve = ScreenToyCanvasPainter::whipCurve(scene.whipPoints, screenFrame);
    if (curve.size() < 2)
        return;
    constexpr double alpha = 0.95;
    const auto width = [&](std::size_t i) {
        const double t = double(i) / double(curve.size() - 1);
        return std::pow(1 - std::clamp(t, 0.0, 1.0), 1.2) * 10 + 1.1;
    };
    for (std::size_t i = 0; i + 1 < curve.size(); ++i)
        strokeLine(painter, curve[i], curve[i + 1], grey(0.8, 0.2 * alpha), width(i) + 1.4);
    for (std::size_t i = 0; i + 1 < curve.size(); ++i)
        strokeLine(painter, curve[i], curve[i + 1], rgb(0.16, 0.10, 0.08, alpha), width(i));
    for (std::size_t i = 0; i + 1 < curve.size(); ++i) {
        const QPointF raise(0, 0.15 * width(i));
        strokeLine(painter, curve[i] + raise, curve[i + 1] + raise, rgb(0.48, 0.32, 0.22, 0.55 * alpha),
                   std::max(0.26 * width(i), 0.35));
    }
    // The fist over the grip, which it holds.
    drawWhipGrip(painter, curve.front());
    drawWhipHand(painter, scene, curve.front(), bounds(screenFrame));
}

// The newest mark of a kind that carries a shot, if any.
const ScreenToyShot *newestShot(const ScreenToyScene &scene, ScreenToyKind kind)
{
    for (auto mark = scene.marks.rbegin(); mark != scene.marks.rend(); ++mark) {
        if (mark->kind == kind)
            return mark->shot ? &*mark->shot : nullptr;
    }
    return nullptr;
}

void drawPOV(QPainter &painter, ScreenToyPictureCache &pictures, const ScreenToyScene &scene, QPointF target,
             const QRectF &screenFrame)
{
    const QImage image = ScreenToyArtwork::artwork(scene.toy, scene.handTone);
    if (image.isNull())
        return;
    const ScreenToyPOVLayout layout = ScreenToyPOV::layout(screenFrame, target, scene.toy);
    const ScreenToyShot *shot = newestShot(scene, scene.toy);
    const double recoil = shot ? shot->recoil(scene.displayTime, scene.reduceMotion) : 0;

    QRectF source(0, 0, double(image.width()) / ScreenToyArtwork::frameCount(scene.toy), image.height());
    if (scene.toy == ScreenToyKind::blaster || scene.toy == ScreenToyKind::ak47) {
        const double slideEnd = scene.toy == ScreenToyKind::ak47 ? 0.06 : 0.085;
        const double elapsed = shot ? scene.displayTime - shot->firedAt : -1;
        if (shot && !scene.reduceMotion && elapsed >= 0.015 && elapsed < slideEnd)
            source.moveLeft(source.width());
    }
    // Turned about the pivot, which the recoil kicks down: the turned hands are pictured while
    // the aim holds still, and the kick only moves the picture.
    const QRectF extent = ScreenToyCanvasPainter::povExtent(layout, scene.toy, screenFrame).translated(-layout.pivot);
    const ScreenToyPictureCache::Key key{-10 - int(scene.toy), layout.angle, source.left(), double(int(scene.handTone))};
    pictures.drawOnceStill(painter, key, layout.pivot - QPointF(0, recoil), extent, 1, [&](QPainter &on) {
        on.translate(-layout.pivot);
        for (const ScreenToyCanvasPainter::Sleeve &sleeve : ScreenToyCanvasPainter::sleeves(layout, scene.toy))
            drawSleeve(on, sleeve);
        on.setTransform(ScreenToyCanvasPainter::povTransform(layout), true);
        ScreenToyCanvasPainter::drawImageAtFixedSize(on, layout.handsFrame, image, source);
    });
}

// A point on a cubic curve and its direction.
QPointF cubicAt(const std::array<QPointF, 4> &c, double t)
{
    const double s = 1 - t;
    return c[0] * s * s * s + c[1] * 3 * s * s * t + c[2] * 3 * s * t * t + c[3] * t * t * t;
}
}

namespace ScreenToyCanvasPainter {
bool isMirrored(const ScreenToyPOVLayout &layout)
{
    return layout.bearing > 0;
}

QTransform povTransform(const ScreenToyPOVLayout &layout)
{
    // Aimed to the right the artwork is mirrored, so the weapon's underside stays down: the
    // mirrored muzzle lies as far the other side of the barrel line, so the turn that puts it
    // on the line to the pointer is the aim's bearing plus that offset instead of minus it.
    const bool mirrored = isMirrored(layout);
    const double turn = mirrored ? 2 * layout.bearing - layout.angle : layout.angle;
    QTransform transform;
    transform.translate(layout.pivot.x(), layout.pivot.y());
    transform.rotate(qRadiansToDegrees(-turn));
    if (mirrored)
        transform.scale(-1, 1);
    transform.translate(-layout.pivot.x(), -layout.pivot.y());
    return transform;
}

std::vector<Sleeve> sleeves(const ScreenToyPOVLayout &layout, ScreenToyKind kind)
{
    const QRectF frame = layout.handsFrame;
    const double side = frame.width();
    const QTransform turn = povTransform(layout);
    // From the artwork's unit coordinates (v down) into the canvas, turned.
    const auto place = [&](QPointF unit) {
        return turn.map(QPointF(frame.left() + unit.x() * side, frame.top() + (1 - unit.y()) * side));
    };
    std::vector<Sleeve> result;
    for (const ScreenToyHandsLayout::Wrist &wrist : ScreenToyHandsLayout::wrists(kind)) {
        Sleeve sleeve;
        sleeve.wrist = place(wrist.centre);
        const QPointF ahead = place(wrist.centre + wrist.direction * 0.1) - sleeve.wrist;
        sleeve.direction = ahead / std::max(std::hypot(ahead.x(), ahead.y()), 1e-9);
        sleeve.width = wrist.width * side;
        result.push_back(sleeve);
    }
    // Each arm runs on to a shoulder below the bottom edge, out on its own side, so the arms
    // never cross and always enter from the bottom, however far the hands are turned.
    std::vector<std::size_t> order(result.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return result[a].wrist.x() < result[b].wrist.x(); });
    for (std::size_t rank = 0; rank < order.size(); ++rank) {
        Sleeve &sleeve = result[order[rank]];
        const double outward = order.size() < 2 ? 0 : (rank == 0 ? -1 : 1);
        sleeve.shoulder = QPointF(layout.pivot.x() + 1.2 * (sleeve.wrist.x() - layout.pivot.x()) + outward * 0.15 * side,
                                  -shoulderDepth * side);
        shapeSleeve(sleeve, 0.2 * side, 0.35 * side, 0.3);
    }
    return result;
}

void shapeSleeve(Sleeve &sleeve, double wristReach, double shoulderReach, double widening)
{
    const std::array<QPointF, 4> curve{sleeve.wrist, sleeve.wrist + sleeve.direction * wristReach,
                                       sleeve.shoulder + QPointF(0, shoulderReach), sleeve.shoulder};
    constexpr int steps = 16;
    QPolygonF left;
    QPolygonF right;
    for (int i = 0; i <= steps; ++i) {
        const double t = double(i) / steps;
        const QPointF at = cubicAt(curve, t);
        const QPointF next = cubicAt(curve, std::min(t + 0.02, 1.0)) - cubicAt(curve, std::max(t - 0.02, 0.0));
        const QPointF normal = QPointF(-next.y(), next.x()) / std::max(std::hypot(next.x(), next.y()), 1e-9);
        // Loose cloth: wider than the wrist at the cuff and wider again towards the shoulder.
        const double half = sleeve.width * (0.62 + widening * t);
        if (i == 0)
            sleeve.across = normal * half;
        left << at + normal * half;
        right.prepend(at - normal * half);
    }
    sleeve.outline = left + right;
    sleeve.cuffWidth = 0.12 * sleeve.width;
}

QRectF povExtent(const ScreenToyPOVLayout &layout, ScreenToyKind kind, const QRectF &screenFrame)
{
    QRectF extent = povTransform(layout).map(QPolygonF(layout.handsFrame)).boundingRect();
    for (const Sleeve &sleeve : sleeves(layout, kind))
        extent |= sleeve.outline.boundingRect();
    return extent.adjusted(-3, -3, 3, 3) & bounds(screenFrame).adjusted(-20, -20, 20, 20);
}

void drawImage(QPainter &painter, const QRectF &target, const QImage &image, const QRectF &source)
{
    const QRectF part = source.isNull() ? QRectF(image.rect()) : source;
    const QRectF upright(0, 0, target.width(), target.height());
    painter.save();
    painter.translate(target.left(), target.bottom());
    painter.scale(1, -1);
    // Drawn pixel for pixel, an image needs no filtering, and unfiltered Qt blends it directly.
    const bool oneToOne = painter.deviceTransform().type() <= QTransform::TxTranslate && upright.size() == part.size()
        && image.devicePixelRatio() == 1;
    painter.setRenderHint(QPainter::SmoothPixmapTransform, !oneToOne);
    // The artwork is transparent at its edges (the arms run on into the sleeves), which so need
    // no antialiasing; a turned edge antialiased would break each row into a span per pixel.
    painter.setRenderHint(QPainter::Antialiasing, false);
    BandPainting::paintInBands(painter, upright, [&] { painter.drawImage(upright, image, part); });
    painter.restore();
}

void drawImageAtFixedSize(QPainter &painter, const QRectF &target, const QImage &image, const QRectF &source)
{
    // Keyed by the image's identity, the part and the size; a handful of entries in use.
    const QRectF part = source.isNull() ? QRectF(image.rect()) : source;
    const QSize size = target.size().toSize();
    const QString key = QStringLiteral("scaled:%1:%2,%3,%4,%5:%6x%7")
                            .arg(image.cacheKey())
                            .arg(part.x())
                            .arg(part.y())
                            .arg(part.width())
                            .arg(part.height())
                            .arg(size.width())
                            .arg(size.height());
    const QImage scaled = ScreenToyArtwork::derived(key, [&] {
        const QImage whole = image.copy(part.toAlignedRect())
                                 .scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                                 .convertToFormat(QImage::Format_ARGB32_Premultiplied);
        // Only the part that shows, with one clear pixel around it for a smoothed edge to fade
        // into: a transparent margin costs as much to draw as the rest.
        const QRect shown = opaqueBounds(whole).adjusted(-1, -1, 1, 1) & whole.rect();
        if (shown.isEmpty())
            return QImage();
        QImage cropped = whole.copy(shown);
        cropped.setOffset(shown.topLeft());
        return cropped;
    });
    if (scaled.isNull())
        return;
    const double sx = target.width() / size.width();
    const double sy = target.height() / size.height();
    drawImage(painter,
              QRectF(target.left() + sx * scaled.offset().x(), target.bottom() - sy * (scaled.offset().y() + scaled.height()),
                     sx * scaled.width(), sy * scaled.height()),
              scaled);
}

bool isMarkVisible(const ScreenToyMark &mark, double displayTime, const QRectF &screenFrame)
{
    const double age = std::max(displayTime - mark.time, 0.0);
    const QRectF area = bounds(screenFrame).adjusted(-offscreenMargin, -offscreenMargin, offscreenMargin,
                                                     offscreenMargin);
    return age < markLifetime && area.contains(local(mark.point, screenFrame));
}

double wetPatchOpacity(const ScreenToyWetPatch &patch, double displayTime)
{
    const double age = displayTime - patch.createdAt;
    const double since = displayTime - patch.refreshedAt.value_or(patch.createdAt);
    if (age < 0 || since >= 4.5)
        return 0;
    return std::min(age / 0.12, 1.0) * std::min((4.5 - since) / 1.6, 1.0);
}

std::vector<QPointF> whipCurve(const std::vector<QPointF> &points, const QRectF &screenFrame)
{
    std::vector<QPointF> joints;
    for (QPointF p : points)
        joints.push_back(local(p, screenFrame));
    if (joints.size() < 2)
        return joints;
    std::vector<QPointF> curve{joints.front()};
    const std::size_t last = joints.size() - 1;
    for (std::size_t i = 0; i <= last; ++i) {
        const QPointF start = i == 0 ? joints[0] : (joints[i - 1] + joints[i]) / 2;
        const QPointF end = i == last ? joints[last] : (joints[i] + joints[i + 1]) / 2;
        for (int step = 1; step <= 8; ++step) {
            const double t = step / 8.0;
            curve.push_back(start * (1 - t) * (1 - t) + joints[i] * 2 * (1 - t) * t + end * t * t);
        }
    }
    return curve;
}

void paint(QPainter &painter, const ScreenToyScene &scene, const QRectF &screenFrame, ScreenToyPictureCache &pictures)
{
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QRectF display = bounds(screenFrame);
    for (const ScreenToyGrenade &grenade : scene.grenades) {
        if (screenFrame.contains(grenade.target))
            ScreenToyGrenadePainter::drawGrenade(painter, pictures, grenade, scene, screenFrame);
    }
    for (const ScreenToyWetPatch &patch : scene.wetPatches)
        drawWetPatch(painter, pictures, scene, patch, screenFrame);
    for (const ScreenToyMark &mark : scene.marks) {
        if (isMarkVisible(mark, scene.displayTime, screenFrame))
            drawMark(painter, pictures, scene, mark, local(mark.point, screenFrame),
                     std::max(scene.displayTime - mark.time, 0.0), screenFrame);
    }
    const bool pointerHere = scene.pointer && screenFrame.contains(*scene.pointer);
    switch (scene.toy) {
    case ScreenToyKind::whip:
        drawWhip(painter, scene, screenFrame);
        break;
    case ScreenToyKind::grenade:
        if (pointerHere)
            ScreenToyGrenadePainter::drawGrenadeHand(painter, scene, display);
        break;
    case ScreenToyKind::blaster:
    case ScreenToyKind::waterGun:
    case ScreenToyKind::ak47:
        if (pointerHere)
            drawPOV(painter, pictures, scene, *scene.pointer, screenFrame);
        break;
    }
    pictures.endPaint();
}

QRegion damage(const ScreenToyScene &scene, const QRectF &screenFrame)
{
    const QRectF display = bounds(screenFrame);
    std::vector<QRectF> areas;
    for (const ScreenToyGrenade &grenade : scene.grenades) {
        if (!screenFrame.contains(grenade.target))
            continue;
        if (scene.displayTime - grenade.thrownAt >= ScreenToyGrenade::detonationSeconds) {
            // Debris and smoke fly far: an explosion repaints its whole display.
            areas.push_back(display);
            continue;
        }
        const QPointF body = local(grenade.position(scene.displayTime), screenFrame);
        const QPointF target = local(grenade.target, screenFrame);
        areas.push_back(QRectF(body.x() - 120, body.y() - 120, 240, 240));
        areas.push_back(QRectF(target.x() - 40, target.y() - 65, 80, 80));
    }
    for (const ScreenToyWetPatch &patch : scene.wetPatches) {
        const QPointF c = local(patch.center, screenFrame);
        const double k = std::sqrt(patch.volume);
        areas.push_back(QRectF(c.x() - 60 * k - 20, c.y() - 300 * k - 20, 120 * k + 40, 345 * k + 40));
    }
    for (const ScreenToyMark &mark : scene.marks) {
        if (!isMarkVisible(mark, scene.displayTime, screenFrame))
            continue;
        const QPointF p = local(mark.point, screenFrame);
        areas.push_back(QRectF(p.x() - 150, p.y() - 150, 300, 300));
        if (mark.shot) {
            const QPointF origin = local(mark.shot->origin, screenFrame);
            areas.push_back(QRectF(origin, p).normalized().adjusted(-60, -60, 60, 60));
        }
    }
    const bool pointerHere = scene.pointer && screenFrame.contains(*scene.pointer);
    if (scene.toy == ScreenToyKind::whip) {
        const std::vector<QPointF> curve = whipCurve(scene.whipPoints, screenFrame);
        if (!curve.empty()) {
            QRectF around(curve.front(), curve.front());
            for (QPointF p : curve)
                around |= QRectF(p, QSizeF(0.01, 0.01));
            areas.push_back(around.adjusted(-14, -14, 14, 14));
            areas.push_back(whipSleeve(curve.front(), display).outline.boundingRect().adjusted(-3, -3, 3, 3)
                            | whipHand(curve.front()).transform().mapRect(QRectF(-0.1, -0.07, 0.2, 0.2))
                            | whipGrip(curve.front()).adjusted(-8, -8, 6, 6));
        }
    } else if (pointerHere && scene.toy == ScreenToyKind::grenade) {
        const double h = std::min(display.height() * 0.37, 330.0);
        areas.push_back(QRectF(display.center().x() - 0.8 * h, -140, 1.6 * h, h + 180));
    } else if (pointerHere) {
        const ScreenToyPOVLayout layout = ScreenToyPOV::layout(screenFrame, *scene.pointer, scene.toy);
        if (!ScreenToyArtwork::hands(scene.toy).isNull()) {
            // The recoil kicks the hands down by up to 15 pt.
            areas.push_back(povExtent(layout, scene.toy, screenFrame).adjusted(-2, -18, 2, 2));
        }
    }
    QRegion region;
    for (const QRectF &area : areas) {
        const QRectF clipped = area & display;
        if (clipped.isEmpty())
            continue;
        // Flip into the widget's y-down coordinates.
        region += QRectF(clipped.left(), display.height() - clipped.bottom(), clipped.width(), clipped.height())
                      .toAlignedRect();
    }
    return region;
}
}
