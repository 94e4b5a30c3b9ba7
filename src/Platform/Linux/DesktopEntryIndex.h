#pragma once

#include "Platform/Workspace.h"

#include <QDateTime>
#include <QFuture>
#include <QHash>
#include <QLocale>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// What X tells about a window's application: ids an application may set itself, and its
// WM_CLASS pair.
struct WindowIdentity {
    QString gtkApplicationID;
    QString kdeDesktopFile;
    QString instanceName;
    QString className;
};

// The installed applications, from the desktop files of the XDG applications folders. An
// application's id is its desktop file's path below a folder, "/" turned into "-", without
// ".desktop"; the first folder holding an id wins. Names are taken in the user's language
// where the file has it. Folders are read again only when one of them changes. Reading them
// all can take long (thousands of entries, slow disks): prefetch() does it on a worker.
class DesktopEntryIndex {
public:
    struct Entry {
        QString id;
        QString name;
        QString startupWMClass;
    };

    // The default reads $XDG_DATA_HOME and every folder of $XDG_DATA_DIRS; `language` is a
    // locale name such as "pt_BR".
    explicit DesktopEntryIndex(QStringList applicationFolders = defaultFolders(),
                               QString language = QLocale::system().name());

    static QStringList defaultFolders();
    // The application entry of a desktop file's text, or nothing for another kind of entry
    // or one marked hidden.
    static std::optional<Entry> parse(const QString &id, const QByteArray &text, const QString &language);

    // Starts reading the folders on a worker thread, so the first question finds them read.
    void prefetch();

    std::optional<Entry> entry(const QString &id);
    // The window's application: an id the window names itself, else the desktop file whose
    // StartupWMClass or id matches the WM_CLASS, else "wmclass:" and the class. The name is
    // the desktop file's, else the class.
    WorkspaceApplication application(const WindowIdentity &window);

private:
    struct Snapshot {
        QList<QDateTime> folderStamps;
        QHash<QString, Entry> entries;
    };

    QList<QDateTime> folderStamps() const;
    static Snapshot read(const QStringList &folders, const QString &language, QList<QDateTime> stamps);
    void refresh();
    std::optional<Entry> matchWindowClass(const QString &windowClass);

    QStringList m_folders;
    QString m_language;
    bool m_loaded = false;
    Snapshot m_snapshot;
    QFuture<Snapshot> m_pending;
};
