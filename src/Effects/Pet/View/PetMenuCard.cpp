#include "Effects/Pet/View/PetMenuCard.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace {
constexpr double contentWidth = PetMenuCard::width - 2 * PetMenuCard::margin;
constexpr double headerButtonSize = 18;
constexpr double tileMinHeight = 53;
// Tiles shrink to this before anything is cut when the panel is short.
constexpr double tileSmallestHeight = 42;
constexpr double columnSpacing = 8;
constexpr double rowMinHeight = 22;
constexpr double pauseRowHeight = 18;

const QColor textColor(28, 28, 30);
const QColor secondaryColor(60, 60, 67, 153);
const QColor buttonFill(120, 120, 128, 30);
const QColor buttonPressedFill(120, 120, 128, 70);

QFont font(int pixelSize, QFont::Weight weight)
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(pixelSize);
    f.setWeight(weight);
    return f;
}

QFont headlineFont()
{
    return font(13, QFont::Bold);
}
QFont captionFont()
{
    return font(10, QFont::Normal);
}
QFont tileTitleFont()
{
    return font(10, QFont::Bold);
}
QFont rowFont()
{
    return font(11, QFont::DemiBold);
}

// The tile's title on one line: shrunk to three quarters of its size, then cut.
std::pair<QFont, QString> fittedTileTitle(const QString &title, double width)
{
    QFont f = tileTitleFont();
    for (int size = f.pixelSize(); size >= 8; --size) {
        f.setPixelSize(size);
        if (QFontMetricsF(f).horizontalAdvance(title) <= width)
            return {f, title};
    }
    return {f, QFontMetricsF(f).elidedText(title, Qt::ElideRight, width)};
}

void paintTile(QPainter &painter, const PetMenuItem &item, bool isPressed)
{
    painter.setPen(Qt::NoPen);
    painter.setBrush(isPressed ? buttonPressedFill : buttonFill);
    painter.drawRoundedRect(item.rect, 8, 8);
    const QFontMetricsF titleMetrics(tileTitleFont());
    const double block = 22 + 5 + titleMetrics.height();
    const double top = item.rect.center().y() - block / 2;
    PetGlyphs::draw(painter, item.glyph, QRectF(item.rect.center().x() - 11, top, 22, 22), textColor);
    const auto [titleFont, text] = fittedTileTitle(item.title, item.rect.width() - 8);
    painter.setPen(textColor);
    painter.setFont(titleFont);
    painter.drawText(QRectF(item.rect.left() + 4, top + 27, item.rect.width() - 8, titleMetrics.height()),
                     Qt::AlignCenter, text);
}

void paintPauseRow(QPainter &painter, const PetMenuItem &item, bool isPressed)
{
    painter.setFont(captionFont());
    const QFontMetricsF metrics(captionFont());
    const double textWidth = metrics.horizontalAdvance(item.title);
    const double left = item.rect.center().x() - (textWidth + 14) / 2;
    const QColor color = isPressed ? secondaryColor : textColor;
    PetGlyphs::draw(painter, item.glyph, QRectF(left, item.rect.center().y() - 5.5, 11, 11), color);
    painter.setPen(color);
    painter.drawText(QRectF(left + 14, item.rect.top(), textWidth + 1, item.rect.height()),
                     Qt::AlignLeft | Qt::AlignVCenter, item.title);
}

void paintRow(QPainter &painter, const PetMenuItem &item, bool isPressed)
{
    painter.setPen(Qt::NoPen);
    painter.setBrush(isPressed ? buttonPressedFill : buttonFill);
    painter.drawRoundedRect(item.rect, 6, 6);
    PetGlyphs::draw(painter, item.glyph, QRectF(item.rect.left() + 7, item.rect.center().y() - 6.5, 13, 13),
                    textColor);
    painter.setPen(textColor);
    painter.setFont(rowFont());
    painter.drawText(item.rect.adjusted(26, 0, -6, 0), Qt::AlignLeft | Qt::AlignVCenter, item.title);
}

