#include "Effects/Pet/View/PetMenuCard.h"

#include "Effects/Pet/View/WrappedLines.h"
#include "Foundation/Appearance.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace {
constexpr double contentWidth = PetMenuCard::width - 2 * PetMenuCard::margin;
constexpr double headerButtonSize = 18;
constexpr double tileHeight = 53;
constexpr double columnSpacing = 8;
constexpr double rowMinHeight = 22;
constexpr double pauseRowHeight = 16;
// A tile's title shrinks to this share of its size, never below the readable size, before it
// is cut.
constexpr double smallestTitleScale = 0.75;
constexpr int titleMaxLines = 2;

// The card's colours are read as it paints, so it follows the scheme.
QColor textColor()
{
    return Appearance::color(ColorRole::primary);
}
QColor secondaryColor()
{
    return Appearance::color(ColorRole::secondary);
}
QColor buttonFill(bool isPressed)
{
    return Appearance::color(ColorRole::tertiary, isPressed ? 0.3 : 0.14);
}

QFont headlineFont()
{
    return Appearance::font(FontRole::headline, QFont::Bold);
}
QFont captionFont()
{
    return Appearance::font(FontRole::caption);
}
QFont tileTitleFont()
{
    return Appearance::font(FontRole::caption, QFont::Bold);
}
QFont rowFont()
{
    return Appearance::font(FontRole::subheadline, QFont::DemiBold);
}

// The tile's title on one line, centred in `box`.
void drawTileTitle(QPainter &painter, const QString &title, const QRectF &box)
{
    const PetMenuCard::FittedText fitted = PetMenuCard::tileTitle(title, box.width());
    painter.save();
    painter.setFont(fitted.font);
    painter.drawText(box, Qt::AlignCenter, fitted.text);
    painter.restore();
}

void paintTile(QPainter &painter, const PetMenuItem &item, bool isPressed)
{
    painter.setPen(Qt::NoPen);
    painter.setBrush(buttonFill(isPressed));
    painter.drawRoundedRect(item.rect, 8, 8);
    const QFontMetricsF titleMetrics(tileTitleFont());
    const double block = 22 + 5 + titleMetrics.height();
    const double top = item.rect.center().y() - block / 2;
    PetGlyphs::draw(painter, item.glyph, QRectF(item.rect.center().x() - 11, top, 22, 22), textColor());
    painter.setPen(textColor());
    drawTileTitle(painter, item.title,
                  QRectF(item.rect.left() + 4, top + 27, item.rect.width() - 8, titleMetrics.height()));
}

void paintPauseRow(QPainter &painter, const PetMenuItem &item, bool isPressed)
{
    painter.setFont(captionFont());
    const QFontMetricsF metrics(captionFont());
    const double textWidth = metrics.horizontalAdvance(item.title);
    const double left = item.rect.center().x() - (textWidth + 14) / 2;
    const QColor color = isPressed ? secondaryColor() : textColor();
    PetGlyphs::draw(painter, item.glyph, QRectF(left, item.rect.center().y() - 5.5, 11, 11), color);
    painter.setPen(color);
    painter.drawText(QRectF(left + 14, item.rect.top(), textWidth + 1, item.rect.height()),
                     Qt::AlignLeft | Qt::AlignVCenter, item.title);
}

void paintRow(QPainter &painter, const PetMenuItem &item, bool isPressed)
{
    painter.setPen(Qt::NoPen);
    painter.setBrush(buttonFill(isPressed));
    painter.drawRoundedRect(item.rect, 6, 6);
    PetGlyphs::draw(painter, item.glyph, QRectF(item.rect.left() + 7, item.rect.center().y() - 6.5, 13, 13),
                    textColor());
    painter.setPen(textColor());
    painter.setFont(rowFont());
    painter.drawText(item.rect.adjusted(26, 0, -6, 0), Qt::AlignLeft | Qt::AlignVCenter, item.title);
}

