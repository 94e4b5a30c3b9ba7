#include "Platform/Linux/InotifyDirectoryWatcher.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>

#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {
constexpr uint32_t folderEvents = IN_CREATE | IN_CLOSE_WRITE | IN_MOVED_TO | IN_MOVED_FROM | IN_DELETE | IN_ONLYDIR;
// The watched folder or parent itself went away.
constexpr uint32_t goneEvents = IN_DELETE_SELF | IN_MOVE_SELF | IN_IGNORED | IN_UNMOUNT;
constexpr uint32_t parentEvents = IN_CREATE | IN_MOVED_TO | IN_ONLYDIR;
}

InotifyDirectoryWatcher::InotifyDirectoryWatcher(QObject *parent) : QObject(parent) {}

InotifyDirectoryWatcher::~InotifyDirectoryWatcher()
{
    stop();
}

bool InotifyDirectoryWatcher::start(const QString &folder, Handler handler)
{
    stop();
    m_fd = UniqueFd(inotify_init1(IN_NONBLOCK | IN_CLOEXEC));
    m_folder = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    if (!m_fd || !attach()) {
        stop();
        return false;
    }
    m_handler = std::move(handler);
    m_notifier = std::make_unique<QSocketNotifier>(m_fd.get(), QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, &InotifyDirectoryWatcher::readEvents);
    return true;
}

void InotifyDirectoryWatcher::stop()
{
    m_notifier.reset();
    m_fd.reset();
    m_handler = nullptr;
    m_folderWatch = m_parentWatch = -1;
    m_awaitedName.clear();
    m_created.clear();
}

bool InotifyDirectoryWatcher::attach()
{
    for (const int watch : {m_folderWatch, m_parentWatch}) {
        if (watch >= 0)
            inotify_rm_watch(m_fd.get(), watch);
    }
    m_folderWatch = m_parentWatch = -1;
    m_awaitedName.clear();
    m_created.clear();
    // Each turn either watches the folder or waits in a parent; a parent that made the next
    // folder down before it was watched sends the walk down again.
    for (;;) {
        m_folderWatch = inotify_add_watch(m_fd.get(), QFile::encodeName(m_folder).constData(), folderEvents | goneEvents);
        if (m_folderWatch >= 0)
            return true;
        QString child = m_folder;
        QString parent = QFileInfo(child).path();
        while (parent != child && !QFileInfo(parent).isDir()) {
            child = parent;
            parent = QFileInfo(child).path();
        }
        if (parent == child)
            return false;
        m_parentWatch = inotify_add_watch(m_fd.get(), QFile::encodeName(parent).constData(), parentEvents | goneEvents);
        if (m_parentWatch < 0)
            return false;
        m_awaitedName = QFileInfo(child).fileName();
        if (!QFileInfo(child).isDir())
            return true;
        inotify_rm_watch(m_fd.get(), m_parentWatch);
        m_parentWatch = -1;
    }
}

void InotifyDirectoryWatcher::readEvents()
{
    alignas(struct inotify_event) char buffer[16 * 1024];
    for (;;) {
        const ssize_t length = ::read(m_fd.get(), buffer, sizeof buffer);
        if (length <= 0)
            return;
        QStringList names;
        bool reattach = false;
        for (ssize_t offset = 0; offset < length;) {
            const auto *event = reinterpret_cast<const struct inotify_event *>(buffer + offset);
            offset += ssize_t(sizeof(struct inotify_event) + event->len);
            const QString name = event->len == 0
                ? QString()
                : QFile::decodeName(QByteArray(event->name, qsizetype(std::strlen(event->name))));
            if (event->wd == m_parentWatch) {
                // The way down to the folder grew, or the parent itself went.
                reattach = reattach || (event->mask & goneEvents) || name == m_awaitedName;
                continue;
            }
            if (event->wd != m_folderWatch)
                continue;
            if (event->mask & goneEvents) {
                reattach = true;
                continue;
            }
            if (event->len == 0 || (event->mask & IN_ISDIR))
                continue;
            if (event->mask & IN_CREATE) {
                m_created.insert(name);
            } else if (event->mask & IN_CLOSE_WRITE) {
                // Only the first close of a file made here finishes it; rewrites of older files do not.
                if (m_created.remove(name))
                    names.append(name);
            } else {
                m_created.remove(name);
                if (event->mask & IN_MOVED_TO)
                    names.append(name);
            }
        }
        // The handler may stop this watcher; copy it before calling out.
        const Handler handler = m_handler;
        for (const QString &name : names) {
            if (handler)
                handler(name);
        }
        if (!m_fd)
            return;
        if (reattach)
            attach();
    }
}
