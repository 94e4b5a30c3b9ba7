#include "Effects/Pet/BloopyProgress.h"

#include <gtest/gtest.h>

TEST(BloopyProgress, ThresholdsAndLevelsAtTheirBoundaries)
{
    struct Case {
        std::uint64_t keystrokes;
        std::uint64_t nextThreshold;
        int level;
    };
    const Case cases[] = {
        {0, 100, 1},
        {99, 100, 1},
        {100, 300, 2},
        {299, 300, 2},
        {300, 600, 3},
        {999, 1'000, 4},
        {1'000, 1'500, 5},
        {475'299, 475'300, 97},
        {475'300, 485'100, 98},
        {485'099, 485'100, 98},
        {485'100, 495'000, 99},
        {494'999, 495'000, 99},
        {495'000, 495'000, 99},
        {10'000'000, 495'000, 99},
        {UINT64_MAX, 495'000, 99},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(BloopyProgress::nextThreshold(c.keystrokes), c.nextThreshold) << c.keystrokes;
        EXPECT_EQ(BloopyProgress::level(c.keystrokes), c.level) << c.keystrokes;
    }
}

TEST(BloopyProgress, NameIsTrimmedThenCutToTwentyCharacters)
{
    const QString dolphin = QStringLiteral("\U0001F42C");
    const QString family = QStringLiteral("\U0001F468\u200D\U0001F469\u200D\U0001F467");
    const QString flag = QStringLiteral("\U0001F1EB\U0001F1F7");
    const QString eAcute = QStringLiteral("e\u0301");
    struct Case {
        QString raw;
        QString expected;
    };
    const Case cases[] = {
        {QString(), QStringLiteral("Bloopy")},
        {QStringLiteral("  \n\t \r\n"), QStringLiteral("Bloopy")},
        {QStringLiteral("\u00A0\u2028"), QStringLiteral("Bloopy")},
        {QStringLiteral("  Finn \n"), QStringLiteral("Finn")},
        {QStringLiteral("Big  Blue"), QStringLiteral("Big  Blue")},
        {QStringLiteral("abcdefghijklmnopqrstuvwxy"), QStringLiteral("abcdefghijklmnopqrst")},
        {QStringLiteral("   abcdefghijklmnopqrst  "), QStringLiteral("abcdefghijklmnopqrst")},
        // The cut follows the trim, so a space as 20th character stays.
        {QStringLiteral("abcdefghijklmnopqrs tuv"), QStringLiteral("abcdefghijklmnopqrs ")},
        {dolphin.repeated(25), dolphin.repeated(20)},
        {family.repeated(21), family.repeated(20)},
        {flag.repeated(22), flag.repeated(20)},
        {eAcute.repeated(24), eAcute.repeated(20)},
        {QStringLiteral("\u0301"), QStringLiteral("\u0301")},
    };
    for (const Case &c : cases)
        EXPECT_EQ(BloopyProgress::normalizedName(c.raw), c.expected) << c.raw.toStdString();
}
