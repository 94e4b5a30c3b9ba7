#include "Views/Studio/StudioWaveformView.h"

#include "Views/Kit/KitStyle.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace {
constexpr double cornerRadius = 12;
constexpr double handleBarWidth = 6;
constexpr double handleBarInset = 12;
constexpr double handleRadius = 3;
constexpr double selectionOpacity = 0.16;
// The faintest fill of the hierarchy, under the envelope.
constexpr double backdropOpacity = 0.07;
}

StudioWaveformView::StudioWaveformView(QWidget *parent)
    : QWidget(parent)
{
    setFixedHeight(viewHeight);
    setMinimumWidth(int(WaveformHandleDrag::handleWidth) * 2);
    setAccessibleName(accessibleText);
    m_startHandle = makeHandle(QStringLiteral("Crop start handle"), QStringLiteral("Drag to choose where the clip starts"));
    m_endHandle = makeHandle(QStringLiteral("Crop end handle"), QStringLiteral("Drag to choose where the clip ends"));
    placeHandles();
}

QWidget *StudioWaveformView::makeHandle(const QString &name, const QString &help)
{
    // The view paints the handles; these children give each one its hit area, tooltip and name.
    auto *handle = new QWidget(this);
    handle->setAccessibleName(name);
    handle->setToolTip(help);
    handle->setCursor(Qt::SizeHorCursor);
    handle->installEventFilter(this);
    return handle;
}

void StudioWaveformView::setEnvelope(std::vector<WaveformBin> bins, qint64 totalFrames)
{
    m_bins = std::move(bins);
    m_totalFrames = totalFrames;
    update();
}

void StudioWaveformView::setSelection(WaveformSelection selection)
{
    if (selection == m_selection)
        return;
    m_selection = selection;
    placeHandles();
    update();
}

void StudioWaveformView::placeHandles()
{
    const double w = width();
    const int handleWidth = int(WaveformHandleDrag::handleWidth);
    for (auto [handle, value] : {std::pair{m_startHandle, m_selection.start}, std::pair{m_endHandle, m_selection.end}}) {
        const double centre = WaveformHandleDrag::handleCentre(value, w);
        handle->setGeometry(int(std::lround(centre - WaveformHandleDrag::inset)), 0, handleWidth, height());
    }
}

void StudioWaveformView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    placeHandles();
}

bool StudioWaveformView::eventFilter(QObject *watched, QEvent *event)
{
    const bool isHandle = watched == m_startHandle || watched == m_endHandle;
    const bool drags = event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseMove;
    if (!isHandle || !drags)
        return QWidget::eventFilter(watched, event);
    auto *mouse = static_cast<QMouseEvent *>(event);
    if (!(mouse->buttons() & Qt::LeftButton))
        return false;
    const double x = mapFromGlobal(mouse->globalPosition()).x();
    const auto handle = watched == m_startHandle ? WaveformHandleDrag::Handle::start : WaveformHandleDrag::Handle::end;
    if (auto dragged = WaveformHandleDrag::drag(handle, x, width(), m_totalFrames, m_selection)) {
        const bool moved = *dragged != m_selection;
        setSelection(*dragged);
        if (moved)
            emit selectionChanged(m_selection);
    }
    return true;
}

void StudioWaveformView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const double w = width();
    const double h = height();
    // The window's highlight is the theme's accent.
    const QColor accent = palette().color(QPalette::Highlight);

    QPainterPath background;
    background.addRoundedRect(QRectF(rect()), cornerRadius, cornerRadius);
    painter.fillPath(background, KitStyle::color(ColorRole::primary, backdropOpacity));

    QColor shade = accent;
    shade.setAlphaF(float(selectionOpacity));
    painter.fillRect(QRectF(w * m_selection.start, 0, w * std::max(m_selection.end - m_selection.start, 0.0), h), shade);

    if (!m_bins.empty()) {
        const double steps = m_bins.size() > 1 ? double(m_bins.size() - 1) : 1.0;
        std::vector<QLineF> lines;
        lines.reserve(m_bins.size());
        for (std::size_t i = 0; i < m_bins.size(); ++i) {
            const double x = w * double(i) / steps;
            const double top = h * (1.0 - double(std::min(m_bins[i].maximum, 1.0f))) * 0.5;
            const double bottom = h * (1.0 - double(std::max(m_bins[i].minimum, -1.0f))) * 0.5;
            lines.emplace_back(x, top, x, bottom);
        }
        painter.setPen(QPen(accent, 1));
        painter.drawLines(lines.data(), int(lines.size()));
    }

    painter.setPen(Qt::NoPen);
    painter.setBrush(accent);
    for (const double value : {m_selection.start, m_selection.end}) {
        const double centre = WaveformHandleDrag::handleCentre(value, w);
        painter.drawRoundedRect(QRectF(centre - handleBarWidth / 2, handleBarInset / 2, handleBarWidth,
                                       std::max(h - handleBarInset, 0.0)),
                                handleRadius, handleRadius);
    }
}
