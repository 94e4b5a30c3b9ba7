#include "Effects/Pet/View/PetFigure.h"

#include "Effects/Pet/View/PetBodyImage.h"
#include "Effects/Pet/View/PetPictures.h"
#include "Effects/Pet/View/PetFace.h"
#include "Effects/Pet/View/PetGlyph.h"
#include "Foundation/Appearance.h"

#include <QFontMetricsF>
#include <QHash>
#include <QLinearGradient>
#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace PetFigure {
namespace {
const QColor yellow = QColor::fromRgbF(1.0f, 0.8f, 0.0f);
const QColor orange = QColor::fromRgbF(1.0f, 0.58f, 0.0f);
const QRectF bodyCell(-32, -31, 64, 62);
constexpr double shadowRadius = 9;
constexpr double badgeScale = 2;

QColor rgb(double r, double g, double b)
{
    return QColor::fromRgbF(float(r), float(g), float(b));
}

QColor times(const QColor &color, const QColor &tint)
{
    return QColor::fromRgbF(color.redF() * tint.redF(), color.greenF() * tint.greenF(), color.blueF() * tint.blueF(),
                            color.alphaF());
}

QColor faded(QColor color, double alpha)
{
    color.setAlphaF(float(color.alphaF() * alpha));
    return color;
}

void paintFlipper(QPainter &painter, QSizeF size, double angle, QPointF offset, const QColor &tint)
{
    painter.save();
    painter.translate(offset);
    painter.translate(0, -size.height() / 2);
    painter.rotate(angle);
    painter.translate(0, size.height() / 2);
    const QRectF cell(-size.width() / 2, -size.height() / 2, size.width(), size.height());
    QLinearGradient fill(cell.topLeft(), cell.bottomRight());
    fill.setColorAt(0, times(rgb(0.94, 0.84, 0.98), tint));
    fill.setColorAt(1, times(rgb(0.78, 0.65, 0.87), tint));
    painter.setPen(QPen(times(rgb(0.36, 0.19, 0.35), tint), 1.5));
    painter.setBrush(fill);
    painter.drawEllipse(cell);
    painter.restore();
}

void paintBody(QPainter &painter, const PetFigureState &state, double angle)
{
    const double ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    const QImage &image = PetBodyImage::tinted(petTint(state.colorID), ratio);
    const QSizeF imageSize = image.deviceIndependentSize();
    const double scale = std::min(bodyCell.width() / imageSize.width(), bodyCell.height() / imageSize.height());
    const QSizeF fitted = imageSize * scale;
    const QRectF target(-fitted.width() / 2, -fitted.height() / 2, fitted.width(), fitted.height());

    // The shadow's offset is not turned with the body.
    const QImage &shadow = PetBodyImage::shadow(faded(shadowColor(state.mood), 0.3), shadowRadius, ratio);
    const double margin = (shadow.deviceIndependentSize().width() - imageSize.width()) / 2 * scale;
    painter.save();
    painter.translate(0, 5);
    painter.rotate(angle);
    painter.drawImage(target.adjusted(-margin, -margin, margin, margin), shadow);
    painter.restore();

    painter.save();
    painter.rotate(angle);
    painter.drawImage(target, image);
    painter.restore();
}

// A badge drawn once, glyph and decoration, at twice its size; cached per moment.
struct Badge {
    QImage image;
    QPointF offset;
    double rotation = 0;
};

Badge makeBadge(PetMoment moment)
{
    PetGlyph glyph = PetGlyph::cameraFill;
    double size = 16;
    QColor color = Qt::white;
    std::optional<std::tuple<QColor, double, QPointF>> shadow;
    Badge badge;
    switch (moment) {
    case PetMoment::camera:
        badge = {{}, {30, 8}, -12};
        break;
    case PetMoment::package:
        glyph = PetGlyph::shippingboxFill;
        size = 21;
        color = rgb(0.65, 0.36, 0.13);
        shadow = {faded(Qt::black, 0.2), 2, QPointF(0, 2)};
        badge = {{}, {29, 16}, 0};
        break;
    case PetMoment::power:
        glyph = PetGlyph::boltFill;
        size = 24;
        color = yellow;
        shadow = {faded(orange, 0.7), 8, QPointF(0, 0)};
        badge = {{}, {27, -18}, 0};
        break;
    }
    // Room for the padding or the shadow's blur on every side.
    const double extent = size + 2 * 12;
    QImage glyphImage(int(extent * badgeScale), int(extent * badgeScale), QImage::Format_ARGB32_Premultiplied);
    glyphImage.setDevicePixelRatio(badgeScale);
    glyphImage.fill(Qt::transparent);
    {
        QPainter painter(&glyphImage);
        painter.setRenderHint(QPainter::Antialiasing);
        const QRectF square(12, 12, size, size);
        if (moment == PetMoment::camera) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(rgb(0.32, 0.24, 0.52));
            painter.drawRoundedRect(square.adjusted(-6, -6, 6, 6), 7, 7);
        }
        PetGlyphs::draw(painter, glyph, square, color);
    }
    if (!shadow) {
        badge.image = glyphImage;
        return badge;
    }
    const auto &[shadowColor, radius, offset] = *shadow;
    const QImage blurred = PetPictures::blurredShape(glyphImage, shadowColor, radius);
    badge.image = QImage(glyphImage.size(), QImage::Format_ARGB32_Premultiplied);
    badge.image.setDevicePixelRatio(badgeScale);
    badge.image.fill(Qt::transparent);
    QPainter painter(&badge.image);
    const double margin = (blurred.deviceIndependentSize().width() - extent) / 2;
    painter.drawImage(QPointF(-margin, -margin) + offset, blurred);
    painter.drawImage(QPointF(0, 0), glyphImage);
    return badge;
}

