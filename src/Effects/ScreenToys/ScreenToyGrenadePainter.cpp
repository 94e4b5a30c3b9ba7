#include "Effects/ScreenToys/ScreenToyGrenadePainter.h"

#include "Effects/BandPainting.h"
#include "Effects/ScreenToys/ScreenToyArtwork.h"
#include "Effects/ScreenToys/ScreenToyCanvasPainter.h"

#include <QPolygonF>
#include <QRadialGradient>
#include <QtMath>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {
constexpr double twoPi = 2 * std::numbers::pi;

// A part of an image (a rectangle in unit coordinates from its top left) drawn into a fresh
// premultiplied bitmap of the given size.
QImage raster(const QImage &source, const QRectF &unitPart, QSize size)
{
    if (source.isNull())
        return {};
    QImage out(size, QImage::Format_ARGB32_Premultiplied);
    if (out.isNull())
        return {};
    out.fill(Qt::transparent);
    QPainter painter(&out);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QRectF part(unitPart.x() * source.width(), unitPart.y() * source.height(), unitPart.width() * source.width(),
                      unitPart.height() * source.height());
    painter.drawImage(QRectF(QPointF(0, 0), QSizeF(size)), source, part);
    return out;
}

QImage makeSmoke()
{
    QImage out(128, 128, QImage::Format_ARGB32_Premultiplied);
    out.fill(Qt::transparent);
    QPainter painter(&out);
    QRadialGradient gradient(QPointF(64, 64), 64);
    gradient.setColorAt(0, QColor::fromRgbF(0.12f, 0.12f, 0.12f, 1));
    gradient.setColorAt(1, QColor::fromRgbF(0.12f, 0.12f, 0.12f, 0));
    painter.fillRect(out.rect(), gradient);
    return out;
}

// A disc of `colour` fading to transparent at its radius. The gradient stays transparent beyond,
// so the disc is filled as its square, whose straight edges fill faster than a circle's and
// need no antialiasing.
void fillGlow(QPainter &painter, QPointF centre, double radius, const QColor &colour)
{
    QRadialGradient glow(centre, radius);
    glow.setColorAt(0, colour);
    QColor clear = colour;
    clear.setAlphaF(0);
    glow.setColorAt(1, clear);
    const QRectF square(centre - QPointF(radius, radius), QSizeF(2 * radius, 2 * radius));
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    BandPainting::paintInBands(painter, square, [&] { painter.fillRect(square, glow); });
    painter.restore();
}

void drawFlight(QPainter &painter, const ScreenToyGrenade &grenade, const ScreenToyScene &scene,
                const QRectF &screenFrame, double elapsed)
{
    const QImage body = ScreenToyGrenadePainter::projectileRaster();
    if (body.isNull())
        return;
    const QPointF position = grenade.position(scene.displayTime) - screenFrame.topLeft();
    const QPointF target = grenade.target - screenFrame.topLeft();
    const double progress = std::min(elapsed / ScreenToyGrenade::flightSeconds, 1.0);
    const double size = ScreenToyGrenadePainter::projectileSize(elapsed);
    painter.save();
    fillGlow(painter, target - QPointF(0, 25), 32, QColor::fromRgbF(0, 0, 0, float(0.3 * progress)));
    painter.translate(position);
    painter.rotate(qRadiansToDegrees(ScreenToyGrenadePainter::projectileRotation(elapsed, scene.reduceMotion)));
    ScreenToyCanvasPainter::drawImage(painter, QRectF(-size / 2, -size, size, 2 * size), body);
    painter.restore();
}

// One frame of an explosion: its centre on the canvas, the time since the blast, the fade of
// its last 1.4 s, the crater's size and the opacity the canvas drew at before it.
struct Blast {
    QPointF centre;
    double since = 0;
    double fade = 1;
    double radius = 0;
    double baseOpacity = 1;
};

