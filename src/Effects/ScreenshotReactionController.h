#pragma once

#include "Foundation/Clock.h"
#include "Platform/ScreenshotLocation.h"

#include <QObject>
#include <QString>
#include <QUrl>

#include <chrono>
#include <functional>
#include <optional>

class DirectoryWatcher;

// Watches the screenshot folder and reports each screenshot saved there.
class ScreenshotReactionController final : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool isObserving READ isObserving NOTIFY isObservingChanged)
    Q_PROPERTY(QString lastFilename READ lastFilename WRITE setLastFilename NOTIFY lastFilenameChanged)

public:
    // A file name seen again within this time is the same screenshot saved twice.
    static constexpr std::chrono::milliseconds repeatWindow{2000};

    // The watcher may be null, and the folder absent, when screenshots cannot be watched.
    ScreenshotReactionController(DirectoryWatcher *watcher, std::optional<ScreenshotLocation::Folder> folder,
                                 const Clock &clock, QObject *parent = nullptr);
    ~ScreenshotReactionController() override;

    std::function<void(const QUrl &file)> onScreenshot;

    void start();
    void stop();

    bool isObserving() const { return m_observing; }
    // The folder being watched, or nothing.
    std::optional<QString> watchedDirectory() const;
    QString lastFilename() const { return m_lastFilename; }
    void setLastFilename(const QString &name);

signals:
    void changed();
    void isObservingChanged(bool observing);
    void lastFilenameChanged(const QString &name);

private:
    void setObserving(bool observing);
    void fileArrived(const QString &fileName);

    DirectoryWatcher *m_watcher;
    std::optional<ScreenshotLocation::Folder> m_folder;
    const Clock &m_clock;
    std::optional<Clock::Uptime> m_lastArrival;
    bool m_observing = false;
    QString m_lastFilename;
};
