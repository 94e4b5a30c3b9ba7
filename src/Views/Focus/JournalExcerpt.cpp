#include "Views/Focus/JournalExcerpt.h"

QString JournalExcerpt::forLabel(const QString &text)
{
    const bool cut = text.size() > maximumCharacters;
    const QStringView shown = QStringView(text).left(maximumCharacters);
    QString out;
    out.reserve(2 * shown.size() + 1);
    qsizetype run = 0;
    for (const QChar c : shown) {
        run = c.isSpace() ? 0 : run + 1;
        // A break anywhere in the run, so its lines fill the column.
        if (run > longestUnbrokenRun)
            out += QChar(0x200B);
        out += c;
    }
    if (cut)
        out += QChar(0x2026);
    return out;
}
