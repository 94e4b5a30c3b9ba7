#include "Effects/ChargingVisualStyle.h"
#include "Effects/CursorRippleStyle.h"
#include "Effects/LidDanceStyle.h"
#include "Models/KeyGroup.h"
#include "Models/KeyPhase.h"
#include "Models/SettingsPage.h"
#include "Services/InterfaceTheme.h"

#include <gtest/gtest.h>

namespace {
template <RawEnumeration E>
void expectRoundTrip(std::initializer_list<const char *> rawInOrder)
{
    const auto cases = allCases<E>();
    ASSERT_EQ(cases.size(), rawInOrder.size());
    std::size_t i = 0;
    for (const char *raw : rawInOrder) {
        EXPECT_EQ(rawValue(cases[i]), QString::fromUtf8(raw));
        EXPECT_EQ(fromRaw<E>(QString::fromUtf8(raw)), cases[i]);
        ++i;
    }
}
}

TEST(RawEnum, CasesKeepDeclarationOrderAndRoundTrip)
{
    expectRoundTrip<KeyGroup>({"regular", "space", "enter", "delete", "modifier", "tabCaps", "arrows", "escape",
                               "function", "mouseLeft", "mouseRight", "mouseOther", "reaction"});
    expectRoundTrip<KeyPhase>({"down", "up"});
    expectRoundTrip<InterfaceTheme>({"violet", "ocean", "mint", "sunset", "rose", "forest"});
    expectRoundTrip<SettingsPage>({"Home", "Sounds", "Reactions", "Toys", "System", "Focus", "Privacy"});
    expectRoundTrip<ChargingVisualStyle>({"burst", "quiet"});
    expectRoundTrip<CursorRippleStyle>({"bubbles", "stars", "neon", "petals", "crosshair"});
    expectRoundTrip<LidDanceStyle>({"tide", "aurora", "orbit", "sunrise", "prism"});
}

TEST(RawEnum, LookupIsCaseSensitiveAndUnknownFallsBackToFirst)
{
    EXPECT_FALSE(fromRaw<KeyGroup>(u"Regular"));
    EXPECT_FALSE(fromRaw<SettingsPage>(u"home"));
    EXPECT_FALSE(fromRaw<CursorRippleStyle>(u""));
    EXPECT_EQ(fromRawOrFirst<CursorRippleStyle>(u"sparkles"), CursorRippleStyle::bubbles);
    EXPECT_EQ(fromRawOrFirst<LidDanceStyle>(u"prism"), LidDanceStyle::prism);
}

TEST(InterfaceTheme, UnknownThemeUsesVioletAccent)
{
    EXPECT_EQ(InterfaceThemes::accent(QStringLiteral("plaid")), InterfaceThemes::accent(InterfaceTheme::violet));
    EXPECT_NE(InterfaceThemes::accent(QStringLiteral("forest")), InterfaceThemes::accent(InterfaceTheme::violet));
}