const Badge &badge(PetMoment moment)
{
    static QHash<PetMoment, Badge> cache;
    auto found = cache.find(moment);
    if (found == cache.end())
        found = cache.insert(moment, makeBadge(moment));
    return *found;
}

void paintBadge(QPainter &painter, PetMoment moment, double progress, bool otherSide)
{
    const Badge &drawn = badge(moment);
    const double scale = 0.4 + 0.6 * std::clamp(progress, 0.0, 1.0);
    painter.save();
    painter.setOpacity(painter.opacity() * std::clamp(progress, 0.0, 1.0));
    painter.scale(scale, scale);
    painter.translate(otherSide ? -drawn.offset.x() : drawn.offset.x(), drawn.offset.y());
    painter.rotate(otherSide ? -drawn.rotation : drawn.rotation);
    const QSizeF size = drawn.image.deviceIndependentSize();
    painter.drawImage(QPointF(-size.width() / 2, -size.height() / 2), drawn.image);
    painter.restore();
}

void paintSparkles(QPainter &painter)
{
    PetGlyphs::draw(painter, PetGlyph::sparkles, QRectF(60 - 8, -38 - 8, 16, 16), yellow);
    PetGlyphs::draw(painter, PetGlyph::starFill, QRectF(-58 - 5.5, -27 - 5.5, 11, 11), yellow);
}

QFont capsuleFont()
{
    return Appearance::font(FontRole::subheadline, QFont::Bold);
}

// Every digit takes the width of the widest, so the capsule keeps its size while the
// countdown runs: tabular figures, laid out by hand since the font may not offer them.
double widestDigit(const QFontMetricsF &metrics)
{
    double width = 0;
    for (char16_t digit = u'0'; digit <= u'9'; ++digit)
        width = std::max(width, metrics.horizontalAdvance(QChar(digit)));
    return width;
}

double tabularAdvance(const QFontMetricsF &metrics, const QString &text)
{
    const double digitWidth = widestDigit(metrics);
    double width = 0;
    for (QChar c : text)
        width += c.isDigit() ? digitWidth : metrics.horizontalAdvance(c);
    return width;
}

void drawTabular(QPainter &painter, const QFontMetricsF &metrics, const QString &text, QPointF baselineLeft)
{
    const double digitWidth = widestDigit(metrics);
    double x = baselineLeft.x();
    for (QChar c : text) {
        const double cell = c.isDigit() ? digitWidth : metrics.horizontalAdvance(c);
        painter.drawText(QPointF(x + (cell - metrics.horizontalAdvance(c)) / 2, baselineLeft.y()), QString(c));
        x += cell;
    }
}

