#include "Foundation/ClosableLibrary.h"
#include "support/TestSndFile.h"

#include <gtest/gtest.h>

namespace {
// A library the test program does not link.
constexpr const char *libraryName = "libsndfile.so.1";

struct VersionLibrary {
    const char *(*version)() = nullptr;
    const char *(*missing)() = nullptr;
};
}

TEST(ClosableLibrary, StaysOpenWhileAnyHandleLives)
{
    if (TestSndFile::pulseAudioMapped())
        GTEST_SKIP() << "PulseAudio's client library keeps libsndfile mapped";
    ClosableLibrary<VersionLibrary> library(libraryName, [](DynamicLibrary &loaded, VersionLibrary &table) {
        loaded.bind(table.version, "sf_version_string");
    });
    ASSERT_FALSE(TestSndFile::mapped());

    auto first = library.acquire();
    ASSERT_TRUE(first) << first.error().toStdString();
    auto second = library.acquire();
    ASSERT_TRUE(second);
    EXPECT_EQ(first->get(), second->get());
    EXPECT_TRUE(TestSndFile::mapped());

    first->reset();
    EXPECT_TRUE(TestSndFile::mapped());
    EXPECT_TRUE(QByteArray((*second)->version()).startsWith("libsndfile"));
    second->reset();
    EXPECT_FALSE(TestSndFile::mapped());

    const auto again = library.acquire();
    ASSERT_TRUE(again);
    EXPECT_TRUE(TestSndFile::mapped());
    EXPECT_TRUE(QByteArray((*again)->version()).startsWith("libsndfile"));
}

// A missing library or function gives the reason, never a table, and leaves nothing open.
TEST(ClosableLibrary, SaysWhyItCannotOpen)
{
    ClosableLibrary<VersionLibrary> absent("libplinkly-absent.so.0", [](DynamicLibrary &loaded, VersionLibrary &table) {
        loaded.bind(table.version, "sf_version_string");
    });
    for (int attempt = 0; attempt < 2; ++attempt) {
        const auto handle = absent.acquire();
        ASSERT_FALSE(handle);
        EXPECT_TRUE(handle.error().contains("libplinkly-absent.so.0")) << handle.error().toStdString();
    }

    ClosableLibrary<VersionLibrary> lacking(libraryName, [](DynamicLibrary &loaded, VersionLibrary &table) {
        loaded.bind(table.version, "sf_version_string");
        loaded.bind(table.missing, "plinkly_no_such_function");
    });
    const auto handle = lacking.acquire();
    ASSERT_FALSE(handle);
    EXPECT_TRUE(handle.error().contains("plinkly_no_such_function")) << handle.error().toStdString();
    if (!TestSndFile::pulseAudioMapped()) {
        EXPECT_FALSE(TestSndFile::mapped());
    }
}