void paintItem(QPainter &painter, const PetMenuItem &item, bool isPressed)
{
    using Kind = PetMenuItem::Kind;
    switch (item.kind) {
    case Kind::back:
    case Kind::close:
        PetGlyphs::draw(painter, item.glyph, item.rect, isPressed ? textColor : secondaryColor);
        break;
    case Kind::tile:
        paintTile(painter, item, isPressed);
        break;
    case Kind::pause:
        paintPauseRow(painter, item, isPressed);
        break;
    case Kind::row:
        paintRow(painter, item, isPressed);
        break;
    }
}
}

PetMenuCard::PetMenuCard(PetMenuState state, double maxHeight) : m_state(std::move(state))
{
    layOut(maxHeight);
}

QString PetMenuCard::categoryTitle(PetMenuCategory category, const QString &name)
{
    return category == PetMenuCategory::bloopy ? name : rawValue(category);
}

QString PetMenuCard::title() const
{
    return m_state.category ? categoryTitle(*m_state.category, m_state.name) : QStringLiteral("What’s the move?");
}

std::vector<PetMenuRow> PetMenuCard::categoryOptions(PetMenuCategory category, bool staysPut)
{
    using A = PetAction;
    using G = PetGlyph;
    switch (category) {
    case PetMenuCategory::focus:
        return {{QStringLiteral("Start 25 minutes"), G::timer, A::focus25},
                {QStringLiteral("Start 50 minutes"), G::brainHeadProfile, A::focus50},
                {QStringLiteral("Take a 5-minute break"), G::cupAndSaucer, A::break5},
                {QStringLiteral("End current session"), G::stopCircle, A::stopFocus},
                {QStringLiteral("Open notebook"), G::checklist, A::openFocus}};
    case PetMenuCategory::sounds:
        return {{QStringLiteral("Toggle keyboard sounds"), G::keyboard, A::toggleTyping},
                {QStringLiteral("Toggle tap sounds"), G::handTap, A::toggleTapSounds},
                {QStringLiteral("Hear a key"), G::playCircle, A::previewKeyboard},
                {QStringLiteral("Browse sound packs"), G::sliderHorizontal3, A::openSounds}};
    case PetMenuCategory::effects:
        return {{QStringLiteral("Surprise me"), G::sparkles, A::chaos},
                {QStringLiteral("Drop desktop files"), G::arrowDownToLine, A::desktopGravity},
                {QStringLiteral("Preview screenshot"), G::camera, A::previewScreenshot},
                {QStringLiteral("Preview power reaction"), G::bolt, A::previewCharge},
                {QStringLiteral("All effect settings"), G::sliderHorizontal3, A::openReactions}};
    case PetMenuCategory::bloopy:
        return {{QStringLiteral("Pep talk"), G::heartTextSquare, A::pepTalk},
                staysPut ? PetMenuRow{QStringLiteral("Roam again"), G::figureWalk, A::toggleStayPut}
                         : PetMenuRow{QStringLiteral("Stay in one spot"), G::mappin, A::toggleStayPut},
                {QStringLiteral("Change my look"), G::paintpalette, A::configureFocus},
                {QStringLiteral("Open Plinkly"), G::gearshape, A::openSettings},
                {QStringLiteral("Hide me"), G::eyeSlash, A::hide}};
    }
    return {};
}

