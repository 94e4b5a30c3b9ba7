#include "Views/PageBar.h"

#include "Foundation/Contrast.h"
#include "Views/Kit/KitStyle.h"
#include "Views/Kit/SymbolIcon.h"

#include <QAbstractButton>
#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace {
// The selected page's background: a tint of the accent over the bar.
QColor highlightFill(const QColor &accent)
{
    return Contrast::over(KitStyle::withOpacity(accent, 0.10), KitStyle::color(ColorRole::barBackground));
}
}

class PageBarButton final : public QAbstractButton {
public:
    PageBarButton(SettingsPage page, QWidget *parent)
        : QAbstractButton(parent)
        , m_page(page)
    {
        setText(rawValue(page));
        setAccessibleName(rawValue(page));
        setFont(KitStyle::font(FontRole::caption, QFont::DemiBold));
        setCursor(Qt::PointingHandCursor);
        setMinimumHeight(44);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    }

    void setState(bool selected, const QColor &accent)
    {
        if (selected == m_selected && accent == m_accent)
            return;
        m_selected = selected;
        m_accent = accent;
        update();
    }

    // Whether the title needs more than `width` beside its symbol.
    bool needsStacking(int width) const
    {
        return iconSize + gap + QFontMetrics(font()).horizontalAdvance(text()) > width - 6;
    }
    void setStacked(bool stacked)
    {
        if (stacked == m_stacked)
            return;
        m_stacked = stacked;
        update();
    }

    QSize sizeHint() const override
    {
        return {QFontMetrics(font()).horizontalAdvance(text()) + 32, 44};
    }
    // Room for the whole title stacked under its symbol, so the bar shares its width out by
    // need and no title is cut at the window's smallest width.
    QSize minimumSizeHint() const override
    {
        return {std::max(44, QFontMetrics(font()).horizontalAdvance(text()) + 8), 44};
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QColor ink = m_selected ? Contrast::readable(m_accent, {highlightFill(m_accent)})
                                      : KitStyle::color(ColorRole::primary);
        // The selected page's background and underline belong to the bar, which slides them.
        if (!m_selected && underMouse()) {
            QPainterPath path;
            path.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 9, 9);
            painter.fillPath(path, KitStyle::color(ColorRole::secondary, 0.06));
        }
        const QFontMetrics metrics(font());
        const int available = width() - 6;
        const int textWidth = metrics.horizontalAdvance(text());
        const QPixmap icon = SymbolIcon::icon(PageBar::symbol(m_page), ink).pixmap(iconSize, iconSize);
        painter.setPen(ink);
        painter.setFont(font());
        if (!m_stacked) {
            const int left = (width() - iconSize - gap - textWidth) / 2;
            painter.drawPixmap(QRect(left, (height() - iconSize) / 2, iconSize, iconSize), icon);
            painter.drawText(QRect(left + iconSize + gap, 0, textWidth + 1, height()), Qt::AlignLeft | Qt::AlignVCenter,
                             text());
            return;
        }
        const int top = (height() - iconSize - 2 - metrics.height()) / 2;
        painter.drawPixmap(QRect((width() - iconSize) / 2, top, iconSize, iconSize), icon);
        painter.drawText(QRect(3, top + iconSize + 2, available, metrics.height()), Qt::AlignCenter,
                         metrics.elidedText(text(), Qt::ElideRight, available));
    }
    void enterEvent(QEnterEvent *) override { update(); }
    void leaveEvent(QEvent *) override { update(); }

private:
    static constexpr int iconSize = 13;
    static constexpr int gap = 5;
    SettingsPage m_page;
    bool m_selected = false;
    bool m_stacked = false;
    QColor m_accent;
};

PageBar::PageBar(QWidget *parent)
    : QWidget(parent)
{
    m_slide.setDuration(160);
    m_slide.setEasingCurve(QEasingCurve::OutCubic);
    connect(&m_slide, &QVariantAnimation::valueChanged, this, [this](const QVariant &value) {
        m_highlight = value.toRectF();
        update();
    });
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(18, 5, 18, 5);
    layout->setSpacing(7);
    std::size_t index = 0;
    for (SettingsPage page : allCases<SettingsPage>()) {
        auto *button = new PageBarButton(page, this);
        m_buttons[index++] = button;
        layout->addWidget(button, 1);
        connect(button, &QAbstractButton::clicked, this, [this, page] { emit pageClicked(page); });
    }
}

QString PageBar::symbol(SettingsPage page)
{
    switch (page) {
    case SettingsPage::home: return QStringLiteral("sparkles");
    case SettingsPage::sounds: return QStringLiteral("keyboard");
    case SettingsPage::reactions: return QStringLiteral("waveform.path.ecg");
    case SettingsPage::toys: return QStringLiteral("cursorarrow.motionlines");
    case SettingsPage::system: return QStringLiteral("bolt.circle");
    case SettingsPage::focus: return QStringLiteral("timer");
    case SettingsPage::privacy: return QStringLiteral("hand.raised");
    }
    return {};
}

void PageBar::setPage(SettingsPage page)
{
    const bool moved = page != m_page;
    m_page = page;
    for (PageBarButton *button : m_buttons)
        button->setState(button->text() == rawValue(page), m_accent);
    const QRectF target = selectedButton()->geometry();
    if (moved && isVisible() && !m_highlight.isEmpty()) {
        m_slide.stop();
        m_slide.setStartValue(m_highlight);
        m_slide.setEndValue(target);
        m_slide.start();
    } else {
        m_highlight = target;
        update();
    }
}

QWidget *PageBar::selectedButton() const
{
    const auto cases = allCases<SettingsPage>();
    return m_buttons[std::size_t(std::find(cases.begin(), cases.end(), m_page) - cases.begin())];
}

void PageBar::setAccent(const QColor &accent)
{
    m_accent = accent;
    setPage(m_page);
}

void PageBar::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    // All symbols go above their titles as soon as one title no longer fits beside its symbol.
    const int buttonWidth = (width() - 2 * 18 - 6 * 7) / 7;
    const bool stacked = std::any_of(m_buttons.begin(), m_buttons.end(),
                                     [buttonWidth](const PageBarButton *button) { return button->needsStacking(buttonWidth); });
    for (PageBarButton *button : m_buttons)
        button->setStacked(stacked);
    m_slide.stop();
    m_highlight = selectedButton()->geometry();
}

void PageBar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), KitStyle::color(ColorRole::barBackground));
    if (m_highlight.isEmpty())
        return;
    const QRectF box = m_highlight.adjusted(0.5, 0.5, -0.5, -0.5);
    QPainterPath path;
    path.addRoundedRect(box, 9, 9);
    painter.fillPath(path, highlightFill(m_accent));
    painter.setPen(Qt::NoPen);
    painter.setBrush(m_accent);
    painter.drawRoundedRect(QRectF(box.left() + 15, box.bottom() - 2, box.width() - 30, 2), 1, 1);
}
