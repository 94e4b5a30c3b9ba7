#include "Views/Kit/ElidedLabel.h"

#include <QTextLayout>

#include <cmath>

namespace {
constexpr QChar ellipsis(0x2026);
}

ElidedLabel::ElidedLabel(const QString &text, QWidget *parent)
    : QLabel(parent)
{
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setFullText(text);
}

void ElidedLabel::setFullText(const QString &text)
{
    if (text == m_fullText)
        return;
    m_fullText = text;
    updateGeometry();
    refresh();
}

void ElidedLabel::setMaximumLines(int lines)
{
    m_maximumLines = std::max(1, lines);
    setAlignment(Qt::AlignLeft | (m_maximumLines > 1 ? Qt::AlignTop : Qt::AlignVCenter));
    QSizePolicy policy = sizePolicy();
    policy.setHeightForWidth(hasHeightForWidth());
    setSizePolicy(policy);
    updateGeometry();
    refresh();
}

ElidedLabel::Fitted ElidedLabel::fit(int width) const
{
    const QFontMetrics metrics = fontMetrics();
    if (m_maximumLines == 1) {
        const QString shown = metrics.elidedText(m_fullText, Qt::ElideRight, width);
        return {shown, shown != m_fullText};
    }
    QString text = m_fullText;
    text.replace(QChar('\n'), QChar::LineSeparator);
    QTextLayout layout(text, font());
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    QStringList lines;
    bool cut = false;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(std::max(1, width));
        if (lines.size() + 1 == m_maximumLines && line.textStart() + line.textLength() < text.size()) {
            // The last line takes all that is left, cut to the width.
            lines << metrics.elidedText(text.mid(line.textStart()).simplified() + ellipsis, Qt::ElideRight, width);
            cut = true;
            break;
        }
        lines << text.mid(line.textStart(), line.textLength()).trimmed();
    }
    layout.endLayout();
    return {lines.join(QChar(0x0A)), cut};
}

QSize ElidedLabel::sizeHint() const
{
    const QMargins margins = contentsMargins();
    // Rounded up: a width rounded to the nearest pixel can fall short of the text and cut it.
    const int width = int(std::ceil(QFontMetricsF(font()).horizontalAdvance(m_fullText))) + margins.left() + margins.right();
    return {width, hasHeightForWidth() ? heightForWidth(width) : QLabel::minimumSizeHint().height()};
}

QSize ElidedLabel::minimumSizeHint() const
{
    return {fontMetrics().horizontalAdvance(ellipsis), QLabel::minimumSizeHint().height()};
}

int ElidedLabel::heightForWidth(int width) const
{
    const QMargins margins = contentsMargins();
    const int inner = width - margins.left() - margins.right();
    // Measured as the label draws the lines, so a glyph taken from a fallback font still fits.
    const int height = fontMetrics().boundingRect(QRect(0, 0, std::max(1, inner), QWIDGETSIZE_MAX),
                                                  int(Qt::AlignLeft | Qt::AlignTop), fit(inner).text).height();
    return std::max(height, fontMetrics().height()) + margins.top() + margins.bottom();
}

void ElidedLabel::resizeEvent(QResizeEvent *event)
{
    QLabel::resizeEvent(event);
    refresh();
}

void ElidedLabel::changeEvent(QEvent *event)
{
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        updateGeometry();
        refresh();
    }
}

void ElidedLabel::refresh()
{
    const Fitted fitted = fit(contentsRect().width());
    if (fitted.text != QLabel::text())
        setText(fitted.text);
    const QString tip = fitted.cut ? m_fullText : QString();
    if (tip != toolTip())
        setToolTip(tip);
}
