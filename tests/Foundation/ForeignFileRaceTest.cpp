#include "Foundation/LogCategories.h"
#include "Foundation/SafeFiles.h"
#include "support/TestFolders.h"

#include <gtest/gtest.h>

#include <QFile>

#include <atomic>
#include <fcntl.h>
#include <functional>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

// Puts `path` back and forth between a plain file and another thing (a link, a FIFO) on its
// own thread, each time by an atomic rename, so the name never goes missing. Whoever looks
// at the name and then opens it may find the other thing in between.
class Swapper {
public:
    // `reader`: the thread that reads the name, watched for waiting in the open of a FIFO.
    Swapper(QString path, QByteArray plain, std::function<void(const QByteArray &)> makeOther,
            pid_t reader = ::gettid())
        : m_path(QFile::encodeName(path))
        , m_readerWait(QStringLiteral("/proc/self/task/%1/wchan").arg(reader))
        , m_thread([this, plain = std::move(plain), makeOther = std::move(makeOther)] {
            const QByteArray plainTemp = m_path + ".plain";
            const QByteArray otherTemp = m_path + ".other";
            while (!m_stop) {
                const int fd = ::open(plainTemp.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
                (void)::write(fd, plain.constData(), size_t(plain.size()));
                ::close(fd);
                // A reader stuck in the open of a FIFO about to be replaced is noted and let
                // go; it then reads the FIFO's end instead of waiting for ever.
                if (readerWaitsOnFifo())
                    ++m_waits;
                const int writer = ::open(m_path.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
                if (writer >= 0)
                    ::close(writer);
                ::rename(plainTemp.constData(), m_path.constData());
                makeOther(otherTemp);
                ::rename(otherTemp.constData(), m_path.constData());
                ++m_swaps;
            }
        })
    {
    }
    ~Swapper()
    {
        m_stop = true;
        m_thread.join();
    }
    int swaps() const { return m_swaps; }
    // How often the reader was found waiting for a FIFO's writer.
    int readerWaits() const { return m_waits; }

private:
    bool readerWaitsOnFifo() const
    {
        QFile wait(m_readerWait);
        return wait.open(QIODevice::ReadOnly) && wait.readAll() == "wait_for_partner";
    }

    QByteArray m_path;
    QString m_readerWait;
    std::atomic<int> m_waits = 0;
    std::atomic<bool> m_stop = false;
    std::atomic<int> m_swaps = 0;
    std::thread m_thread;
};

struct Outcomes {
    int plain = 0;
    int refused = 0;
    QList<QByteArray> wrong;
};

// Reads `path` many times while it is being swapped; every answer is either the plain file's
// text or a refusal.
Outcomes readWhileSwapped(const QString &path, const ForeignFile &kind, const QByteArray &plain, const Swapper &swapper)
{
    Outcomes outcomes;
    for (int read = 0; read < 20000 || (swapper.swaps() < 200 && read < 200000); ++read) {
        const std::optional<QByteArray> bytes = SafeFiles::readForeign(path, kind);
        if (!bytes)
            ++outcomes.refused;
        else if (*bytes == plain)
            ++outcomes.plain;
        else if (outcomes.wrong.size() < 5)
            outcomes.wrong << *bytes;
    }
    return outcomes;
}

QByteArray lastLine(const QByteArray &text)
{
    const QList<QByteArray> lines = text.trimmed().split('\n');
    return lines.last();
}

const ForeignFile noLinks{"test table", 1 << 20, ForeignFile::Links::refuse, ForeignFile::Excess::refuse, &logSystem};
const ForeignFile linked{"test entry", 1 << 20, ForeignFile::Links::follow, ForeignFile::Excess::refuse, &logDesktop};

}

TEST(ForeignFileRace, ALinkSwappedInAfterTheLookIsNeverFollowed)
{
    TestFolder folder;
    const QString secret = folder.write("secret", "not yours\n");
    const QString path = folder.filePath("table");
    const QByteArray plain = "mine\n";
    const Swapper swapper(path, plain, [&secret](const QByteArray &at) {
        ::symlink(QFile::encodeName(secret).constData(), at.constData());
    });
    const Outcomes outcomes = readWhileSwapped(path, noLinks, plain, swapper);
    EXPECT_TRUE(outcomes.wrong.isEmpty()) << outcomes.wrong.first().toStdString();
    EXPECT_GT(outcomes.plain, 0);
    EXPECT_GT(outcomes.refused, 0);
}

TEST(ForeignFileRace, AFifoSwappedInAfterTheLookIsNeitherWaitedOnNorRead)
{
    TestFolder folder;
    const QString path = folder.filePath("entry.desktop");
    const QByteArray plain = "[Desktop Entry]\n";
    const Swapper swapper(path, plain, [](const QByteArray &at) { ::mkfifo(at.constData(), 0600); });
    const Outcomes outcomes = readWhileSwapped(path, linked, plain, swapper);
    EXPECT_EQ(swapper.readerWaits(), 0);
    EXPECT_TRUE(outcomes.wrong.isEmpty()) << "read " << outcomes.wrong.size() << " times something else, first \""
                                          << outcomes.wrong.value(0).toStdString() << "\"";
    EXPECT_GT(outcomes.plain, 0);
    EXPECT_GT(outcomes.refused, 0);
}

// A file that grows after its size was looked at: what is read never passes the kind's limit.
TEST(ForeignFileRace, AFileGrowingWhileReadStaysWithinTheLimit)
{
    TestFolder folder;
    const QString path = folder.write("growing", {});
    constexpr qint64 limit = 4096;
    const ForeignFile kind{"test file", limit, ForeignFile::Links::refuse, ForeignFile::Excess::refuse, &logSystem};
    std::atomic<bool> stop = false;
    std::atomic<int> rounds = 0;
    std::thread writer([&] {
        const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CLOEXEC);
        const QByteArray chunk(256, 'x');
        while (!stop) {
            (void)::ftruncate(fd, 0);
            ::lseek(fd, 0, SEEK_SET);
            for (qint64 written = 0; written < 3 * limit; written += chunk.size())
                (void)::write(fd, chunk.constData(), size_t(chunk.size()));
            ++rounds;
        }
        ::close(fd);
    });
    qsizetype longest = 0;
    int accepted = 0;
    int refused = 0;
    for (int read = 0; read < 20000 || (rounds < 200 && read < 200000); ++read) {
        const std::optional<QByteArray> bytes = SafeFiles::readForeign(path, kind);
        if (!bytes) {
            ++refused;
            continue;
        }
        ++accepted;
        longest = std::max(longest, bytes->size());
        EXPECT_EQ(bytes->count('x'), bytes->size());
    }
    stop = true;
    writer.join();
    EXPECT_LE(longest, limit);
    EXPECT_GT(accepted, 0);
    EXPECT_GT(refused, 0);
}

