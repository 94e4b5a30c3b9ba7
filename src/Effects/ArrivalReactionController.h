#pragma once

#include "Effects/ArrivalReactionEvent.h"

#include <QHash>
#include <QObject>
#include <QSet>
#include <QString>

#include <functional>

class Clock;
class DirectoryWatcher;
class DisplayWatcher;
class MountWatcher;
enum class DisplayChange;

// Finished downloads, drives and displays arriving or leaving. Watchers run while the
// controller runs and their kind is enabled.
class ArrivalReactionController final : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool isObserving READ isObserving NOTIFY isObservingChanged)
    Q_PROPERTY(QString lastEventText READ lastEventText WRITE setLastEventText NOTIFY lastEventTextChanged)

public:
    // A finished file reported again this soon (a second close, a rename after writing)
    // reacts once.
    static constexpr int repeatWindowMs = 2000;

    // Any watcher may be null when this session cannot report its events.
    ArrivalReactionController(DirectoryWatcher *downloads, QString downloadsFolder, MountWatcher *mounts,
                              DisplayWatcher *displays, const Clock &clock, QObject *parent = nullptr);
    ~ArrivalReactionController() override;

    bool downloadsEnabled() const { return m_downloadsEnabled; }
    bool devicesEnabled() const { return m_devicesEnabled; }
    void configure(bool downloadsEnabled, bool devicesEnabled);

    void start();
    void stop();

    // Publishes the event's text and hands the event on; the enabled kinds are not checked.
    void emitReaction(const ArrivalReactionEvent &event);
    std::function<void(const ArrivalReactionEvent &)> onReaction;

    bool isObserving() const { return m_watchingDownloads || m_watchingMounts || m_watchingDisplays; }
    QString lastEventText() const { return m_lastEventText; }
    void setLastEventText(const QString &text);
    QString downloadsFolder() const { return m_downloadsFolder; }

signals:
    void changed();
    void isObservingChanged(bool observing);
    void lastEventTextChanged(const QString &text);

private:
    void reconcile();
    void fileArrived(const QString &fileName);
    void mountsChanged();
    void displayChanged(DisplayChange change);

    DirectoryWatcher *m_downloads;
    QString m_downloadsFolder;
    MountWatcher *m_mounts;
    DisplayWatcher *m_displays;
    const Clock &m_clock;
    bool m_running = false;
    bool m_downloadsEnabled = true;
    bool m_devicesEnabled = true;
    bool m_watchingDownloads = false;
    bool m_watchingMounts = false;
    bool m_watchingDisplays = false;
    QString m_lastEventText;
    QSet<QString> m_mountPoints;
    QHash<QString, double> m_recentFiles;
};
