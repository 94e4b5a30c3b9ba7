#include "Views/Kit/SelectableTile.h"

#include "Foundation/Contrast.h"
#include "Views/Kit/KitStyle.h"
#include "Views/Kit/SymbolIcon.h"

#include <QPainter>
#include <QPainterPath>

SelectableTile::SelectableTile(const QString &symbol, const QString &title, Arrangement arrangement, QWidget *parent)
    : QAbstractButton(parent)
    , m_symbol(symbol)
    , m_arrangement(arrangement)
    , m_selectionColor(KitStyle::color(ColorRole::primary))
{
    setText(title);
    setAccessibleName(title);
    setCursor(Qt::PointingHandCursor);
    setFont(KitStyle::font(arrangement == Arrangement::stacked ? FontRole::subheadline : FontRole::callout,
                           QFont::Medium));
    if (arrangement == Arrangement::stacked)
        m_symbolSize = 20;
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void SelectableTile::setSelected(bool selected)
{
    if (selected == m_selected)
        return;
    m_selected = selected;
    update();
}

void SelectableTile::setSymbol(const QString &symbol)
{
    if (symbol == m_symbol)
        return;
    m_symbol = symbol;
    update();
}

void SelectableTile::setSelectionColor(const QColor &color)
{
    if (color == m_selectionColor)
        return;
    m_selectionColor = color;
    update();
}

void SelectableTile::setCornerRadius(qreal radius)
{
    m_radius = radius;
    update();
}

void SelectableTile::setContentAlignment(Qt::Alignment alignment)
{
    m_alignment = alignment;
    update();
}

void SelectableTile::setPadding(int padding)
{
    m_padding = padding;
    updateGeometry();
}

void SelectableTile::setSymbolSize(int pixels)
{
    m_symbolSize = pixels;
    updateGeometry();
}

QSize SelectableTile::sizeHint() const
{
    const QFontMetrics metrics(font());
    const int textWidth = metrics.horizontalAdvance(text());
    if (m_arrangement == Arrangement::stacked)
        return {std::max(textWidth, m_symbolSize) + 2 * m_padding, m_symbolSize + 8 + metrics.height() + 2 * m_padding};
    return {m_symbolSize + 8 + textWidth + 2 * m_padding, std::max(m_symbolSize, metrics.height()) + 2 * m_padding};
}

QSize SelectableTile::minimumSizeHint() const
{
    const QSize hint = sizeHint();
    return {m_symbolSize + 2 * m_padding, hint.height()};
}

void SelectableTile::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    // White content stays readable: a selection colour too light for it is taken darker.
    QColor fill = m_selected ? Contrast::readable(Contrast::over(m_selectionColor, KitStyle::color(ColorRole::windowBackground)),
                                                  {Qt::white})
                             : KitStyle::color(ColorRole::controlBackground);
    QColor ink = m_selected ? QColor(Qt::white) : KitStyle::color(ColorRole::primary);
    if (!isEnabled()) {
        fill = KitStyle::withOpacity(fill, 0.5);
        ink = KitStyle::withOpacity(ink, 0.45);
    } else if (isDown()) {
        fill = fill.darker(108);
    }
    QPainterPath path;
    path.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), m_radius, m_radius);
    painter.fillPath(path, fill);
    if (!m_selected) {
        painter.setPen(QPen(KitStyle::color(ColorRole::controlEdge, isEnabled() ? 1.0 : 0.4), 1));
        painter.drawPath(path);
    }
    if (hasFocus()) {
        painter.setPen(QPen(KitStyle::withOpacity(m_selectionColor, 0.6), 2));
        painter.drawPath(path);
    }

    const QRect content = rect().adjusted(m_padding, m_padding, -m_padding, -m_padding);
    const QFontMetrics metrics(font());
    const QPixmap symbol = SymbolIcon::icon(m_symbol, ink).pixmap(m_symbolSize, m_symbolSize);
    painter.setPen(ink);
    painter.setFont(font());
    if (m_arrangement == Arrangement::stacked) {
        const int total = m_symbolSize + 8 + metrics.height();
        const int top = content.top() + (content.height() - total) / 2;
        painter.drawPixmap(QRect(content.center().x() - m_symbolSize / 2, top, m_symbolSize, m_symbolSize), symbol);
        const QRect textBox(content.left(), top + m_symbolSize + 8, content.width(), metrics.height());
        painter.drawText(textBox, Qt::AlignCenter, metrics.elidedText(text(), Qt::ElideRight, textBox.width()));
        return;
    }
    const QString shown = metrics.elidedText(text(), Qt::ElideRight, content.width() - m_symbolSize - 8);
    const int total = m_symbolSize + 8 + metrics.horizontalAdvance(shown);
    int left = content.left();
    if (m_alignment & Qt::AlignHCenter)
        left += std::max(0, (content.width() - total) / 2);
    const int symbolTop = content.top() + (content.height() - m_symbolSize) / 2;
    painter.drawPixmap(QRect(left, symbolTop, m_symbolSize, m_symbolSize), symbol);
    painter.drawText(QRect(left + m_symbolSize + 8, content.top(), content.width(), content.height()),
                     Qt::AlignLeft | Qt::AlignVCenter, shown);
}
