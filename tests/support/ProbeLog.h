#pragma once

#include <QFile>
#include <QString>

// Appends one line to a helper program's event log, which the desktop test reads back.
inline void appendProbeLine(const QString &path, const QString &line)
{
    QFile log(path);
    if (log.open(QIODevice::Append | QIODevice::Text))
        log.write((line + u'\n').toUtf8());
}
