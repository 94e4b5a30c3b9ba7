#include "Views/HeaderPills.h"
#include "Views/Kit/SettingsText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {
constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();
constexpr double positiveInfinity = std::numeric_limits<double>::infinity();
}

TEST(SettingsText, VolumeReadoutTruncatesAndMarksBoost)
{
    struct Case {
        double value;
        const char *text;
        bool boost;
    };
    for (const Case &c : {Case{1.0, "100%", false}, Case{1.01, "101%  BOOST", true}, Case{0.29, "28%", false},
                          Case{0.0, "0%", false}, Case{1.8, "180%  BOOST", true}, Case{0.72, "72%", false},
                          Case{notANumber, "—", false}, Case{positiveInfinity, "—", false}, Case{1e300, "—", false}}) {
        const SettingsText::VolumeReadout readout = SettingsText::volumeReadout(c.value);
        EXPECT_EQ(readout.text, QString::fromUtf8(c.text)) << c.value;
        EXPECT_EQ(readout.boost, c.boost) << c.value;
    }
}

TEST(SettingsText, VolumeStepsClampWithoutSnapping)
{
    struct Case {
        double value;
        double down;
        double up;
    };
    for (const Case &c : {Case{0.03, 0.0, 0.08}, Case{0.0, 0.0, 0.05}, Case{1.48, 1.43, 1.5}, Case{1.5, 1.45, 1.5},
                          Case{0.37, 0.32, 0.42}, Case{1.8, 1.75, 1.5}}) {
        EXPECT_NEAR(SettingsText::volumeStepDown(c.value), c.down, 1e-12) << c.value;
        EXPECT_NEAR(SettingsText::volumeStepUp(c.value), c.up, 1e-12) << c.value;
    }
}

TEST(SettingsText, SliderReadoutHasTwoDecimalsAndTheSuffixAsGiven)
{
    EXPECT_EQ(SettingsText::sliderReadout(0.2, QStringLiteral("s")), "0.20s");
    EXPECT_EQ(SettingsText::sliderReadout(0.055, QStringLiteral(" g")), "0.06 g");
    EXPECT_EQ(SettingsText::sliderReadout(notANumber, QStringLiteral("s")), "—");
}

TEST(SettingsText, FormatDurationDropsSecondsAndNeverFoldsBadInput)
{
    struct Case {
        qint64 seconds;
        const char *text;
    };
    for (const Case &c : {Case{0, "<1m"}, Case{59, "<1m"}, Case{-5, "<1m"}, Case{60, "1m"}, Case{119, "1m"},
                          Case{150, "2m"}, Case{3599, "59m"}, Case{3600, "1h 0m"}, Case{3900, "1h 5m"},
                          Case{7200, "2h 0m"}, Case{360000, "100h 0m"}})
        EXPECT_EQ(SettingsText::formatDuration(c.seconds), QString::fromUtf8(c.text)) << c.seconds;
    EXPECT_EQ(SettingsText::formatDuration(3900.9), "1h 5m");
    EXPECT_EQ(SettingsText::formatDuration(notANumber), "—");
    EXPECT_EQ(SettingsText::formatDuration(-positiveInfinity), "—");
    EXPECT_EQ(SettingsText::formatDuration(1e19), "—");
}

TEST(SettingsText, PackIconFollowsTheFragmentOrder)
{
    struct Case {
        const char *id;
        const char *symbol;
    };
    for (const Case &c : {Case{"dog-fart", "dog.fill"}, Case{"fart-pack", "wind"}, Case{"feminine", "sparkles"},
                          Case{"dude", "person.wave.2.fill"}, Case{"silly-ouchies", "bolt.heart.fill"},
                          Case{"buckling-spring", "typewriter"}, Case{"kailh-boxnavy", "burst.fill"},
                          Case{"bluealps", "burst.fill"}, Case{"clicky", "burst.fill"}, Case{"topre", "cloud.fill"},
                          Case{"alpaca", "cloud.fill"}, Case{"panda", "waveform"}, Case{"thock-deep", "waveform"},
                          Case{"", "keyboard.fill"}, Case{"Dog", "keyboard.fill"}})
        EXPECT_EQ(SettingsText::packIcon(QString::fromUtf8(c.id)), QString::fromUtf8(c.symbol)) << c.id;
}

TEST(SettingsText, CountdownKeepsMinutesWhole)
{
    struct Case {
        double seconds;
        const char *text;
    };
    for (const Case &c : {Case{0, "00:00"}, Case{5, "00:05"}, Case{3600, "60:00"}, Case{3725, "62:05"},
                          Case{6000, "100:00"}, Case{notANumber, "—"}, Case{1e30, "—"}})
        EXPECT_EQ(SettingsText::countdown(c.seconds), QString::fromUtf8(c.text)) << c.seconds;
}

TEST(HeaderPills, InputPillPrefersTheFocusTimeThenTheCaptureState)
{
    const QString x11 = QStringLiteral("Global (X11)");
    EXPECT_EQ(HeaderPills::input(3725.0, false, QString()),
              (HeaderPills::Pill{QStringLiteral("62:05"), QStringLiteral("timer"), ColorRole::green}));
    EXPECT_EQ(HeaderPills::input(5.0, true, x11).text, "00:05");
    EXPECT_EQ(HeaderPills::input(notANumber, true, x11).text, "—");
    EXPECT_EQ(HeaderPills::input(std::nullopt, true, x11),
              (HeaderPills::Pill{x11, QStringLiteral("globe"), ColorRole::green}));
    EXPECT_EQ(HeaderPills::input(std::nullopt, false, QStringLiteral("Permission needed")),
              (HeaderPills::Pill{QStringLiteral("App only"), QStringLiteral("lock.fill"), ColorRole::orange}));
    EXPECT_EQ(HeaderPills::effects(true),
              (HeaderPills::Pill{QStringLiteral("Paused"), QStringLiteral("pause.fill"), ColorRole::orange}));
    EXPECT_EQ(HeaderPills::effects(false).text, "Effects live");
}
