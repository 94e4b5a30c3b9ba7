#include "Services/Packs/PackFileReader.h"
#include "support/TestFolders.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

TEST(PackFileReader, ReadsOnlyPlainFilesOfTheUserWithinTheLimit)
{
    TestFolder folder;
    folder.write("pack/samples/ok.wav", "12345");
    folder.write("outside.wav", "secret");
    folder.makeDir("pack/dir");
    QFile::link(folder.filePath("outside.wav"), folder.filePath("pack/link.wav"));
    QFile::link(folder.filePath("pack/samples"), folder.filePath("pack/linked"));
    ::mkfifo(QFile::encodeName(folder.filePath("pack/fifo")).constData(), 0600);
    const QString foreign = folder.write("pack/foreign.wav", "x");
    const bool canChown = ::chown(QFile::encodeName(foreign).constData(), 4242, 4242) == 0;

    struct Case {
        const char *path;
        qint64 maxBytes;
        int code; // 0: readable
    };
    const Case cases[] = {
        {"samples/ok.wav", 5, 0},
        {"samples/ok.wav", 4, CocoaError::fileReadTooLarge},
        {"samples/absent.wav", 100, CocoaError::fileReadNoSuchFile},
        {"absent/ok.wav", 100, CocoaError::fileReadNoSuchFile},
        {"link.wav", 100, CocoaError::fileReadUnknown},
        {"linked/ok.wav", 100, CocoaError::fileReadUnknown},
        {"fifo", 100, CocoaError::fileReadUnknown},
        {"dir", 100, CocoaError::fileReadUnknown},
        {"foreign.wav", 100, CocoaError::fileReadNoPermission},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.path);
        if (QString(c.path) == "foreign.wav" && !canChown)
            continue;
        auto read = PackFileReader::read(folder.filePath("pack"), c.path, c.maxBytes,
                                         PackFileReader::Ownership::currentUser);
        if (c.code == 0) {
            ASSERT_TRUE(read) << read.error().message.toStdString();
            EXPECT_EQ(*read, "12345");
            continue;
        }
        ASSERT_FALSE(read);
        EXPECT_EQ(read.error().domain, "NSCocoaErrorDomain");
        EXPECT_EQ(read.error().code, c.code);
    }

    if (canChown) {
        EXPECT_TRUE(PackFileReader::read(folder.filePath("pack"), "foreign.wav", 100, PackFileReader::Ownership::anyone));
    }
    auto linked = PackFileReader::readFile(folder.filePath("pack/link.wav"), 100, PackFileReader::Ownership::anyone);
    ASSERT_FALSE(linked);
    EXPECT_EQ(linked.error().code, CocoaError::fileReadUnknown);
}
