#pragma once

#include "Effects/Overlays/OverlayGlyphs.h"
#include "Effects/Overlays/OverlayPanel.h"

#include <QColor>
#include <QFont>
#include <QString>

// What one reaction card shows and how it moves.
struct ReactionCard {
    enum class Flourish { none, burst, pulse, shake };
    enum class Entrance { fromAbove, fromRight };

    QString title;
    OverlayGlyphs::Glyph glyph = OverlayGlyphs::Glyph::bolt;
    double glyphLevel = 1.0;
    QColor accent;
    Flourish flourish = Flourish::none;
    Entrance entrance = Entrance::fromAbove;
    double lifetimeSeconds = 2.4;
};

// A small dark card with a glyph and a line of text, for system and arrival reactions.
// It slides in, holds, and fades out by the end of its lifetime.
class ReactionCardView final : public OverlayPanel {
    Q_OBJECT

public:
    // The card grows from its smallest size to fit its title, up to the widest it may be; the
    // margin is the room around it that flourishes may spill into.
    static constexpr QSize minimumCardSize{300, 76};
    static constexpr int maximumCardWidth = 560;
    static constexpr int margin = 44;
    // Card width beside the title: the icon and its gaps on the left, padding on the right.
    static constexpr int chromeWidth = 94;

    ReactionCardView(ReactionCard card, Blending blending, QWidget *parent = nullptr);

    const ReactionCard &card() const { return m_card; }
    QSize cardSize() const { return m_cardSize; }
    QSize panelSize() const { return m_cardSize + QSize(2 * margin, 2 * margin); }
    static QFont titleFont();

protected:
    void paintFrame(QPainter &painter, double elapsedSeconds) override;
    bool animates(double elapsedSeconds) const override { return elapsedSeconds < m_card.lifetimeSeconds; }

private:
    void paintFlourish(QPainter &painter, QPointF iconCentre, double elapsedSeconds) const;

    ReactionCard m_card;
    QSize m_cardSize;
};
