#include "Effects/Overlays/StatsOverlayView.h"

#include "Effects/Overlays/OverlayGlyphs.h"
#include "Effects/StatsOverlayPresentation.h"
#include "Foundation/Appearance.h"

#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QRegion>

namespace {

constexpr double cornerRadius = 18;

QRegion roundedShape(QSize size)
{
    QPainterPath path;
    path.addRoundedRect(QRectF(QPointF(0, 0), size), cornerRadius, cornerRadius);
    return QRegion(path.toFillPolygon().toPolygon());
}

}

StatsOverlayView::StatsOverlayView(const StatsOverlayPresentation &presentation, bool blendsTranslucent, QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus
                          | Qt::NoDropShadowWindowHint)
    , m_presentation(presentation)
{
    setWindowTitle(QStringLiteral("Plinkly typing stats"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TranslucentBackground);
    setFocusPolicy(Qt::NoFocus);
    setFixedSize(panelSize);
    setCursor(Qt::OpenHandCursor);
    // Without a compositor the corners would show black: cut them off instead.
    if (!blendsTranslucent)
        setMask(roundedShape(panelSize));
    connect(&presentation, &StatsOverlayPresentation::changed, this, qOverload<>(&QWidget::update));
}

void StatsOverlayView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF card = QRectF(rect()).adjusted(1, 1, -1, -1);
    OverlayGlyphs::drawCard(painter, card, 1.0);

    const InteractionSnapshot &stats = m_presentation.snapshot();
    const QLocale locale;
    const QString label = m_presentation.lastKeyLabel();
    const double columnsWidth = label.isEmpty() ? card.width() - 24 : card.width() - 24 - 52;
    struct Column {
        QString value;
        QString caption;
    };
    const Column columns[] = {{locale.toString(qulonglong(stats.keys)), QStringLiteral("keys")},
                              {locale.toString(qulonglong(stats.clicks)), QStringLiteral("clicks")},
                              {locale.toString(stats.keysPerMinute), QStringLiteral("per min")}};
    QFont valueFont = font();
    valueFont.setPixelSize(18);
    valueFont.setWeight(QFont::DemiBold);
    QFont captionFont = font();
    captionFont.setPixelSize(10);
    captionFont.setWeight(QFont::Medium);
    captionFont.setLetterSpacing(QFont::PercentageSpacing, 108);
    const double columnWidth = columnsWidth / 3;
    for (int i = 0; i < 3; ++i) {
        const QRectF cell(card.left() + 12 + i * columnWidth, card.top() + 10, columnWidth, card.height() - 20);
        painter.setFont(valueFont);
        painter.setPen(Appearance::color(ColorRole::primary));
        painter.drawText(cell.adjusted(0, 0, 0, -18), Qt::AlignHCenter | Qt::AlignBottom,
                         painter.fontMetrics().elidedText(columns[i].value, Qt::ElideRight, int(cell.width()) - 4));
        painter.setFont(captionFont);
        painter.setPen(Appearance::color(ColorRole::secondary));
        painter.drawText(cell.adjusted(0, cell.height() - 16, 0, 0), Qt::AlignHCenter | Qt::AlignTop,
                         columns[i].caption.toUpper());
        if (i > 0) {
            painter.setPen(QPen(Appearance::color(ColorRole::separator), 1));
            painter.drawLine(QPointF(cell.left(), cell.top() + 6), QPointF(cell.left(), cell.bottom() - 6));
        }
    }

    if (!label.isEmpty()) {
        // The last key as a keycap.
        const QRectF cap(card.right() - 12 - 44, card.center().y() - 20, 44, 40);
        painter.setPen(QPen(Appearance::color(ColorRole::controlEdge), 1));
        painter.setBrush(Appearance::color(ColorRole::barBackground));
        painter.drawRoundedRect(cap, 8, 8);
        QFont keyFont = font();
        keyFont.setPixelSize(label.size() > 2 ? 12 : 17);
        keyFont.setWeight(QFont::DemiBold);
        painter.setFont(keyFont);
        painter.setPen(Appearance::color(ColorRole::primary));
        painter.drawText(cap, Qt::AlignCenter, label);
    }
}

void StatsOverlayView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_dragging = true;
    m_grabOffset = event->globalPosition().toPoint() - pos();
    setCursor(Qt::ClosedHandCursor);
}

void StatsOverlayView::mouseMoveEvent(QMouseEvent *event)
{
    if (m_dragging)
        move(event->globalPosition().toPoint() - m_grabOffset);
}

void StatsOverlayView::mouseReleaseEvent(QMouseEvent *event)
{
    if (!m_dragging || event->button() != Qt::LeftButton)
        return;
    m_dragging = false;
    setCursor(Qt::OpenHandCursor);
    if (onMoved)
        onMoved();
}
