#include "Effects/Pet/View/WrappedLines.h"

#include <QFontMetricsF>
#include <QTextLayout>

QStringList wrappedLines(const QString &text, const QFont &font, double width, int maxLines)
{
    QTextLayout layout(text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(option);
    const QFontMetricsF metrics(font);
    QStringList lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        const QString own = text.mid(line.textStart(), line.textLength()).trimmed();
        // The last line, or a word wider than a line, ends the text with "…".
        if (lines.size() == maxLines - 1 || metrics.horizontalAdvance(own) > width) {
            lines << metrics.elidedText(text.mid(line.textStart()).trimmed(), Qt::ElideRight, width);
            break;
        }
        lines << own;
    }
    layout.endLayout();
    return lines;
}
