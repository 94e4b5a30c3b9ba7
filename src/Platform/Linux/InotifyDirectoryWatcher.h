#pragma once

#include "Foundation/UniqueFd.h"
#include "Platform/DirectoryWatcher.h"

#include <QObject>
#include <QSet>

#include <memory>

class QSocketNotifier;

// Watches one folder with inotify for files moved in, and for files created there that are then
// closed after writing. While the folder does not exist its nearest existing parent is watched,
// and the folder is picked up as soon as it appears, again after each removal.
class InotifyDirectoryWatcher final : public QObject, public DirectoryWatcher {
    Q_OBJECT

public:
    explicit InotifyDirectoryWatcher(QObject *parent = nullptr);
    ~InotifyDirectoryWatcher() override;

    // False when neither the folder nor any parent of it can be watched.
    bool start(const QString &folder, Handler handler) override;
    void stop() override;

private:
    // Watches the folder, else its nearest existing parent; false when neither can be.
    bool attach();
    void readEvents();

    UniqueFd m_fd;
    std::unique_ptr<QSocketNotifier> m_notifier;
    Handler m_handler;
    QString m_folder;
    // The watch on the folder, or on the parent waited in while the folder is missing.
    int m_folderWatch = -1;
    int m_parentWatch = -1;
    // The name under the watched parent that leads to the folder.
    QString m_awaitedName;
    // Files created since the watch began that have not been closed after writing yet.
    QSet<QString> m_created;
};
