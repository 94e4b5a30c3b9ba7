#include "Foundation/PrivateTempDir.h"
#include "Foundation/SafeFiles.h"
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
