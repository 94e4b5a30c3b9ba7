#pragma once

#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>

#include <chrono>
#include <condition_variable>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

// Files no reader may hang on or read without end: a FIFO, links to a FIFO and to endless
// character devices, and a 1 GiB sparse file. made() names them "<kind><suffix>" in a folder;
// the FIFO the link points to sits beside them without the suffix.
struct HostileFiles {
    static constexpr qint64 hugeBytes = qint64(1) << 30;

    QStringList fifos;
    QStringList paths;

    HostileFiles(const QString &folder, const QString &suffix)
    {
        QDir().mkpath(folder);
        const QDir dir(folder);
        const QString target = dir.filePath(QStringLiteral("fifo-target"));
        const QString fifo = dir.filePath(QStringLiteral("fifo") + suffix);
        for (const QString &path : {target, fifo}) {
            ::mkfifo(QFile::encodeName(path).constData(), 0600);
            fifos << path;
        }
        paths << fifo;
        const std::pair<const char *, QString> links[] = {{"fifo-link", target},
                                                          {"zero-link", QStringLiteral("/dev/zero")},
                                                          {"urandom-link", QStringLiteral("/dev/urandom")}};
        for (const auto &[name, to] : links) {
            paths << dir.filePath(QLatin1String(name) + suffix);
            QFile::link(to, paths.last());
        }
        paths << dir.filePath(QStringLiteral("huge") + suffix);
        QFile huge(paths.last());
        huge.open(QIODevice::WriteOnly);
        huge.resize(hugeBytes);
    }
};

// Guards work that must not block on a FIFO: when it has not finished within the limit,
// every FIFO is opened for writing and closed again, which releases a reader stuck in open()
// or read(), so a hang fails the test instead of stalling the suite.
class FifoWatchdog {
public:
    FifoWatchdog(QStringList fifos, std::chrono::milliseconds limit = std::chrono::seconds(5))
        : m_thread([this, fifos = std::move(fifos), limit] {
            std::unique_lock lock(m_mutex);
            if (m_done.wait_for(lock, limit, [this] { return m_finished; }))
                return;
            m_fired = true;
            // Until the stuck reader lets go; each open finds it waiting.
            while (!m_done.wait_for(lock, std::chrono::milliseconds(50), [this] { return m_finished; })) {
                for (const QString &fifo : fifos) {
                    const int fd = ::open(QFile::encodeName(fifo).constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
                    if (fd >= 0)
                        ::close(fd);
                }
            }
        })
    {
    }
    ~FifoWatchdog() { finish(); }

    // Whether the work had to be released.
    bool finish()
    {
        {
            std::lock_guard lock(m_mutex);
            m_finished = true;
        }
        m_done.notify_all();
        if (m_thread.joinable())
            m_thread.join();
        return m_fired;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_done;
    bool m_finished = false;
    bool m_fired = false;
    std::thread m_thread;
};
