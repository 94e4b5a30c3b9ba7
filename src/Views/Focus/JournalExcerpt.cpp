#include "Views/Focus/JournalExcerpt.h"

QString JournalExcerpt::forLabel(const QString &text)
{
    const bool cut = text.size() > maximumCharacters;
    const QStringView shown = QStringView(text).left(maximumCharacters);
    QString out;
    out.reserve(shown.size() + shown.size() / longestUnbrokenRun + 1);
    qsizetype run = 0;
    for (const QChar c : shown) {
        run = c.isSpace() ? 0 : run + 1;
        if (run > longestUnbrokenRun) {
            out += QChar(0x200B);
            run = 1;
        }
        out += c;
    }
    if (cut)
        out += QChar(0x2026);
    return out;
}
