#pragma once

#include "Foundation/UniqueFd.h"
#include "Platform/DirectoryWatcher.h"

#include <QObject>
#include <QSet>

#include <memory>

class QSocketNotifier;

// Watches one folder with inotify for files moved in, and for files created there that are then
// closed after writing.
class InotifyDirectoryWatcher final : public QObject, public DirectoryWatcher {
    Q_OBJECT

public:
    explicit InotifyDirectoryWatcher(QObject *parent = nullptr);
    ~InotifyDirectoryWatcher() override;

    bool start(const QString &folder, Handler handler) override;
    void stop() override;

private:
    void readEvents();

    UniqueFd m_fd;
    std::unique_ptr<QSocketNotifier> m_notifier;
    Handler m_handler;
    // Files created since the watch began that have not been closed after writing yet.
    QSet<QString> m_created;
};
