#include "Platform/Linux/PulseLibrary.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>

// Every function the road calls is bound when the library loads: one left out would be a call
// through a null pointer the first time the road needs it.
TEST(PulseLibrary, BindsEveryFunctionOfItsTable)
{
    const auto &loaded = PulseLibrary::load();
    ASSERT_TRUE(loaded) << loaded.error().toStdString();
    using Function = void (*)();
    std::array<Function, sizeof(PulseLibrary) / sizeof(Function)> functions{};
    static_assert(sizeof(functions) == sizeof(PulseLibrary), "the table holds function pointers alone");
    std::memcpy(functions.data(), &*loaded, sizeof functions);
    for (std::size_t i = 0; i < functions.size(); ++i)
        EXPECT_NE(functions[i], nullptr) << "function " << i << " of the table";
}