void paintItem(QPainter &painter, const PetMenuItem &item, bool isPressed)
{
    using Kind = PetMenuItem::Kind;
    switch (item.kind) {
    case Kind::back:
    case Kind::close:
        PetGlyphs::draw(painter, item.glyph, item.rect, isPressed ? textColor() : secondaryColor());
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

PetMenuCard::PetMenuCard(PetMenuState state) : m_state(std::move(state))
{
    layOut();
}

QString PetMenuCard::categoryTitle(PetMenuCategory category, const QString &name)
{
    return category == PetMenuCategory::bloopy ? name : rawValue(category);
}

PetMenuCard::FittedText PetMenuCard::tileTitle(const QString &title, double width)
{
    QFont font = tileTitleFont();
    const bool inPixels = font.pixelSize() > 0;
    const double size = inPixels ? font.pixelSize() : font.pointSizeF();
    const double advance = std::max(QFontMetricsF(font).horizontalAdvance(title), 1.0);
    const double smallest = std::min(size, std::max(size * smallestTitleScale, Appearance::readableSize(font)));
    const double fitted = std::clamp(size * width / advance, smallest, size);
    if (inPixels)
        font.setPixelSize(std::max(int(std::floor(fitted)), int(std::ceil(smallest))));
    else
        font.setPointSizeF(fitted);
    return {font, QFontMetricsF(font).elidedText(title, Qt::ElideRight, width)};
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

void PetMenuCard::layOut()
{
    using Kind = PetMenuItem::Kind;
    double y = margin;
    const double titleLeft = m_state.category ? margin + headerButtonSize + 8 : margin;
    const double closeLeft = width - margin - headerButtonSize;
    const double titleWidth = closeLeft - 8 - titleLeft;
    m_titleLines = wrappedLines(title(), headlineFont(), titleWidth, titleMaxLines);
    const double titleHeight = QFontMetricsF(headlineFont()).lineSpacing() * double(m_titleLines.size());
    const double headerHeight = std::max(headerButtonSize, titleHeight);
    // The buttons sit on the header's vertical centre, beside however many lines the title takes.
    const double buttonTop = y + (headerHeight - headerButtonSize) / 2;
    if (m_state.category) {
        m_items.push_back({Kind::back, QRectF(margin, buttonTop, headerButtonSize, headerButtonSize), {},
                           PetGlyph::chevronLeftCircleFill, std::nullopt, std::nullopt});
    }
    m_titleRect = QRectF(titleLeft, y, titleWidth, headerHeight);
    m_items.push_back({Kind::close, QRectF(closeLeft, buttonTop, headerButtonSize, headerButtonSize), {},
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

    // The grid: two rows of tiles, a divider and the pause row.
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
    painter.setPen(QPen(Appearance::color(ColorRole::separator), 1));
    // No window behind the card is blurred on X11: the material is the window's own fill, whole,
    // so nothing behind it reads through its text.
    painter.setBrush(Appearance::color(ColorRole::windowBackground));
    painter.drawRoundedRect(card.adjusted(0.5, 0.5, -0.5, -0.5), cornerRadius, cornerRadius);

    painter.setPen(textColor());
    painter.setFont(headlineFont());
    painter.drawText(m_titleRect, Qt::AlignLeft | Qt::AlignVCenter, m_titleLines.join(QLatin1Char('\n')));
    if (m_reactionRect) {
        painter.setPen(secondaryColor());
        painter.setFont(captionFont());
        painter.drawText(*m_reactionRect, Qt::AlignLeft | Qt::AlignVCenter,
                         QFontMetricsF(captionFont()).elidedText(*m_state.reactionLine, Qt::ElideRight,
                                                                 m_reactionRect->width()));
    }

    const double cardOpacity = painter.opacity();
    if (m_dividerRect) {
        painter.setOpacity(cardOpacity * contentOpacity);
        painter.fillRect(*m_dividerRect, Appearance::color(ColorRole::separator));
    }
    for (std::size_t i = 0; i < m_items.size(); ++i) {
        const PetMenuItem &item = m_items[i];
        const bool inHeader = item.kind == Kind::back || item.kind == Kind::close;
        painter.setOpacity(cardOpacity * (inHeader ? 1.0 : contentOpacity));
        paintItem(painter, item, pressed == i);
    }
    painter.restore();
}
