#include "Effects/Overlays/ReactionCardView.h"

#include "Effects/Overlays/OverlayGlyphs.h"
#include "Effects/Pet/View/OwnWindowWatcher.h"
#include "Foundation/Appearance.h"
#include "Foundation/Contrast.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

using OverlayGlyphs::withAlpha;

constexpr double pi = std::numbers::pi;
constexpr double entranceSeconds = 0.32;
constexpr double exitSeconds = 0.4;
constexpr double iconRadius = 23;

double easeOutBack(double t)
{
    const double c = 1.5;
    return 1 + (c + 1) * std::pow(t - 1, 3) + c * std::pow(t - 1, 2);
}

} // namespace

ReactionCardView::ReactionCardView(ReactionCard card, Blending blending, QWidget *parent)
    : OverlayPanel(blending, parent)
    , m_card(std::move(card))
{
    const int needed = chromeWidth + int(std::ceil(QFontMetricsF(titleFont()).horizontalAdvance(m_card.title)));
    m_cardSize = QSize(std::clamp(needed, minimumCardSize.width(), maximumCardWidth), minimumCardSize.height());
    // A card is read: the pet does not stand on it.
    OwnWindowWatcher::keepPetClear(*this);
}

QFont ReactionCardView::titleFont()
{
    return Appearance::font(FontRole::title3, QFont::DemiBold);
}

void ReactionCardView::paintFrame(QPainter &painter, double elapsed)
{
    const double in = std::clamp(elapsed / entranceSeconds, 0.0, 1.0);
    const double out = std::clamp((m_card.lifetimeSeconds - elapsed) / exitSeconds, 0.0, 1.0);
    const double opacity = std::min(in * 1.6, 1.0) * out;
    if (opacity <= 0)
        return;
    const double settle = 1 - easeOutBack(in);
    const QPointF offset = m_card.entrance == ReactionCard::Entrance::fromAbove ? QPointF(0, -18 * settle)
                                                                                 : QPointF(30 * settle, 0);

    painter.save();
    painter.translate(offset);
    painter.setOpacity(opacity);
    const QRectF card(margin, margin, m_cardSize.width(), m_cardSize.height());
    OverlayGlyphs::drawCard(painter, card, 1.0);

    const QPointF iconCentre(card.left() + 18 + iconRadius, card.center().y());
    paintFlourish(painter, iconCentre, elapsed);

    QRadialGradient disc(iconCentre, iconRadius);
    disc.setColorAt(0, withAlpha(m_card.accent, 0.42));
    disc.setColorAt(1, withAlpha(m_card.accent, 0.22));
    painter.setPen(QPen(withAlpha(m_card.accent, 0.75), 1.2));
    painter.setBrush(disc);
    painter.drawEllipse(iconCentre, iconRadius, iconRadius);

    painter.save();
    painter.translate(iconCentre);
    if (m_card.flourish == ReactionCard::Flourish::shake && elapsed < 0.9)
        painter.rotate(7 * std::sin(elapsed * 34) * (1 - elapsed / 0.9));
    const double glyphSide = iconRadius * 1.15;
    OverlayGlyphs::draw(painter, m_card.glyph, QRectF(-glyphSide / 2, -glyphSide / 2, glyphSide, glyphSide),
                        Contrast::readable(m_card.accent, {Appearance::color(ColorRole::controlBackground),
                                                           Appearance::color(ColorRole::windowBackground)},
                                           Contrast::large),
                        m_card.glyphLevel);
    painter.restore();

    const QFont font = titleFont();
    painter.setFont(font);
    painter.setPen(Appearance::color(ColorRole::primary));
    const QRectF textRect(iconCentre.x() + iconRadius + 14, card.top(), card.width() - chromeWidth, card.height());
    const QString title = QFontMetricsF(font).elidedText(m_card.title, Qt::ElideRight, textRect.width());
    painter.drawText(textRect, Qt::AlignVCenter | Qt::AlignLeft, title);
    painter.restore();
}

void ReactionCardView::paintFlourish(QPainter &painter, QPointF centre, double elapsed) const
{
    switch (m_card.flourish) {
    case ReactionCard::Flourish::none:
    case ReactionCard::Flourish::shake:
        return;
    case ReactionCard::Flourish::burst: {
        // Energy bursts out of the icon once, then a glow lingers.
        const double t = std::clamp((elapsed - 0.12) / 0.9, 0.0, 1.0);
        if (t <= 0 || t >= 1)
            break;
        const double travel = 1 - std::pow(1 - t, 3);
        const double fade = std::pow(1 - t, 1.2);
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(withAlpha(m_card.accent.lighter(140), 0.55 * fade), 2.5));
        const double ring = iconRadius + 34 * travel;
        painter.drawEllipse(centre, ring, ring);
        for (int i = 0; i < 12; ++i) {
            const double angle = i * pi / 6 + (i % 2) * 0.12;
            const double inner = iconRadius + 4 + 30 * travel;
            const double length = (i % 2 ? 7 : 12) * (1 - 0.6 * t);
            const QPointF dir(std::cos(angle), std::sin(angle));
            QPen pen(withAlpha(i % 3 == 0 ? QColor(255, 230, 110) : m_card.accent.lighter(150), fade), 2.6);
            pen.setCapStyle(Qt::RoundCap);
            painter.setPen(pen);
            painter.drawLine(centre + dir * inner, centre + dir * (inner + length));
        }
        break;
    }
    case ReactionCard::Flourish::pulse: {
        // Two slow rings breathe out of the icon.
        painter.setBrush(Qt::NoBrush);
        for (int i = 0; i < 2; ++i) {
            const double phase = std::fmod(elapsed / 1.1 + i * 0.5, 1.0);
            const double radius = iconRadius + 14 * phase;
            painter.setPen(QPen(withAlpha(m_card.accent.lighter(130), 0.45 * (1 - phase)), 1.6));
            painter.drawEllipse(centre, radius, radius);
        }
        break;
    }
    }
}
