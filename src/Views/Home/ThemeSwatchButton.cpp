#include "Views/Home/ThemeSwatchButton.h"

#include "Views/Home/HomeCardText.h"
#include "Views/Kit/KitStyle.h"
#include "Views/Kit/SymbolIcon.h"

#include <QPainter>

namespace {
constexpr int circleDiameter = 30;
constexpr int spacing = 5;
constexpr int labelMinimumHeight = 52;
constexpr int checkmarkSize = 12;
}

ThemeSwatchButton::ThemeSwatchButton(InterfaceTheme theme, QWidget *parent)
    : QAbstractButton(parent)
    , m_theme(theme)
{
    const QString name = HomeCardText::themeName(theme);
    setText(name);
    setAccessibleName(name + QStringLiteral(" interface color"));
    setCheckable(true);
    setCursor(Qt::PointingHandCursor);
    setFont(KitStyle::font(FontRole::caption2, QFont::DemiBold));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Minimum);
}

void ThemeSwatchButton::setSelected(bool selected)
{
    if (selected == isChecked())
        return;
    const QSignalBlocker blocker(this);
    setChecked(selected);
    update();
}

QSize ThemeSwatchButton::sizeHint() const
{
    const QFontMetrics metrics(font());
    const int height = circleDiameter + spacing + metrics.height();
    return {std::max(circleDiameter, metrics.horizontalAdvance(text())), std::max(labelMinimumHeight, height)};
}

QSize ThemeSwatchButton::minimumSizeHint() const
{
    return {circleDiameter, sizeHint().height()};
}

void ThemeSwatchButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QFontMetrics metrics(font());
    const int contentHeight = circleDiameter + spacing + metrics.height();
    const int top = (height() - contentHeight) / 2;
    const QRectF circle((width() - circleDiameter) / 2.0, top, circleDiameter, circleDiameter);

    const QColor accent = InterfaceThemes::accent(m_theme);
    QLinearGradient shade(circle.topLeft(), circle.bottomRight());
    shade.setColorAt(0, accent.lighter(135));
    shade.setColorAt(1, accent);
    painter.setPen(Qt::NoPen);
    painter.setBrush(shade);
    painter.drawEllipse(circle);
    if (isChecked()) {
        const QRect mark(QPoint(0, 0), QSize(checkmarkSize, checkmarkSize));
        SymbolIcon::icon(QStringLiteral("checkmark"), Qt::white)
            .paint(&painter, mark.translated(circle.center().toPoint() - mark.center()));
    }

    painter.setPen(KitStyle::color(ColorRole::primary));
    painter.setFont(font());
    painter.drawText(QRect(0, top + circleDiameter + spacing, width(), metrics.height()), Qt::AlignHCenter, text());
}
