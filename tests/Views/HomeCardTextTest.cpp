#include "Views/Home/HomeCardText.h"

#include <gtest/gtest.h>

TEST(HomeCardText, SubtitlesFollowTheirFeatureState)
{
    const struct {
        QString actual;
        const char *expected;
    } cases[] = {
        {HomeCardText::desktopPet(true), "On your desktop"},
        {HomeCardText::desktopPet(false), "Currently hidden"},
        {HomeCardText::focusBuddy(false, 1500, QStringLiteral("Focused")), "Set a timer and stay on task"},
        {HomeCardText::focusBuddy(true, 45, QStringLiteral("Focused")), "00:45 \u00B7 Focused"},
        // Minutes are never folded into hours.
        {HomeCardText::focusBuddy(true, 3725, QStringLiteral("Paused")), "62:05 \u00B7 Paused"},
        {HomeCardText::typingSounds(true, QStringLiteral("Classic Tactile")), "Classic Tactile is live"},
        {HomeCardText::typingSounds(true, std::nullopt), "Selected pack is live"},
        {HomeCardText::typingSounds(false, QStringLiteral("Classic Tactile")), "Quiet mode"},
        {HomeCardText::systemReactions(PowerSnapshot{80, true}), "Battery 80% \u00B7 plugged in"},
        {HomeCardText::systemReactions(PowerSnapshot{7, false}), "Battery 7% \u00B7 on battery"},
        {HomeCardText::systemReactions(std::nullopt), "Charging, battery, sleep, and wake"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.actual, QString::fromUtf8(c.expected));
}
