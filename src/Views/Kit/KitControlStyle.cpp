#include "Views/Kit/KitControlStyle.h"

#include "Foundation/Contrast.h"
#include "Views/Kit/KitStyle.h"
#include "Views/Kit/SymbolIcon.h"

#include <QApplication>
#include <QDateTime>
#include <QDialog>
#include <QEvent>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStyleFactory>
#include <QStyleOption>
#include <QTreeView>

#include <algorithm>

namespace {

constexpr int handleDiameter = 16;
constexpr qreal grooveThickness = 4;
constexpr int scrollBarExtent = 12;
constexpr int thinThumb = 4;
constexpr int wideThumb = 8;
constexpr int thumbMargin = 2;
constexpr int shortestThumb = 24;
constexpr int messageIconSize = 32;
// Disabled controls keep their shape at this share of their colour.
constexpr double dimmed = 0.4;

bool enabled(const QStyleOption *option)
{
    return option->state & QStyle::State_Enabled;
}

// The palette of the control being drawn, as Qt's own styles take it (the application palette
// is its source), in its active colours: the kit dims a disabled control itself.
QPalette inks(const QStyleOption *option)
{
    QPalette palette = option->palette;
    palette.setCurrentColorGroup(QPalette::Active);
    return palette;
}

QColor backed(const QPalette &palette, const QColor &color)
{
    return Contrast::over(color, KitStyle::color(palette, ColorRole::controlBackground));
}

// The widget's accent (the window's highlight) made to stand out from the backgrounds the
// kit puts controls on, and from `extra` where the accent lies on a track.
QColor accentInk(const QStyleOption *option, std::optional<QColor> extra = std::nullopt)
{
    const QPalette palette = inks(option);
    const QColor accent = palette.color(QPalette::Highlight);
    const QColor window = KitStyle::color(palette, ColorRole::windowBackground);
    const QColor base = KitStyle::color(palette, ColorRole::controlBackground);
    const QColor bar = KitStyle::color(palette, ColorRole::barBackground);
    return extra ? Contrast::readable(accent, {window, base, bar, *extra}, Contrast::large)
                 : Contrast::readable(accent, {window, base, bar}, Contrast::large);
}

void drawCapsule(QPainter *painter, const QRectF &box, const QColor &fill)
{
    const qreal radius = std::min(box.width(), box.height()) / 2;
    painter->setPen(Qt::NoPen);
    painter->setBrush(fill);
    painter->drawRoundedRect(box, radius, radius);
}

QRect sliderHandle(const QStyleOptionSlider *slider)
{
    const QRect area = slider->rect;
    const bool horizontal = slider->orientation == Qt::Horizontal;
    const int span = std::max(0, (horizontal ? area.width() : area.height()) - handleDiameter);
    const int offset = QStyle::sliderPositionFromValue(slider->minimum, slider->maximum, slider->sliderPosition, span,
                                                       slider->upsideDown);
    return horizontal ? QRect(area.x() + offset, area.y() + (area.height() - handleDiameter) / 2, handleDiameter,
                              handleDiameter)
                      : QRect(area.x() + (area.width() - handleDiameter) / 2, area.y() + offset, handleDiameter,
                              handleDiameter);
}

void drawSlider(const QStyleOptionSlider *slider, QPainter *painter)
{
    const QPalette palette = inks(slider);
    const bool on = enabled(slider);
    const bool horizontal = slider->orientation == Qt::Horizontal;
    const QRectF area = slider->rect;
    const QRectF handle = QRectF(sliderHandle(slider)).adjusted(0.5, 0.5, -0.5, -0.5);
    const qreal inset = handleDiameter / 2.0;
    const QRectF groove = horizontal ? QRectF(area.left() + inset, area.center().y() - grooveThickness / 2,
                                              area.width() - 2 * inset, grooveThickness)
                                     : QRectF(area.center().x() - grooveThickness / 2, area.top() + inset,
                                              grooveThickness, area.height() - 2 * inset);
    const QColor edge = KitStyle::color(palette, ColorRole::controlEdge);
    drawCapsule(painter, groove, on ? edge : KitStyle::withOpacity(edge, dimmed));

    // The filled part runs from the minimum's end to the handle's centre.
    const QPointF centre = handle.center();
    const bool fromFarEnd = slider->upsideDown;
    QRectF filled = groove;
    if (horizontal && fromFarEnd)
        filled.setLeft(centre.x());
    else if (horizontal)
        filled.setRight(centre.x());
    else if (fromFarEnd)
        filled.setTop(centre.y());
    else
        filled.setBottom(centre.y());
    drawCapsule(painter, filled, on ? accentInk(slider) : KitStyle::color(palette, ColorRole::tertiary, 0.6));

    const bool hovered = on && (slider->state & QStyle::State_MouseOver) &&
                         (slider->activeSubControls & QStyle::SC_SliderHandle);
    painter->setPen(QPen(on ? (hovered ? accentInk(slider) : edge) : KitStyle::withOpacity(edge, dimmed), 1));
    painter->setBrush(on ? QColor(Qt::white) : KitStyle::color(palette, ColorRole::controlBackground));
    painter->drawEllipse(handle);
    if (on && (slider->state & QStyle::State_HasFocus)) {
        painter->setPen(QPen(KitStyle::withOpacity(accentInk(slider), 0.5), 2));
        painter->setBrush(Qt::NoBrush);
        painter->drawEllipse(handle.adjusted(-1.5, -1.5, 1.5, 1.5));
    }
}

QRect scrollThumb(const QStyleOptionSlider *bar)
{
    const QRect area = bar->rect;
    const bool horizontal = bar->orientation == Qt::Horizontal;
    const int length = horizontal ? area.width() : area.height();
    const qint64 range = qint64(bar->maximum) - bar->minimum;
    const int size = range <= 0 ? length
                                : std::clamp(int(qint64(length) * bar->pageStep / (range + bar->pageStep)),
                                             std::min(shortestThumb, length), length);
    const int offset = QStyle::sliderPositionFromValue(bar->minimum, bar->maximum, bar->sliderPosition,
                                                       length - size, bar->upsideDown);
    return horizontal ? QRect(area.x() + offset, area.y(), size, area.height())
                      : QRect(area.x(), area.y() + offset, area.width(), size);
}

void drawScrollBar(const QStyleOptionSlider *bar, QPainter *painter)
{
    if (bar->maximum <= bar->minimum)
        return;
    const QPalette palette = inks(bar);
    const bool on = enabled(bar);
    const bool horizontal = bar->orientation == Qt::Horizontal;
    const bool pressed = (bar->state & QStyle::State_Sunken) && (bar->activeSubControls & QStyle::SC_ScrollBarSlider);
    // Thin while the pointer is elsewhere, so the bar takes little from the page it scrolls.
    const bool wide = on && ((bar->state & QStyle::State_MouseOver) || pressed);
    const int thickness = wide ? wideThumb : thinThumb;
    const auto across = [&](const QRectF &box) {
        return horizontal ? QRectF(box.left(), box.bottom() - thumbMargin - thickness, box.width(), thickness)
                          : QRectF(box.right() - thumbMargin - thickness, box.top(), thickness, box.height());
    };
    if (wide)
        drawCapsule(painter, across(bar->rect).adjusted(-1, -1, 1, 1),
                    KitStyle::color(palette, ColorRole::barBackground));
    const QRectF thumb = across(scrollThumb(bar));
    const bool hoveredThumb = wide && (bar->activeSubControls & QStyle::SC_ScrollBarSlider);
    const QColor edge = KitStyle::color(palette, ColorRole::controlEdge);
    drawCapsule(painter, thumb,
                !on                          ? KitStyle::withOpacity(edge, dimmed)
                : hoveredThumb || pressed ? KitStyle::color(palette, ColorRole::secondary)
                                             : edge);
}

void drawPicker(const QStyleOptionComboBox *combo, QPainter *painter, const QStyle *style, const QWidget *widget)
{
    const QPalette palette = inks(combo);
    const bool on = enabled(combo);
    const QColor edge = KitStyle::color(palette, ColorRole::controlEdge);
    if (combo->subControls & QStyle::SC_ComboBoxFrame) {
        const QColor outline = !on                                         ? KitStyle::withOpacity(edge, dimmed)
                               : combo->state & QStyle::State_HasFocus ? accentInk(combo)
                                                                          : edge;
        painter->setPen(QPen(outline, 1));
        painter->setBrush(KitStyle::color(palette, on ? ColorRole::controlBackground : ColorRole::windowBackground));
        painter->drawRoundedRect(QRectF(combo->rect).adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
    }
    if (combo->subControls & QStyle::SC_ComboBoxArrow) {
        const QRectF arrow = style->subControlRect(QStyle::CC_ComboBox, combo, QStyle::SC_ComboBoxArrow, widget);
        const QPointF centre = arrow.center();
        QPainterPath chevron;
        chevron.moveTo(centre + QPointF(-4, -2));
        chevron.lineTo(centre + QPointF(0, 2));
        chevron.lineTo(centre + QPointF(4, -2));
        const QColor ink =
            on ? KitStyle::color(palette, ColorRole::secondary) : KitStyle::color(palette, ColorRole::tertiary, 0.6);
        painter->setPen(QPen(ink, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter->setBrush(Qt::NoBrush);
        painter->drawPath(chevron);
    }
}

void drawCheckBox(const QStyleOption *option, QPainter *painter)
{
    const QPalette palette = inks(option);
    const bool on = enabled(option);
    const bool checked = option->state & QStyle::State_On;
    const bool partly = option->state & QStyle::State_NoChange;
    const QColor accent = accentInk(option);
    const QColor edge = checked || partly ? accent : KitStyle::color(palette, ColorRole::controlEdge);
    const QRectF box = QRectF(option->rect).adjusted(0.5, 0.5, -0.5, -0.5);
    painter->setPen(QPen(on ? edge : KitStyle::withOpacity(edge, dimmed), 1));
    painter->setBrush(checked || partly ? (on ? accent : KitStyle::withOpacity(accent, dimmed))
                                        : KitStyle::color(palette, ColorRole::controlBackground));
    painter->drawRoundedRect(box, 3, 3);
    if (!checked && !partly)
        return;
    const QPointF centre = box.center();
    const qreal size = box.width();
    QPainterPath mark;
    if (checked) {
        mark.moveTo(centre + QPointF(-0.28 * size, 0));
        mark.lineTo(centre + QPointF(-0.08 * size, 0.2 * size));
        mark.lineTo(centre + QPointF(0.28 * size, -0.2 * size));
    } else {
        mark.moveTo(centre + QPointF(-0.25 * size, 0));
        mark.lineTo(centre + QPointF(0.25 * size, 0));
    }
    painter->setPen(QPen(Qt::white, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter->setBrush(Qt::NoBrush);
    painter->drawPath(mark);
}

QColor progressTrack(const QStyleOption *option)
{
    const QPalette palette = inks(option);
    return backed(palette, KitStyle::color(palette, ColorRole::controlEdge, 0.45));
}

bool drawProgressContents(const QStyleOptionProgressBar *bar, QPainter *painter)
{
    const qint64 span = qint64(bar->maximum) - bar->minimum;
    if (span <= 0 || !(bar->state & QStyle::State_Horizontal))
        return false;
    const double fraction = std::clamp(double(qint64(bar->progress) - bar->minimum) / double(span), 0.0, 1.0);
    const QRectF area = bar->rect;
    const qreal width = area.width() * fraction;
    if (width <= 0)
        return true;
    // A sliver shorter than the bar is high still reads as a round end.
    const qreal shown = std::max(width, std::min(area.height(), area.width()));
    const bool fromRight = bar->invertedAppearance != (bar->direction == Qt::RightToLeft);
    const QRectF filled = fromRight ? QRectF(area.right() - shown, area.top(), shown, area.height())
                                    : QRectF(area.left(), area.top(), shown, area.height());
    const QColor ink = accentInk(bar, progressTrack(bar));
    drawCapsule(painter, filled, enabled(bar) ? ink : KitStyle::withOpacity(ink, dimmed));
    return true;
}

// The message box kinds as the kit's symbols, in their meaning's colour.
std::optional<std::pair<QString, ColorRole>> messageSymbol(QStyle::StandardPixmap pixmap)
{
    switch (pixmap) {
    case QStyle::SP_MessageBoxInformation:
    case QStyle::SP_MessageBoxQuestion: return std::pair{QStringLiteral("info.circle"), ColorRole::cyan};
    case QStyle::SP_MessageBoxWarning: return std::pair{QStringLiteral("exclamationmark.triangle.fill"), ColorRole::orange};
    case QStyle::SP_MessageBoxCritical: return std::pair{QStringLiteral("exclamationmark.circle"), ColorRole::red};
    default: return std::nullopt;
    }
}

QLabel *messageHeading(QMessageBox *box)
{
    return box->findChild<QLabel *>(QStringLiteral("qt_msgbox_label"));
}

// Push buttons of dialogs (message boxes, file dialogs) drawn as the kit's own: bordered and
// rounded, the default one filled with the accent. A button with a style sheet of its own (the
// kit's bordered buttons) is left to it.
bool dialogButton(const QWidget *widget, const QStyle *kit)
{
    return qobject_cast<const QPushButton *>(widget) && widget->style() == kit &&
           qobject_cast<const QDialog *>(widget->window());
}

bool prominent(const QStyleOption *option)
{
    const auto *button = qstyleoption_cast<const QStyleOptionButton *>(option);
    return button && (button->features & QStyleOptionButton::DefaultButton);
}

void drawDialogButton(const QStyleOption *option, QPainter *painter)
{
    const QPalette &palette = option->palette;
    const bool on = enabled(option);
    const bool pressed = option->state & (QStyle::State_Sunken | QStyle::State_On);
    const bool hovered = on && (option->state & QStyle::State_MouseOver);
    const QRectF box = QRectF(option->rect).adjusted(1.5, 1.5, -1.5, -1.5);
    QColor fill = KitStyle::color(palette, pressed   ? ColorRole::windowBackground
                                           : hovered ? ColorRole::barBackground
                                                     : ColorRole::controlBackground);
    QColor edge = KitStyle::color(palette, ColorRole::controlEdge);
    if (prominent(option)) {
        const QColor accent = palette.color(QPalette::Active, QPalette::Highlight);
        fill = pressed ? accent.darker(115) : hovered ? accent.lighter(110) : accent;
        edge = fill;
    }
    painter->setPen(QPen(on ? edge : KitStyle::withOpacity(edge, dimmed), 1));
    painter->setBrush(on || !prominent(option) ? fill : KitStyle::withOpacity(fill, dimmed));
    painter->drawRoundedRect(box, 6, 6);
    if (on && (option->state & QStyle::State_HasFocus)) {
        painter->setPen(QPen(KitStyle::withOpacity(accentInk(option), 0.5), 2));
        painter->setBrush(Qt::NoBrush);
        painter->drawRoundedRect(box.adjusted(-1, -1, 1, 1), 7, 7);
    }
}

constexpr int menuRadius = 8;
constexpr int menuItemInset = 4;
constexpr int menuTextMargin = 12;
constexpr int menuCheckColumn = 20;

// A menu's items on the kit's card: a rounded accent band under the chosen one, no pictures
// (the desktop's full-colour icons would stand out of every scheme), the shortcut in the
// secondary ink at the right.
void drawMenuItem(const QStyleOptionMenuItem *item, QPainter *painter, const QStyle *style, const QWidget *widget)
{
    const QPalette &palette = item->palette;
    const QRect area = item->rect;
    if (item->menuItemType == QStyleOptionMenuItem::Separator) {
        const int y = area.center().y();
        painter->fillRect(QRect(area.left() + menuTextMargin, y, area.width() - 2 * menuTextMargin, 1),
                          KitStyle::color(palette, ColorRole::separator));
        return;
    }
    if (item->menuItemType == QStyleOptionMenuItem::EmptyArea)
        return;
    const bool on = enabled(item);
    const bool chosen = on && (item->state & QStyle::State_Selected);
    if (chosen) {
        painter->setPen(Qt::NoPen);
        painter->setBrush(palette.color(QPalette::Active, QPalette::Highlight));
        painter->drawRoundedRect(QRectF(area).adjusted(menuItemInset, 1, -menuItemInset, -1), 5, 5);
    }
    const QColor ink = chosen ? palette.color(QPalette::Active, QPalette::HighlightedText)
                       : on   ? KitStyle::color(palette, ColorRole::primary)
                              : KitStyle::color(palette, ColorRole::tertiary);
    QRect text = area.adjusted(menuTextMargin, 0, -menuTextMargin, 0);
    if (item->checkType != QStyleOptionMenuItem::NotCheckable) {
        if (item->checked) {
            const QPointF centre(text.left() + menuCheckColumn / 2.0 - 2, area.center().y() + 0.5);
            QPainterPath mark;
            mark.moveTo(centre + QPointF(-4, 0));
            mark.lineTo(centre + QPointF(-1.5, 3));
            mark.lineTo(centre + QPointF(4, -3.5));
            painter->setPen(QPen(ink, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            painter->setBrush(Qt::NoBrush);
            painter->drawPath(mark);
        }
        text.setLeft(text.left() + menuCheckColumn);
    }
    if (item->menuItemType == QStyleOptionMenuItem::SubMenu) {
        const QPointF centre(text.right() - 3, area.center().y() + 0.5);
        QPainterPath chevron;
        chevron.moveTo(centre + QPointF(-2, -4));
        chevron.lineTo(centre + QPointF(2, 0));
        chevron.lineTo(centre + QPointF(-2, 4));
        painter->setPen(QPen(ink, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter->setBrush(Qt::NoBrush);
        painter->drawPath(chevron);
        text.setRight(text.right() - 12);
    }
    const int mnemonic = style->styleHint(QStyle::SH_UnderlineShortcut, item, widget) ? Qt::TextShowMnemonic
                                                                                       : Qt::TextHideMnemonic;
    const qsizetype tab = item->text.indexOf(QLatin1Char('\t'));
    painter->setFont(item->font);
    if (tab >= 0) {
        painter->setPen(chosen ? ink : on ? KitStyle::color(palette, ColorRole::secondary) : ink);
        painter->drawText(text, Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine, item->text.mid(tab + 1));
    }
    painter->setPen(ink);
    painter->drawText(text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine | mnemonic, item->text.left(tab));
}

// The menu's window cut to the card's rounded shape: without a compositor a translucent
// corner would show black.
void roundMenu(QWidget *menu)
{
    QPainterPath shape;
    shape.addRoundedRect(QRectF(menu->rect()), menuRadius, menuRadius);
    menu->setMask(QRegion(shape.toFillPolygon().toPolygon()));
}

// Qt's widget file dialog with room for every column's whole text: sizes and dates were cut
// to "146…KiB" in its first width.
void widenFileDialog(QFileDialog *dialog)
{
    auto *view = dialog->findChild<QTreeView *>(QStringLiteral("treeView"));

    if (!view)
        return;
    QHeaderView *header = view->header();
    header->setStretchLastSection(false);
    header->setSectionResizeMode(0, QHeaderView::Stretch);
    const QFontMetrics metrics(view->font());
    const int padding = 2 * metrics.averageCharWidth() + view->style()->pixelMetric(QStyle::PM_HeaderMargin) * 2;
    const QString longest[] = {
        QStringLiteral("999.9 KiB"), QStringLiteral("ZIP Archive"),
        QLocale::system().toString(QDateTime(QDate(2026, 12, 28), QTime(23, 59, 59)), QLocale::ShortFormat)};
    int needed = 0;
    for (int column = 1; column <= 3; ++column) {
        header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
        needed += std::max(metrics.horizontalAdvance(longest[column - 1]), header->sectionSizeHint(column)) + padding;
    }
    // Room for a name of some forty characters beside them, and the side bar.
    const QWidget *sidebar = dialog->findChild<QWidget *>(QStringLiteral("sidebar"));
    const int nameWidth = 40 * metrics.averageCharWidth();
    const int width = needed + nameWidth + (sidebar ? sidebar->sizeHint().width() : 0) + 48;
    if (dialog->width() < width)
        dialog->resize(std::min(width, dialog->screen()->availableSize().width()), dialog->height());
}

}

KitControlStyle::KitControlStyle(const QString &baseKey)
    : QProxyStyle(baseKey)
{
}

void KitControlStyle::install()
{
    QApplication::setStyle(new KitControlStyle(QApplication::style()->name()));
}

void KitControlStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex *option, QPainter *painter,
                                         const QWidget *widget) const
{
    const QStyleOptionComboBox *combo = qstyleoption_cast<const QStyleOptionComboBox *>(option);
    const QStyleOptionSlider *slider = qstyleoption_cast<const QStyleOptionSlider *>(option);
    const bool ours = (control == CC_Slider && slider) || (control == CC_ScrollBar && slider) ||
                      (control == CC_ComboBox && combo && !combo->editable);
    if (!ours) {
        QProxyStyle::drawComplexControl(control, option, painter, widget);
        return;
    }
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    if (control == CC_Slider)
        drawSlider(slider, painter);
    else if (control == CC_ScrollBar)
        drawScrollBar(slider, painter);
    else
        drawPicker(combo, painter, this, widget);
    painter->restore();
}

void KitControlStyle::drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                                    const QWidget *widget) const
{
    const bool menu = qobject_cast<const QMenu *>(widget);
    const bool ours = element == PE_IndicatorCheckBox ||
                      ((element == PE_PanelButtonCommand || element == PE_FrameFocusRect) && dialogButton(widget, this)) ||
                      ((element == PE_PanelMenu || element == PE_FrameMenu) && menu) || element == PE_PanelTipLabel;
    if (!ours) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    const QPalette &palette = option->palette;
    switch (element) {
    case PE_IndicatorCheckBox: drawCheckBox(option, painter); break;
    case PE_PanelButtonCommand: drawDialogButton(option, painter); break;
    // The button draws its own focus ring.
    case PE_FrameFocusRect: break;
    case PE_PanelMenu: painter->fillRect(option->rect, KitStyle::color(palette, ColorRole::controlBackground)); break;
    case PE_FrameMenu:
        painter->setPen(QPen(KitStyle::color(palette, ColorRole::controlEdge), 1));
        painter->setBrush(Qt::NoBrush);
        painter->drawRoundedRect(QRectF(option->rect).adjusted(0.5, 0.5, -0.5, -0.5), menuRadius, menuRadius);
        break;
    default:
        // A tooltip: the kit's card with its edge; the text takes ToolTipText, set to the
        // scheme's ink when the tip is polished.
        painter->fillRect(option->rect, palette.color(QPalette::ToolTipBase));
        painter->setPen(QPen(KitStyle::color(palette, ColorRole::controlEdge), 1));
        painter->drawRect(QRectF(option->rect).adjusted(0.5, 0.5, -0.5, -0.5));
        break;
    }
    painter->restore();
}

void KitControlStyle::drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                                  const QWidget *widget) const
{
    const auto *bar = qstyleoption_cast<const QStyleOptionProgressBar *>(option);
    if (bar && element == CE_ProgressBarGroove && (bar->state & State_Horizontal)) {
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        const QColor track = progressTrack(bar);
        drawCapsule(painter, bar->rect, enabled(bar) ? track : KitStyle::withOpacity(track, dimmed));
        painter->restore();
        return;
    }
    if (bar && element == CE_ProgressBarContents) {
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        const bool drawn = drawProgressContents(bar, painter);
        painter->restore();
        if (drawn)
            return;
    }
    const auto *item = qstyleoption_cast<const QStyleOptionMenuItem *>(option);
    if (item && (element == CE_MenuItem || element == CE_MenuEmptyArea) && qobject_cast<const QMenu *>(widget)) {
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        if (element == CE_MenuItem)
            drawMenuItem(item, painter, this, widget);
        painter->restore();
        return;
    }
    if (element == CE_PushButtonLabel && prominent(option) && dialogButton(widget, this)) {
        QStyleOptionButton label = *qstyleoption_cast<const QStyleOptionButton *>(option);
        label.palette.setColor(QPalette::ButtonText, label.palette.color(QPalette::Active, QPalette::HighlightedText));
        QProxyStyle::drawControl(element, &label, painter, widget);
        return;
    }
    QProxyStyle::drawControl(element, option, painter, widget);
}

QSize KitControlStyle::sizeFromContents(ContentsType type, const QStyleOption *option, const QSize &size,
                                        const QWidget *widget) const
{
    const auto *item = qstyleoption_cast<const QStyleOptionMenuItem *>(option);
    if (type != CT_MenuItem || !item || !qobject_cast<const QMenu *>(widget))
        return QProxyStyle::sizeFromContents(type, option, size, widget);
    // No picture column; the text's margins and the check column as drawMenuItem lays them out.
    QStyleOptionMenuItem bare = *item;
    bare.icon = QIcon();
    bare.maxIconWidth = 0;
    QSize fitted = QProxyStyle::sizeFromContents(type, &bare, size, widget);
    if (item->menuItemType != QStyleOptionMenuItem::Separator) {
        const int check = item->checkType != QStyleOptionMenuItem::NotCheckable ? menuCheckColumn : 0;
        fitted.setWidth(std::max(fitted.width(), size.width() + item->reservedShortcutWidth + 2 * menuTextMargin +
                                                     check + 24));
        fitted.setHeight(std::max(fitted.height(), QFontMetrics(item->font).height() + 10));
    }
    return fitted;
}

QRect KitControlStyle::subControlRect(ComplexControl control, const QStyleOptionComplex *option,
                                      SubControl subControl, const QWidget *widget) const
{
    const auto *slider = qstyleoption_cast<const QStyleOptionSlider *>(option);
    if (control == CC_Slider && slider) {
        if (subControl == SC_SliderHandle)
            return sliderHandle(slider);
        if (subControl == SC_SliderGroove)
            return slider->rect;
    }
    if (control == CC_ScrollBar && slider) {
        const QRect thumb = scrollThumb(slider);
        const bool horizontal = slider->orientation == Qt::Horizontal;
        const QRect area = slider->rect;
        switch (subControl) {
        case SC_ScrollBarSlider: return thumb;
        case SC_ScrollBarGroove: return area;
        case SC_ScrollBarSubPage:
            return horizontal ? QRect(area.topLeft(), QPoint(thumb.left() - 1, area.bottom()))
                              : QRect(area.topLeft(), QPoint(area.right(), thumb.top() - 1));
        case SC_ScrollBarAddPage:
            return horizontal ? QRect(QPoint(thumb.right() + 1, area.top()), area.bottomRight())
                              : QRect(QPoint(area.left(), thumb.bottom() + 1), area.bottomRight());
        // No arrow buttons and no jump buttons: the thumb and the page areas are the whole bar.
        default: return {};
        }
    }
    return QProxyStyle::subControlRect(control, option, subControl, widget);
}

int KitControlStyle::pixelMetric(PixelMetric metric, const QStyleOption *option, const QWidget *widget) const
{
    switch (metric) {
    case PM_SliderLength:
    case PM_SliderControlThickness: return handleDiameter;
    case PM_SliderThickness: return handleDiameter + 4;
    case PM_ScrollBarExtent: return scrollBarExtent;
    case PM_ScrollBarSliderMin: return shortestThumb;
    case PM_MessageBoxIconSize: return messageIconSize;
    // Room above and below the items for the menu's rounded corners.
    case PM_MenuVMargin: return menuItemInset;
    case PM_MenuPanelWidth: return 1;
    default: return QProxyStyle::pixelMetric(metric, option, widget);
    }
}

int KitControlStyle::styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                               QStyleHintReturn *returnData) const
{
    // Buttons say what they do in words; a stock icon beside "OK" adds nothing.
    if (hint == SH_DialogButtonBox_ButtonsHaveIcons)
        return 0;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}

QIcon KitControlStyle::standardIcon(StandardPixmap standardIcon, const QStyleOption *option,
                                    const QWidget *widget) const
{
    if (const auto symbol = messageSymbol(standardIcon))
        return SymbolIcon::icon(symbol->first, KitStyle::color(symbol->second));
    return QProxyStyle::standardIcon(standardIcon, option, widget);
}

void KitControlStyle::polish(QWidget *widget)
{
    QProxyStyle::polish(widget);
    if (qobject_cast<QScrollBar *>(widget))
        widget->setAttribute(Qt::WA_Hover);
    if (auto *box = qobject_cast<QMessageBox *>(widget)) {
        // The box is the kit's card; its text says what happened first, as a heading.
        box->setBackgroundRole(QPalette::Base);
        if (QLabel *heading = messageHeading(box))
            heading->setFont(KitStyle::font(FontRole::headline));
        box->installEventFilter(this);
    }
    if (auto *menu = qobject_cast<QMenu *>(widget))
        menu->installEventFilter(this);
    if (auto *dialog = qobject_cast<QFileDialog *>(widget))
        dialog->installEventFilter(this);
    if (widget->inherits("QTipLabel")) {
        // Qt keeps the tooltips' palette from the start; each tip is made anew, in the scheme
        // of the moment.
        QPalette palette = QApplication::palette();
        palette.setColor(QPalette::ToolTipBase, KitStyle::color(palette, ColorRole::controlBackground));
        palette.setColor(QPalette::ToolTipText, KitStyle::color(palette, ColorRole::primary));
        widget->setPalette(palette);
    }
}

void KitControlStyle::unpolish(QWidget *widget)
{
    if (qobject_cast<QScrollBar *>(widget))
        widget->setAttribute(Qt::WA_Hover, false);
    if (auto *menu = qobject_cast<QMenu *>(widget)) {
        menu->removeEventFilter(this);
        menu->clearMask();
    }
    if (auto *dialog = qobject_cast<QFileDialog *>(widget))
        dialog->removeEventFilter(this);
    if (auto *box = qobject_cast<QMessageBox *>(widget)) {
        box->removeEventFilter(this);
        box->setBackgroundRole(QPalette::Window);
        if (QLabel *heading = messageHeading(box))
            heading->setFont(QFont());
    }
    QProxyStyle::unpolish(widget);
}

bool KitControlStyle::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Resize) {
        if (auto *menu = qobject_cast<QMenu *>(watched))
            roundMenu(menu);
    }
    // Widened as it shows, once it has the size it would take.
    if (event->type() == QEvent::Show) {
        if (auto *dialog = qobject_cast<QFileDialog *>(watched))
            widenFileDialog(dialog);
    }
    // The box keeps its icon as a picture: a new scheme needs it drawn again in the new colour.
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::ApplicationPaletteChange) {
        if (auto *box = qobject_cast<QMessageBox *>(watched); box && box->icon() != QMessageBox::NoIcon)
            box->setIcon(box->icon());
    }
    return QProxyStyle::eventFilter(watched, event);
}
