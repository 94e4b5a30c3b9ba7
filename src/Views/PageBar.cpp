#include "Views/PageBar.h"

#include "Views/Kit/KitStyle.h"
#include "Views/Kit/SymbolIcon.h"

#include <QAbstractButton>
#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>

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

    QSize sizeHint() const override
    {
        return {QFontMetrics(font()).horizontalAdvance(text()) + 32, 44};
    }
    QSize minimumSizeHint() const override { return {44, 44}; }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QColor ink = m_selected ? m_accent : KitStyle::color(ColorRole::primary);
        const QRectF box = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
        if (m_selected) {
            QPainterPath path;
            path.addRoundedRect(box, 9, 9);
            painter.fillPath(path, KitStyle::withOpacity(m_accent, 0.10));
            const QRectF underline(box.left() + 15, box.bottom() - 2, box.width() - 30, 2);
            painter.setPen(Qt::NoPen);
            painter.setBrush(m_accent);
            painter.drawRoundedRect(underline, 1, 1);
        } else if (underMouse()) {
            QPainterPath path;
            path.addRoundedRect(box, 9, 9);
            painter.fillPath(path, KitStyle::color(ColorRole::secondary, 0.06));
        }
        const QFontMetrics metrics(font());
        const int iconSize = 13;
        const int available = width() - 8;
        QString title = text();
        int textWidth = metrics.horizontalAdvance(title);
        const bool withText = iconSize + 5 + textWidth <= available;
        const int total = withText ? iconSize + 5 + textWidth : iconSize;
        const int left = (width() - total) / 2;
        const int top = (height() - iconSize) / 2;
        painter.drawPixmap(QRect(left, top, iconSize, iconSize),
                           SymbolIcon::icon(PageBar::symbol(m_page), ink).pixmap(iconSize, iconSize));
        if (withText) {
            painter.setPen(ink);
            painter.setFont(font());
            painter.drawText(QRect(left + iconSize + 5, 0, textWidth + 1, height()), Qt::AlignLeft | Qt::AlignVCenter,
                             title);
        }
    }
    void enterEvent(QEnterEvent *) override { update(); }
    void leaveEvent(QEvent *) override { update(); }

private:
    SettingsPage m_page;
    bool m_selected = false;
    QColor m_accent;
};

PageBar::PageBar(QWidget *parent)
    : QWidget(parent)
{
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
    m_page = page;
    for (PageBarButton *button : m_buttons)
        button->setState(button->text() == rawValue(page), m_accent);
}

void PageBar::setAccent(const QColor &accent)
{
    m_accent = accent;
    setPage(m_page);
}

void PageBar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), KitStyle::color(ColorRole::barBackground));
}
