#include "Effects/ArrivalReactionController.h"

#include "Effects/ArrivalReactionPolicy.h"
#include "Foundation/Clock.h"
#include "Foundation/PublishedProperty.h"
#include "Platform/DirectoryWatcher.h"
#include "Platform/DisplayWatcher.h"
#include "Platform/MountWatcher.h"

#include <QDir>
#include <QFileInfo>

ArrivalReactionController::ArrivalReactionController(DirectoryWatcher *downloads, QString downloadsFolder,
                                                     MountWatcher *mounts, DisplayWatcher *displays, const Clock &clock,
                                                     QObject *parent)
    : QObject(parent)
    , m_downloads(downloads)
    , m_downloadsFolder(std::move(downloadsFolder))
    , m_mounts(mounts)
    , m_displays(displays)
    , m_clock(clock)
{
}

ArrivalReactionController::~ArrivalReactionController()
{
    m_running = false;
    reconcile();
}

void ArrivalReactionController::configure(bool downloadsEnabled, bool devicesEnabled)
{
    m_downloadsEnabled = downloadsEnabled;
    m_devicesEnabled = devicesEnabled;
    reconcile();
}

void ArrivalReactionController::start()
{
    m_running = true;
    reconcile();
}

void ArrivalReactionController::stop()
{
    m_running = false;
    reconcile();
}

void ArrivalReactionController::setLastEventText(const QString &text)
{
    publish(this, m_lastEventText, text, &ArrivalReactionController::lastEventTextChanged);
}

void ArrivalReactionController::emitReaction(const ArrivalReactionEvent &event)
{
    setLastEventText(event.text());
    if (onReaction)
        onReaction(event);
}

void ArrivalReactionController::reconcile()
{
    const bool wasObserving = isObserving();

    const bool wantDownloads = m_running && m_downloadsEnabled && m_downloads && !m_downloadsFolder.isEmpty();
    if (wantDownloads && !m_watchingDownloads) {
        m_recentFiles.clear();
        m_watchingDownloads =
            m_downloads->start(m_downloadsFolder, [this](const QString &fileName) { fileArrived(fileName); });
    } else if (!wantDownloads && m_watchingDownloads) {
        m_downloads->stop();
        m_watchingDownloads = false;
    }

    const bool wantDevices = m_running && m_devicesEnabled;
    if (wantDevices && !m_watchingMounts && m_mounts) {
        m_mountPoints.clear();
        for (const QString &point : ArrivalReactionPolicy::userVisibleMountPoints(m_mounts->mounts()))
            m_mountPoints.insert(point);
        m_watchingMounts = m_mounts->start([this] { mountsChanged(); });
    } else if (!wantDevices && m_watchingMounts) {
        m_mounts->stop();
        m_watchingMounts = false;
    }
    if (wantDevices && !m_watchingDisplays && m_displays) {
        m_watchingDisplays = m_displays->start([this](DisplayChange change) { displayChanged(change); });
    } else if (!wantDevices && m_watchingDisplays) {
        m_displays->stop();
        m_watchingDisplays = false;
    }

    if (isObserving() != wasObserving) {
        emit isObservingChanged(isObserving());
        emit changed();
    }
}

void ArrivalReactionController::fileArrived(const QString &fileName)
{
    if (!m_downloadsEnabled || !ArrivalReactionPolicy::isFinishedDownloadName(fileName))
        return;
    const QFileInfo info(QDir(m_downloadsFolder).filePath(fileName));
    if (!info.isFile())
        return;
    const auto weight = ArrivalReactionPolicy::weight(info.size());
    if (!weight)
        return;
    const double now = uptimeSeconds(m_clock.uptime());
    for (auto it = m_recentFiles.begin(); it != m_recentFiles.end();) {
        if (now - it.value() >= repeatWindowMs / 1000.0)
            it = m_recentFiles.erase(it);
        else
            ++it;
    }
    if (m_recentFiles.contains(fileName))
        return;
    m_recentFiles.insert(fileName, now);
    emitReaction(ArrivalReactionEvent::download(*weight));
}

void ArrivalReactionController::mountsChanged()
{
    QSet<QString> current;
    for (const QString &point : ArrivalReactionPolicy::userVisibleMountPoints(m_mounts->mounts()))
        current.insert(point);
    const bool connected = !(current - m_mountPoints).isEmpty();
    const bool disconnected = !(m_mountPoints - current).isEmpty();
    m_mountPoints = current;
    if (!m_devicesEnabled)
        return;
    // A drive with several partitions mounts them together: one reaction per change.
    if (disconnected)
        emitReaction(ArrivalReactionEvent::of(ArrivalReactionEvent::Kind::volumeDisconnected));
    if (connected)
        emitReaction(ArrivalReactionEvent::of(ArrivalReactionEvent::Kind::volumeConnected));
}

void ArrivalReactionController::displayChanged(DisplayChange change)
{
    if (!m_devicesEnabled)
        return;
    emitReaction(ArrivalReactionEvent::of(change == DisplayChange::connected
                                              ? ArrivalReactionEvent::Kind::displayConnected
                                              : ArrivalReactionEvent::Kind::displayDisconnected));
}
