#include "Foundation/DynamicLibrary.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {
struct MathLibrary {
    double (*cosine)(double) = nullptr;
    double (*missing)(double) = nullptr;
};
}

// A road whose library or function is missing must fail and say which, never hand out a null
// function to call.
TEST(DynamicLibrary, BindsEveryFunctionOrSaysWhichIsMissing)
{
    const auto complete = DynamicLibrary::load<MathLibrary>(
        "libm.so.6", [](DynamicLibrary &library, MathLibrary &math) { library.bind(math.cosine, "cos"); });
    ASSERT_TRUE(complete) << complete.error().toStdString();
    EXPECT_EQ(complete->cosine(0.0), 1.0);

    const auto lacking = DynamicLibrary::load<MathLibrary>("libm.so.6", [](DynamicLibrary &library, MathLibrary &math) {
        library.bind(math.missing, "plinkly_no_such_function");
        library.bind(math.cosine, "cos");
    });
    ASSERT_FALSE(lacking);
    EXPECT_TRUE(lacking.error().contains("plinkly_no_such_function")) << lacking.error().toStdString();

    bool bound = false;
    const auto absent = DynamicLibrary::load<MathLibrary>("libplinkly-absent.so.0",
                                                          [&bound](DynamicLibrary &, MathLibrary &) { bound = true; });
    ASSERT_FALSE(absent);
    EXPECT_FALSE(bound);
    EXPECT_TRUE(absent.error().contains("libplinkly-absent.so.0")) << absent.error().toStdString();
}
