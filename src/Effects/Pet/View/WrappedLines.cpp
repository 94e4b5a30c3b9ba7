#include "Effects/Pet/View/WrappedLines.h"

#include <QFontMetricsF>
#include <QTextLayout>

QStringList wrappedLines(const QString &text, const QFont &font, double width, int maxLines)
{
    QTextLayout layout(text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    QStringList lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        if (lines.size() == maxLines - 1) {
            const QString rest = text.mid(line.textStart()).trimmed();
            lines << QFontMetricsF(font).elidedText(rest, Qt::ElideRight, width);
            break;
        }
        lines << text.mid(line.textStart(), line.textLength()).trimmed();
    }
    layout.endLayout();
    return lines;
}
