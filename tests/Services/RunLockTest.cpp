#include "Services/RunLock.h"
#include "support/TestFolders.h"

#include <QProcess>

#include <gtest/gtest.h>

#include <unistd.h>

namespace {
QString lockHolder()
{
    return QStringLiteral(PLINKLY_TEST_HELPER_DIR "/plinkly_lock_holder");
}

QString startHolder(QProcess &process, const QString &lockPath)
{
    process.start(lockHolder(), {lockPath});
    if (!process.waitForStarted(10000) || !process.waitForReadyRead(10000))
        return QStringLiteral("no answer");
    return QString::fromUtf8(process.readLine()).trimmed();
}
}

TEST(RunLock, SecondProcessIsRefusedWhileTheFirstRunsAndSucceedsAfterIt)
{
    TestFolder folder;
    const QString path = folder.filePath("plinkly.lock");

    QProcess first;
    ASSERT_EQ(startHolder(first, path), "locked");

    QProcess second;
    EXPECT_EQ(startHolder(second, path), "already-running");
    second.waitForFinished(10000);
    auto inProcess = RunLock::acquire(path);
    ASSERT_FALSE(inProcess);
    EXPECT_EQ(inProcess.error().refusal, RunLock::Refusal::alreadyRunning);

    first.closeWriteChannel();
    ASSERT_TRUE(first.waitForFinished(10000));

    QProcess third;
    EXPECT_EQ(startHolder(third, path), "locked");
    third.closeWriteChannel();
    third.waitForFinished(10000);
}

TEST(RunLock, LockFileThatIsALinkOrADirectoryIsUnusable)
{
    TestFolder folder;
    const QString target = folder.write("elsewhere", "");
    const QString link = folder.filePath("plinkly.lock");
    ASSERT_TRUE(QFile::link(target, link));
    auto linked = RunLock::acquire(link);
    ASSERT_FALSE(linked);
    EXPECT_EQ(linked.error().refusal, RunLock::Refusal::unusable);
    EXPECT_EQ(linked.error().error.code, ELOOP);
    EXPECT_FALSE(linked.error().error.message.isEmpty());

    auto directory = RunLock::acquire(folder.makeDir("a-folder"));
    ASSERT_FALSE(directory);
    EXPECT_EQ(directory.error().refusal, RunLock::Refusal::unusable);
}

TEST(RunLock, LockFileOwnedByAnotherUserOrWritableByOthersIsUnusable)
{
    TestFolder folder;
    const QString writable = folder.write("shared.lock", "");
    ASSERT_TRUE(QFile::setPermissions(writable, QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                                    | QFileDevice::ReadOther | QFileDevice::WriteOther));
    auto shared = RunLock::acquire(writable);
    ASSERT_FALSE(shared);
    EXPECT_EQ(shared.error().error.code, EPERM);

    if (::getuid() != 0)
        GTEST_SKIP() << "changing a file's owner needs root";
    const QString foreign = folder.write("foreign.lock", "");
    ASSERT_EQ(::chown(QFile::encodeName(foreign).constData(), 65534, 65534), 0);
    auto refused = RunLock::acquire(foreign);
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.error().refusal, RunLock::Refusal::unusable);
    EXPECT_EQ(refused.error().error.code, EPERM);
}
