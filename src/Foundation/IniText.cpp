#include "Foundation/IniText.h"

std::optional<QString> IniText::value(const QByteArray &text, const QString &group, const QString &key)
{
    const QString header = u'[' + group + u']';
    std::optional<QString> found;
    bool inGroup = false;
    for (const QByteArray &rawLine : text.split('\n')) {
        const QString line = QString::fromUtf8(rawLine).trimmed();
        if (line.startsWith(u'[')) {
            inGroup = line == header;
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (inGroup && equals > 0 && QStringView(line).left(equals).trimmed() == key)
            found = line.mid(equals + 1).trimmed();
    }
    return found;
}
