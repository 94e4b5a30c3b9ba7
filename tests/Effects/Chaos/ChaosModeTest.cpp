#include "Effects/Chaos/ChaosMode.h"

#include <gtest/gtest.h>

TEST(ChaosMode, CasesRawValuesAndDisplayNamesInOrder)
{
    struct Case {
        ChaosMode mode;
        const char *raw;
        const char *displayName;
    };
    const Case expected[] = {
        {ChaosMode::gravity, "gravity", "Desktop Gravity"},
        {ChaosMode::zeroGravity, "zeroGravity", "Zero Gravity"},
        {ChaosMode::vortex, "vortex", "Tiny Vortex"},
        {ChaosMode::earthquake, "earthquake", "Earthquake"},
    };
    const auto modes = allCases<ChaosMode>();
    ASSERT_EQ(modes.size(), std::size(expected));
    for (std::size_t i = 0; i < modes.size(); ++i) {
        EXPECT_EQ(modes[i], expected[i].mode);
        EXPECT_EQ(rawValue(modes[i]), QString::fromUtf8(expected[i].raw));
        EXPECT_EQ(ChaosModes::displayName(modes[i]), QString::fromUtf8(expected[i].displayName));
    }
}

TEST(ChaosMode, OnlyTheExactRawValueNamesAMode)
{
    EXPECT_EQ(fromRaw<ChaosMode>(u"zeroGravity"), ChaosMode::zeroGravity);
    for (const char16_t *text : {u"ZeroGravity", u"zero-gravity", u"", u"Desktop Gravity"})
        EXPECT_FALSE(fromRaw<ChaosMode>(text));
}