void paintFocusCapsule(QPainter &painter, const QString &label, bool paused, double side)
{
    const QFont font = capsuleFont();
    const QFontMetricsF metrics(font);
    const double glyphWidth = paused ? 8 + 3 : 0;
    const QSizeF content(glyphWidth + tabularAdvance(metrics, label), std::max(metrics.height(), 8.0));
    const QSizeF padded(content.width() + 14, content.height() + 6);
    const QRectF capsule(QPointF(side * 40 - padded.width() / 2, -33 - padded.height() / 2), padded);
    // White reads on the running capsule's violet but not on the paused one's orange.
    const QColor ink = paused ? QColor(28, 28, 30) : QColor(Qt::white);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(paused ? orange : rgb(0.34, 0.25, 0.56));
    painter.drawRoundedRect(capsule, padded.height() / 2, padded.height() / 2);
    const double left = capsule.left() + 7;
    if (paused)
        PetGlyphs::draw(painter, PetGlyph::pauseFill, QRectF(left, capsule.center().y() - 4, 8, 8), ink);
    painter.setPen(ink);
    painter.setFont(font);
    drawTabular(painter, metrics, label, QPointF(left + glyphWidth, capsule.top() + 3 + metrics.ascent()));
    painter.restore();
}
}

Angles angles(const PetFigureState &s)
{
    const double gazeTerm = 0.35 * s.gaze.x();
    if (s.isWalking)
        return {s.walkingStep ? -22.0 : 12.0, s.walkingStep ? 14.0 : -20.0, gazeTerm + (s.bobbing ? 5 : -5)};
    return {-6, 5, gazeTerm + (s.bobbing ? 2 : -1)};
}

QColor petTint(const QString &colorID)
{
    if (colorID == QLatin1String("ocean"))
        return rgb(0.77, 0.91, 1.0);
    if (colorID == QLatin1String("lilac"))
        return rgb(0.92, 0.82, 1.0);
    if (colorID == QLatin1String("mint"))
        return rgb(0.82, 1.0, 0.9);
    if (colorID == QLatin1String("pink"))
        return rgb(1.0, 0.84, 0.91);
    return Qt::white;
}

QColor shadowColor(PetMood mood)
{
    switch (mood) {
    case PetMood::idle:
        return rgb(0.38, 0.18, 0.74);
    case PetMood::bored:
        return rgb(0.39, 0.3, 0.72);
    case PetMood::sleeping:
        return rgb(0.27, 0.31, 0.55);
    case PetMood::stretching:
        return rgb(0.38, 0.33, 0.64);
    case PetMood::focused:
        return rgb(0.2, 0.39, 0.84);
    case PetMood::suspicious:
        return rgb(0.88, 0.25, 0.24);
    case PetMood::celebrating:
        return rgb(0.12, 0.58, 0.45);
    }
    return rgb(0.38, 0.18, 0.74);
}

void paint(QPainter &painter, const PetFigureState &state)
{
    const Angles turn = angles(state);
    const QColor tint = petTint(state.colorID);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    // The drawing faces left; facing -1 mirrors every layer of the group.
    painter.scale(state.facingDirection < 0 ? -1 : 1, 1);
    paintFlipper(painter, {11, 17}, turn.backFlipper, {-13, 18}, tint);
    paintBody(painter, state, turn.body);
    paintFlipper(painter, {10, 16}, turn.frontFlipper, {7, 18}, tint);
    PetFace::paintFace(painter, state.mood, state.faceID, state.blinking);
    PetFace::paintAccessory(painter, state.accessoryID);
    // The badge sits on the side the pet faces away from, unless only the other has room.
    const bool badgeOnRight = state.facingDirection >= 0;
    const bool badgeMoves = badgeOnRight ? !state.roomOnRight && state.roomOnLeft : !state.roomOnLeft && state.roomOnRight;
    if (state.moment && state.momentProgress > 0)
        paintBadge(painter, *state.moment, state.momentProgress, badgeMoves);
    if (state.mood == PetMood::celebrating)
        paintSparkles(painter);
    painter.restore();
    if (state.focusTimeLabel)
        paintFocusCapsule(painter, *state.focusTimeLabel, state.focusIsPaused,
                          !state.roomOnRight && state.roomOnLeft ? -1 : 1);
}
}