// Files in /proc report no size: they are read to their end, and their length still counts.
TEST(ForeignFileRace, FilesWithoutASizeAreReadWholeAndStillLimited)
{
    const QString maps = QStringLiteral("/proc/self/maps");
    QFile file(maps);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray direct = file.readAll();
    struct stat info{};
    ASSERT_EQ(::stat("/proc/self/maps", &info), 0);
    ASSERT_EQ(info.st_size, 0);
    ASSERT_GT(direct.size(), 8192) << "this process's map is expected to span several pages";

    const std::optional<QByteArray> whole = SafeFiles::readForeign(maps, ForeignFiles::kernelTable);
    ASSERT_TRUE(whole);
    EXPECT_GT(whole->size(), 8192);
    EXPECT_EQ(lastLine(*whole), lastLine(direct)) << "read to the end";

    const ForeignFile small{"test table", 1000, ForeignFile::Links::refuse, ForeignFile::Excess::refuse, &logSystem};
    EXPECT_FALSE(SafeFiles::readForeign(maps, small)) << "longer than its kind allows";
    const ForeignFile head{"test table", 1000, ForeignFile::Links::refuse, ForeignFile::Excess::cut, &logSystem};
    const std::optional<QByteArray> start = SafeFiles::readForeign(maps, head);
    ASSERT_TRUE(start);
    EXPECT_EQ(start->size(), 1000);
    // The program's own first mapping does not move; the lines after it may.
    EXPECT_TRUE(direct.startsWith(start->left(start->indexOf('\n') + 1)));
}
