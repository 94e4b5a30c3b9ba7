#include "Effects/ScreenshotReactionController.h"

#include "Effects/ScreenshotFilePolicy.h"
#include "Foundation/PublishedProperty.h"
#include "Platform/DirectoryWatcher.h"

#include <QDir>

ScreenshotReactionController::ScreenshotReactionController(DirectoryWatcher *watcher,
                                                           std::optional<ScreenshotLocation::Folder> folder,
                                                           const Clock &clock, QObject *parent)
    : QObject(parent)
    , m_watcher(watcher)
    , m_folder(std::move(folder))
    , m_clock(clock)
{
}

ScreenshotReactionController::~ScreenshotReactionController()
{
    stop();
}

std::optional<QString> ScreenshotReactionController::watchedDirectory() const
{
    if (!m_observing || !m_folder)
        return std::nullopt;
    return m_folder->path;
}

void ScreenshotReactionController::start()
{
    if (m_observing || !m_watcher || !m_folder)
        return;
    setObserving(m_watcher->start(m_folder->path, [this](const QString &fileName) { fileArrived(fileName); }));
}

void ScreenshotReactionController::stop()
{
    if (!m_observing)
        return;
    m_watcher->stop();
    setObserving(false);
}

void ScreenshotReactionController::setLastFilename(const QString &name)
{
    publish(this, m_lastFilename, name, &ScreenshotReactionController::lastFilenameChanged);
}

void ScreenshotReactionController::setObserving(bool observing)
{
    publish(this, m_observing, observing, &ScreenshotReactionController::isObservingChanged);
}

void ScreenshotReactionController::fileArrived(const QString &fileName)
{
    if (!ScreenshotFilePolicy::isScreenshotFile(fileName, m_folder->screenshotsOnly))
        return;
    // Tools that save twice (write, then add metadata) react once; a later screenshot that
    // reuses the name is a new one.
    const Clock::Uptime now = m_clock.uptime();
    if (fileName == m_lastFilename && m_lastArrival && now - *m_lastArrival < repeatWindow)
        return;
    m_lastArrival = now;
    setLastFilename(fileName);
    if (onScreenshot)
        onScreenshot(QUrl::fromLocalFile(QDir(m_folder->path).filePath(fileName)));
}
