#include "Foundation/UniqueFd.h"

#include <gtest/gtest.h>

#include <fcntl.h>

namespace {
bool isOpen(int fd)
{
    return ::fcntl(fd, F_GETFD) != -1;
}

UniqueFd openFd()
{
    return UniqueFd(::open("/dev/null", O_RDONLY | O_CLOEXEC));
}
}

TEST(UniqueFd, OwnsExactlyOneDescriptorAndClosesItOnce)
{
    UniqueFd empty;
    EXPECT_FALSE(empty);
    EXPECT_EQ(empty.reset(), 0);

    int fd = -1;
    {
        UniqueFd first = openFd();
        fd = first.get();
        ASSERT_TRUE(first);
        UniqueFd second(std::move(first));
        EXPECT_FALSE(first);
        EXPECT_EQ(second.get(), fd);
        second = std::move(second);
        EXPECT_EQ(second.get(), fd);
        EXPECT_TRUE(isOpen(fd));
    }
    EXPECT_FALSE(isOpen(fd));

    UniqueFd replaced = openFd();
    const int old = replaced.get();
    UniqueFd incoming = openFd();
    const int fresh = incoming.get();
    replaced = std::move(incoming);
    EXPECT_FALSE(isOpen(old));
    EXPECT_EQ(replaced.get(), fresh);
    EXPECT_EQ(replaced.reset(), 0);
    EXPECT_FALSE(isOpen(fresh));
    EXPECT_FALSE(replaced);
}

TEST(UniqueFd, ReleaseHandsTheDescriptorBackOpen)
{
    UniqueFd owner = openFd();
    const int fd = owner.release();
    EXPECT_FALSE(owner);
    EXPECT_TRUE(isOpen(fd));
    owner.reset(fd);
    owner.reset(fd);
    EXPECT_TRUE(isOpen(fd));
}
