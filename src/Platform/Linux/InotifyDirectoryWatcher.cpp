#include "Platform/Linux/InotifyDirectoryWatcher.h"

#include <QFile>
#include <QSocketNotifier>

#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

InotifyDirectoryWatcher::InotifyDirectoryWatcher(QObject *parent) : QObject(parent) {}

InotifyDirectoryWatcher::~InotifyDirectoryWatcher()
{
    stop();
}

bool InotifyDirectoryWatcher::start(const QString &folder, Handler handler)
{
    stop();
    UniqueFd fd(inotify_init1(IN_NONBLOCK | IN_CLOEXEC));
    const QByteArray path = QFile::encodeName(folder);
    if (!fd
        || inotify_add_watch(fd.get(), path.constData(),
                             IN_CREATE | IN_CLOSE_WRITE | IN_MOVED_TO | IN_MOVED_FROM | IN_DELETE | IN_ONLYDIR) < 0)
        return false;
    m_fd = std::move(fd);
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
    m_created.clear();
}

void InotifyDirectoryWatcher::readEvents()
{
    alignas(struct inotify_event) char buffer[16 * 1024];
    for (;;) {
        const ssize_t length = ::read(m_fd.get(), buffer, sizeof buffer);
        if (length <= 0)
            return;
        QStringList names;
        for (ssize_t offset = 0; offset < length;) {
            const auto *event = reinterpret_cast<const struct inotify_event *>(buffer + offset);
            offset += ssize_t(sizeof(struct inotify_event) + event->len);
            if (event->len == 0 || (event->mask & IN_ISDIR))
                continue;
            const QString name = QFile::decodeName(QByteArray(event->name, qsizetype(std::strlen(event->name))));
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
    }
}
