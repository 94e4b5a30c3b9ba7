#include "Platform/Linux/PulseLibrary.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>

// A function added to the table but never bound stays null, and the road would call through
// it the first time it needs it: against the installed client library, every entry is bound.
TEST(PulseLibrary, TheInstalledLibraryFillsEveryEntryOfTheTable)
{
    const auto &library = PulseLibrary::load();
    ASSERT_TRUE(library) << library.error().toStdString();
    static_assert(sizeof(PulseLibrary) % sizeof(void (*)()) == 0, "the table holds only function pointers");
    std::array<void (*)(), sizeof(PulseLibrary) / sizeof(void (*)())> entries{};
    std::memcpy(entries.data(), &*library, sizeof(PulseLibrary));
    for (std::size_t i = 0; i < entries.size(); ++i)
        EXPECT_NE(entries[i], nullptr) << "entry " << i << " of the table";
}
