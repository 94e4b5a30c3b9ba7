#include "Services/DialogFolders.h"

#include "Platform/UserDefaults.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

QString storageKey(DialogFolders::Kind kind)
{
    switch (kind) {
    case DialogFolders::Kind::packs: return QStringLiteral("dialogFolderPacks");
    case DialogFolders::Kind::audio: return QStringLiteral("dialogFolderAudio");
    case DialogFolders::Kind::packFolder: return QStringLiteral("dialogFolderPackFolder");
    }
    return {};
}

}

void DialogFolders::keepIn(UserDefaults &defaults)
{
    m_defaults = &defaults;
    for (Kind kind : {Kind::packs, Kind::audio, Kind::packFolder}) {
        const QVariant stored = defaults.value(storageKey(kind));
        if (stored.typeId() == QMetaType::QString && !stored.toString().isEmpty())
            m_last[kind] = stored.toString();
    }
}

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
    if (folder.isEmpty())
        return;
    m_last[kind] = QFileInfo(folder).absoluteFilePath();
    if (m_defaults)
        m_defaults->setValue(storageKey(kind), m_last[kind]);
}
