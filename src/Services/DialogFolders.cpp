#include "Services/DialogFolders.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QString DialogFolders::start(Kind kind) const
{
    // A remembered folder may have been removed or renamed since.
    if (const auto last = m_last.find(kind); last != m_last.end() && QFileInfo(last->second).isDir())
        return last->second;
    if (kind == Kind::audio) {
        const QString music = QStandardPaths::writableLocation(QStandardPaths::MusicLocation);
        if (!music.isEmpty() && QFileInfo(music).isDir())
            return music;
    }
    return QDir::homePath();
}

void DialogFolders::remember(Kind kind, const QString &folder)
{
    if (!folder.isEmpty())
        m_last[kind] = QFileInfo(folder).absoluteFilePath();
}