// The scorch and the crater around their centre: they only fade in and out, so they are drawn
// once and then blitted.
void drawScorchAndCraterPicture(QPainter &painter, double radius)
{
    QPolygonF scorch;
    for (int i = 0; i < 24; ++i) {
        const double angle = twoPi * i / 24;
        const double r = radius * (0.19 + 0.018 * std::sin(7.0 * i));
        scorch << QPointF(r * std::cos(angle), r * std::sin(angle));
    }
    // Soot, solid in the middle and fading out towards the star's corners.
    QRadialGradient soot(QPointF(0, 0), radius * 0.21);
    soot.setColorAt(0, QColor::fromRgbF(0.025f, 0.025f, 0.025f, 1));
    soot.setColorAt(0.6, QColor::fromRgbF(0.025f, 0.025f, 0.025f, 0.8f));
    soot.setColorAt(1, QColor::fromRgbF(0.025f, 0.025f, 0.025f, 0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(soot);
    painter.drawPolygon(scorch);
    if (const QImage crater = ScreenToyGrenadePainter::craterRaster(); !crater.isNull())
        ScreenToyCanvasPainter::drawImageAtFixedSize(painter, QRectF(-radius / 2, -radius / 2, radius, radius), crater);
}

void drawScorchAndCrater(QPainter &painter, ScreenToyPictureCache &pictures, const ScreenToyGrenade &grenade,
                         const Blast &blast)
{
    const double half = blast.radius / 2 + 2;
    pictures.draw(painter, {-2, grenade.thrownAt, grenade.target.x(), grenade.target.y()}, blast.centre,
                  QRectF(-half, -half, 2 * half, 2 * half), std::min(12 * blast.since, 1.0),
                  [&](QPainter &on) { drawScorchAndCraterPicture(on, blast.radius); });
}

// The flash and, inside it, the fireball: a white-hot core in orange flame and dark red at its
// edge, swelling over the first quarter second and burning out by 0.6 s. While the flash lasts
// both are one gradient, so the fireball costs no fill of its own.
void drawFlashAndFireball(QPainter &painter, const Blast &blast)
{
    const double b = blast.since;
    const bool flash = b < 0.3;
    const bool fireball = b < ScreenToyGrenadePainter::fireballSeconds;
    if (!flash && !fireball)
        return;
    const double flashRadius = 90 + 1050 * b;
    const double ballRadius = ScreenToyGrenadePainter::fireballRadius(b);
    const double radius = flash ? std::max(flashRadius, ballRadius) : ballRadius;
    const double edge = fireball ? ballRadius / radius : 0;
    QRadialGradient glow(blast.centre, radius);
    if (fireball) {
        const float alpha = float(1 - b / ScreenToyGrenadePainter::fireballSeconds);
        glow.setColorAt(0, QColor::fromRgbF(1.0f, 0.98f, 0.85f, alpha));
        glow.setColorAt(0.3 * edge, QColor::fromRgbF(1.0f, 0.78f, 0.3f, alpha));
        glow.setColorAt(0.65 * edge, QColor::fromRgbF(0.95f, 0.38f, 0.06f, 0.85f * alpha));
        glow.setColorAt(0.88 * edge, QColor::fromRgbF(0.45f, 0.1f, 0.03f, 0.5f * alpha));
    }
    if (flash) {
        // Beyond the fireball the flash fades out as it would alone.
        const double alpha = std::max((1 - b / 0.3) * 0.75, 0.0);
        glow.setColorAt(edge, QColor::fromRgbF(1.0f, 0.72f, 0.32f, float(alpha * (1 - edge))));
        glow.setColorAt(1, QColor::fromRgbF(1.0f, 0.72f, 0.32f, 0));
    } else {
        glow.setColorAt(1, QColor::fromRgbF(0.2f, 0.05f, 0.02f, 0));
    }
    const QRectF square(blast.centre - QPointF(radius, radius), QSizeF(2 * radius, 2 * radius));
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    BandPainting::paintInBands(painter, square, [&] { painter.fillRect(square, glow); });
    painter.restore();
}

void drawFlashAndDebris(QPainter &painter, const Blast &blast)
{
    const double b = blast.since;
    drawFlashAndFireball(painter, blast);
    if (b >= 1.8)
        return;
    const QPolygonF shard({QPointF(-4, -2), QPointF(6, 0), QPointF(1, 8)});
    const float alpha = float(std::max(1 - b / 1.8, 0.0));
    for (int i = 0; i < 30; ++i) {
        const double phi = 2.399963 * i;
        const double distance = 110 + (71 * i) % 260;
        const double drop = 190 * b * b;
        painter.save();
        painter.translate(blast.centre + b * distance * QPointF(std::cos(phi), std::sin(phi)) - QPointF(0, drop));
        painter.rotate(qRadiansToDegrees(phi + b * ((i % 9) - 4)));
        const float level = i % 3 == 0 ? 0.72f : 0.16f;
        painter.setBrush(QColor::fromRgbF(level, level, level, alpha));
        painter.drawPolygon(shard);
        painter.restore();
    }
}

// Puffs rise and swell, then start again every 2.4 s.
void drawSmoke(QPainter &painter, const Blast &blast)
{
    const QImage smoke = ScreenToyGrenadePainter::smokeRaster();
    if (smoke.isNull())
        return;
    const QPointF c = blast.centre;
    for (int i = 0; i < 12; ++i) {
        const double sigma = 0.53 * i;
        const double rho = std::fmod(blast.since + sigma, 2.4);
        const double z = 24 + 28 * rho;
        painter.setOpacity(blast.baseOpacity * std::min(4 * blast.since, 1.0) * blast.fade
                           * std::max((1 - rho / 2.4) * 0.13, 0.0));
        const QPointF centre(c.x() + blast.radius * 0.22 * std::sin(7 * sigma) + 28 * std::sin(sigma + 1.8 * rho),
                             c.y() + 40 + 78 * rho);
        ScreenToyCanvasPainter::drawImage(painter, QRectF(centre.x() - z, centre.y() - z, 2 * z, 2 * z), smoke);
    }
}

// The flame raster reduced by averaging to about the size flames are drawn at: stretching the
// full raster down that far samples too few of its pixels and leaves stair-stepped edges.
QImage flameForDrawing(double height)
{
    const int width = height < 32 ? 16 : 32;
    return ScreenToyArtwork::derived(QStringLiteral("flame:%1").arg(width), [width] {
        const QImage fire = ScreenToyGrenadePainter::fireRaster();
        return fire.isNull() ? QImage()
                             : fire.scaled(width, 2 * width, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    });
}

void drawFire(QPainter &painter, const Blast &blast)
{
    if (ScreenToyGrenadePainter::fireRaster().isNull())
        return;
    const double b = blast.since;
    painter.setOpacity(blast.baseOpacity * blast.fade * 0.8);
    for (int i = 0; i < 24; ++i) {
        const double height = std::min(10 * b, 1.0) * std::max(1 - b / 5.2, 0.0) * (25 + 7 * (i % 7))
            * (0.35 * std::sin(2 * i + b * ((i % 5) + 13)) + 0.65);
        if (height <= 1)
            continue;
        const double angle = twoPi * i / 24;
        const double ring = blast.radius * (0.22 + 0.025 * std::sin(13.0 * i));
        const double width = 24 + 5 * (i % 4);
        painter.save();
        painter.translate(blast.centre + ring * QPointF(std::cos(angle), std::sin(angle)));
        painter.rotate(qRadiansToDegrees(std::sin(7 * b + i) * 13 / 65));
        ScreenToyCanvasPainter::drawImage(painter, QRectF(-width / 2, -5, width, height), flameForDrawing(height));
        painter.restore();
    }
}

void drawExplosion(QPainter &painter, ScreenToyPictureCache &pictures, const ScreenToyGrenade &grenade, const ScreenToyScene &scene,
                   const QRectF &screenFrame, double elapsed)
{
    const Blast blast{grenade.target - screenFrame.topLeft(), elapsed - ScreenToyGrenade::detonationSeconds,
                      ScreenToyGrenadePainter::explosionFade(elapsed),
                      ScreenToyGrenadePainter::craterSide(QRectF(QPointF(0, 0), screenFrame.size())), painter.opacity()};
    painter.save();
    const double shake = ScreenToyGrenadePainter::shakeOffset(blast.since, scene.reduceMotion);
    painter.translate(shake, -shake / 2);
    painter.setOpacity(blast.baseOpacity * blast.fade);
    painter.setPen(Qt::NoPen);
    drawScorchAndCrater(painter, pictures, grenade, blast);
    drawFlashAndDebris(painter, blast);
    drawSmoke(painter, blast);
    drawFire(painter, blast);
    painter.restore();
}
}

namespace ScreenToyGrenadePainter {
QImage projectileRaster()
{
    return ScreenToyArtwork::derived(QStringLiteral("projectile"), [] {
        return raster(ScreenToyArtwork::grenadeHands(), QRectF(0.61, 0, 0.39, 1), QSize(120, 240));
    });
}

QImage craterRaster()
{
    return ScreenToyArtwork::derived(QStringLiteral("crater"), [] {
        return raster(ScreenToyArtwork::grenadeCrater(), QRectF(0, 0, 1, 1), QSize(960, 960));
    });
}

QImage fireRaster()
{
    return ScreenToyArtwork::derived(QStringLiteral("fire"), [] {
        return raster(ScreenToyArtwork::grenadeFire(), QRectF(0, 0, 1, 1), QSize(96, 192));
    });
}

QImage smokeRaster()
{
    return ScreenToyArtwork::derived(QStringLiteral("smoke"), makeSmoke);
}

QImage grenadeHandRaster(ScreenToyHandTone tone)
{
    return ScreenToyArtwork::derived(QStringLiteral("hand:") + rawValue(tone), [tone] {
        return raster(ScreenToyArtwork::artwork(ScreenToyKind::grenade, tone), QRectF(0, 0, 0.6, 1), QSize(400, 660));
    });
}

void prepare(ScreenToyHandTone tone)
{
    projectileRaster();
    craterRaster();
    fireRaster();
    smokeRaster();
    grenadeHandRaster(tone);
}

double projectileSize(double elapsed)
{
    return 98 - 35 * std::min(std::max(elapsed, 0.0) / ScreenToyGrenade::flightSeconds, 1.0);
}

double projectileRotation(double elapsed, bool reduceMotion)
{
    return reduceMotion ? 0.0 : 12 * std::min(std::max(elapsed, 0.0), ScreenToyGrenade::flightSeconds);
}

double shakeOffset(double sinceBlast, bool reduceMotion)
{
    if (reduceMotion || sinceBlast < 0 || sinceBlast >= 0.28)
        return 0;
    return (1 - sinceBlast / 0.28) * std::sin(85 * sinceBlast) * 6;
}

double explosionFade(double elapsed)
{
    return std::clamp((ScreenToyGrenade::lifetimeSeconds - elapsed) / 1.4, 0.0, 1.0);
}

double fireballRadius(double sinceBlast)
{
    return 40 + 120 * std::clamp(sinceBlast / 0.25, 0.0, 1.0);
}

double craterSide(const QRectF &bounds)
{
    return std::min(std::min(bounds.width(), bounds.height()) * 0.6, 480.0);
}

double throwSwing(const ScreenToyScene &scene)
{
    if (scene.grenades.empty())
        return 0;
    const double t = scene.displayTime - scene.grenades.back().thrownAt;
    if (t < 0 || t >= 0.6)
        return 0;
    return std::sin(std::min(t / 0.6, 1.0) * std::numbers::pi);
}

QRectF handRect(const QRectF &bounds, double swing)
{
    const double height = std::min(bounds.height() * 0.37, 330.0);
    return QRectF(bounds.center().x() - 0.12 * height, -40 - 95 * swing, 0.6 * height, height);
}

void drawGrenade(QPainter &painter, ScreenToyPictureCache &pictures, const ScreenToyGrenade &grenade, const ScreenToyScene &scene,
                 const QRectF &screenFrame)
{
    const double elapsed = std::max(scene.displayTime - grenade.thrownAt, 0.0);
    if (elapsed < ScreenToyGrenade::detonationSeconds)
        drawFlight(painter, grenade, scene, screenFrame, elapsed);
    else
        drawExplosion(painter, pictures, grenade, scene, screenFrame, elapsed);
}

void drawGrenadeHand(QPainter &painter, const ScreenToyScene &scene, const QRectF &bounds)
{
    const QImage hand = grenadeHandRaster(scene.handTone);
    if (hand.isNull())
        return;
    const double swing = throwSwing(scene);
    const QRectF rect = handRect(bounds, swing);
    const QPointF bottomCentre(rect.center().x(), rect.top());
    painter.save();
    painter.setOpacity(painter.opacity() * std::max(1 - 0.8 * swing, 0.15));
    painter.translate(bottomCentre);
    painter.rotate(qRadiansToDegrees(-0.35 * swing));
    painter.translate(-bottomCentre);
    ScreenToyCanvasPainter::drawImageAtFixedSize(painter, rect, hand);
    painter.restore();
}
}
