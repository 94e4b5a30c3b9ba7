#include "Foundation/ClosableLibrary.h"

#include <gtest/gtest.h>

#include <QFile>

namespace {
// A library the test program neither links nor otherwise loads.
constexpr const char *libraryName = "libsndfile.so.1";

struct VersionLibrary {
    const char *(*version)() = nullptr;
    const char *(*missing)() = nullptr;
};

bool mapped()
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("/libsndfile.so");
}
}

TEST(ClosableLibrary, StaysOpenWhileAnyHandleLives)
{
    ClosableLibrary<VersionLibrary> library(libraryName, [](DynamicLibrary &loaded, VersionLibrary &table) {
        loaded.bind(table.version, "sf_version_string");
    });
    ASSERT_FALSE(mapped());

    auto first = library.acquire();
    ASSERT_TRUE(first) << first.error().toStdString();
    auto second = library.acquire();
    ASSERT_TRUE(second);
    EXPECT_EQ(first->get(), second->get());
    EXPECT_TRUE(mapped());

    first->reset();
    EXPECT_TRUE(mapped());
    EXPECT_TRUE(QByteArray((*second)->version()).startsWith("libsndfile"));
    second->reset();
    EXPECT_FALSE(mapped());

    const auto again = library.acquire();
    ASSERT_TRUE(again);
    EXPECT_TRUE(mapped());
    EXPECT_TRUE(QByteArray((*again)->version()).startsWith("libsndfile"));
}

// A missing library or function is an answer, asked anew each time and never left open.
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
    EXPECT_FALSE(mapped());
}
