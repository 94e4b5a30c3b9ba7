#include "Foundation/LogCategories.h"
#include "Foundation/PrivateTempDir.h"
#include "Foundation/SafeFiles.h"
#include "support/HostileFiles.h"
#include "support/TestFolders.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <sys/stat.h>

TEST(SafeFiles, MoveNeverReplacesAFileOrFolder)
{
    TestFolder folder;
    const QString source = folder.write("source.txt", "new");
    const QString existingFile = folder.write("existing.txt", "old");
    const QString existingDir = folder.makeDir("existing-dir");

    for (const QString &destination : {existingFile, existingDir}) {
        auto moved = SafeFiles::moveNoReplace(source, destination);
        ASSERT_FALSE(moved);
        EXPECT_EQ(moved.error().code, CocoaError::fileWriteFileExists);
    }
    QFile old(existingFile);
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), "old");
    EXPECT_TRUE(QFile::exists(source));

    ASSERT_TRUE(SafeFiles::moveNoReplace(source, folder.filePath("fresh.txt")));
    EXPECT_FALSE(QFile::exists(source));
    EXPECT_TRUE(QFile::exists(folder.filePath("fresh.txt")));
}

namespace {
template <int Error>
int refusedRename(const char *, const char *)
{
    errno = Error;
    return -1;
}
}

TEST(SafeFiles, WithoutTheAtomicRenameFilesAndFoldersStillMoveWithoutReplacing)
{
    for (const SafeFiles::RenameNoReplace refused : {&refusedRename<EINVAL>, &refusedRename<ENOSYS>}) {
        TestFolder folder;
        const QString file = folder.write("file.txt", "new");
        const QString dir = folder.makeDir("dir");
        folder.write("dir/inside.txt", "kept");
        const QString existingFile = folder.write("existing.txt", "old");
        const QString existingDir = folder.makeDir("existing-dir");
        folder.write("existing-dir/old.txt", "old");
        const QString emptyDir = folder.makeDir("empty-dir");

        for (const QString &source : {file, dir}) {
            for (const QString &destination : {existingFile, existingDir, emptyDir}) {
                auto moved = SafeFiles::moveNoReplace(source, destination, refused);
                ASSERT_FALSE(moved) << (source + " -> " + destination).toStdString();
                EXPECT_EQ(moved.error().code, CocoaError::fileWriteFileExists);
                EXPECT_TRUE(QFileInfo::exists(source));
            }
        }
        EXPECT_TRUE(QFileInfo::exists(existingDir + "/old.txt"));
        EXPECT_TRUE(QDir(emptyDir).isEmpty());

        ASSERT_TRUE(SafeFiles::moveNoReplace(file, folder.filePath("moved.txt"), refused));
        ASSERT_TRUE(SafeFiles::moveNoReplace(dir, folder.filePath("moved-dir"), refused));
        EXPECT_FALSE(QFileInfo::exists(file));
        EXPECT_FALSE(QFileInfo::exists(dir));
        EXPECT_TRUE(QFileInfo(folder.filePath("moved.txt")).isFile());
        EXPECT_TRUE(QFileInfo::exists(folder.filePath("moved-dir/inside.txt")));

        auto missing = SafeFiles::moveNoReplace(folder.filePath("absent"), folder.filePath("target"), refused);
        ASSERT_FALSE(missing);
        EXPECT_EQ(missing.error().code, CocoaError::fileNoSuchFile);
    }
}

TEST(SafeFiles, MissingSourceIsReported)
{
    TestFolder folder;
    auto moved = SafeFiles::moveNoReplace(folder.filePath("absent"), folder.filePath("target"));
    ASSERT_FALSE(moved);
    EXPECT_EQ(moved.error().code, CocoaError::fileNoSuchFile);
}

TEST(PrivateTempDir, IsPrivateAndRemovedWithItsContents)
{
    QString path;
    {
        auto dir = PrivateTempDir::create(QStringLiteral("plinkly-test-"));
        ASSERT_TRUE(dir);
        path = dir->path();
        struct stat info{};
        ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0700u);
        QFile file(dir->filePath("clip.wav"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("data");
    }
    EXPECT_FALSE(QFileInfo::exists(path));
}

TEST(SafeFiles, ForeignFilesAreReadOnlyWhenPlainAndWithinTheirLimit)
{
    TestFolder folder;
    const HostileFiles hostile(folder.path(), QStringLiteral(".conf"));
    const QString plain = folder.write("plain.conf", "[KDE]\n");
    const QString plainLink = folder.filePath("plain-link.conf");
    QFile::link(plain, plainLink);
    const ForeignFile tiny{"test file", 8, ForeignFile::Links::refuse, ForeignFile::Excess::refuse, &logSystem};
    const ForeignFile following{"test file", 8, ForeignFile::Links::follow, ForeignFile::Excess::refuse, &logSystem};
    const ForeignFile head{"test file", 4, ForeignFile::Links::follow, ForeignFile::Excess::cut, &logSystem};
    const QString atLimit = folder.write("eight.conf", "12345678");
    const QString overLimit = folder.write("nine.conf", "123456789");

    struct Case {
        QString path;
        const ForeignFile &kind;
        std::optional<QByteArray> expected;
    };
    std::vector<Case> cases{
        {plain, tiny, "[KDE]\n"},
        {plainLink, tiny, std::nullopt},
        {plainLink, following, "[KDE]\n"},
        {atLimit, tiny, "12345678"},
        {overLimit, tiny, std::nullopt},
        {overLimit, head, "1234"},
        {folder.path(), following, std::nullopt},
        {folder.filePath("missing.conf"), following, std::nullopt},
    };
    for (const QString &path : hostile.paths) {
        cases.push_back({path, following, std::nullopt});
        cases.push_back({path, tiny, std::nullopt});
    }
    // The start of a huge plain file is still there to be recognised.
    cases.push_back({hostile.paths.last(), head, QByteArray(4, '\0')});

    FifoWatchdog watchdog(hostile.fifos);
    for (const Case &c : cases)
        EXPECT_EQ(SafeFiles::readForeign(c.path, c.kind), c.expected) << c.path.toStdString();
    EXPECT_FALSE(watchdog.finish()) << "a read waited on a FIFO";
    EXPECT_FALSE(SafeFiles::openForeign(hostile.paths.first(), following)) << "a FIFO is not opened for later reads";
}