void PetMenuCard::layOut(double maxHeight)
{
    using Kind = PetMenuItem::Kind;
    double y = margin;
    const double headerHeight = std::max(headerButtonSize, QFontMetricsF(headlineFont()).height());
    double titleLeft = margin;
    if (m_state.category) {
        m_items.push_back({Kind::back, QRectF(margin, y, headerButtonSize, headerHeight), {},
                           PetGlyph::chevronLeftCircleFill, std::nullopt, std::nullopt});
        titleLeft += headerButtonSize + 8;
    }
    const double closeLeft = width - margin - headerButtonSize;
    m_titleRect = QRectF(titleLeft, y, closeLeft - 8 - titleLeft, headerHeight);
    m_items.push_back({Kind::close, QRectF(closeLeft, y, headerButtonSize, headerHeight), {},
                       PetGlyph::xmarkCircleFill, std::nullopt, std::nullopt});
    y += headerHeight + spacing;

    if (m_state.reactionLine) {
        const double lineHeight = QFontMetricsF(captionFont()).height();
        m_reactionRect = QRectF(margin, y, contentWidth, lineHeight);
        y += lineHeight + spacing;
    }

    if (m_state.category) {
        for (const PetMenuRow &row : categoryOptions(*m_state.category, m_state.staysPut)) {
            m_items.push_back({Kind::row, QRectF(margin, y, contentWidth, rowMinHeight), row.title, row.glyph,
                               row.action, std::nullopt});
            y += rowMinHeight + spacing;
        }
        m_height = y - spacing + margin;
        return;
    }

    // The grid: two rows of tiles, a divider and the pause row; tiles shrink when room is short.
    const double fixed = y + spacing + 1 + spacing + pauseRowHeight + margin + spacing;
    const double tileHeight = std::clamp((maxHeight - fixed) / 2, tileSmallestHeight, tileMinHeight);
    const double columnWidth = (contentWidth - columnSpacing) / 2;
    int index = 0;
    for (PetMenuCategory category : allCases<PetMenuCategory>()) {
        const double x = margin + (index % 2) * (columnWidth + columnSpacing);
        const double top = y + (index / 2) * (tileHeight + spacing);
        static constexpr PetGlyph glyphs[] = {PetGlyph::timer, PetGlyph::waveform, PetGlyph::sparkles,
                                              PetGlyph::heartFill};
        m_items.push_back({Kind::tile, QRectF(x, top, columnWidth, tileHeight), categoryTitle(category, m_state.name),
                           glyphs[index], std::nullopt, category});
        ++index;
    }
    y += 2 * tileHeight + spacing + spacing;
    m_dividerRect = QRectF(margin, y, contentWidth, 1);
    y += 1 + spacing;
    m_items.push_back({Kind::pause, QRectF(margin, y, contentWidth, pauseRowHeight),
                       QStringLiteral("Pause or resume effects"), PetGlyph::pauseCircle, PetAction::togglePause,
                       std::nullopt});
    y += pauseRowHeight;
    m_height = y + margin;
}

void PetMenuCard::paint(QPainter &painter, std::optional<std::size_t> pressed, double contentOpacity) const
{
    using Kind = PetMenuItem::Kind;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF card(0, 0, width, m_height);
    painter.setPen(QPen(QColor(255, 255, 255, 77), 1));
    painter.setBrush(QColor(246, 246, 248, 245));
    painter.drawRoundedRect(card.adjusted(0.5, 0.5, -0.5, -0.5), cornerRadius, cornerRadius);

    painter.setPen(textColor);
    painter.setFont(headlineFont());
    painter.drawText(m_titleRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap, title());
    if (m_reactionRect) {
        painter.setPen(secondaryColor);
        painter.setFont(captionFont());
        painter.drawText(*m_reactionRect, Qt::AlignLeft | Qt::AlignVCenter,
                         QFontMetricsF(captionFont()).elidedText(*m_state.reactionLine, Qt::ElideRight,
                                                                 m_reactionRect->width()));
    }

    const double cardOpacity = painter.opacity();
    if (m_dividerRect) {
        painter.setOpacity(cardOpacity * contentOpacity);
        painter.fillRect(*m_dividerRect, QColor(60, 60, 67, 50));
    }
    for (std::size_t i = 0; i < m_items.size(); ++i) {
        const PetMenuItem &item = m_items[i];
        const bool inHeader = item.kind == Kind::back || item.kind == Kind::close;
        painter.setOpacity(cardOpacity * (inHeader ? 1.0 : contentOpacity));
        paintItem(painter, item, pressed == i);
    }
    painter.restore();
}
