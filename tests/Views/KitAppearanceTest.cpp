#include "Views/ControlWindow.h"
#include "Foundation/Contrast.h"
#include "Views/Kit/KitAppearance.h"
#include "Views/Kit/KitStyle.h"
#include "Views/Kit/TextLabels.h"
#include "Views/MenuBarPanel.h"
#include "Views/SettingsViewState.h"
#include "fakes/FakeColorSchemeSource.h"
#include "support/ViewRig.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QLabel>
#include <QScreen>

#include <cmath>

#include <gtest/gtest.h>

namespace {

// Restores the application palette a test changed.
struct PaletteGuard {
    QPalette saved = QApplication::palette();
    ~PaletteGuard() { QApplication::setPalette(saved); }
};

QPalette breezeDark()
{
    QPalette palette(QColor(252, 252, 252), QColor(49, 54, 59), QColor(70, 76, 82), QColor(30, 33, 36),
                     QColor(40, 44, 48), QColor(252, 252, 252), QColor(252, 252, 252), QColor(27, 30, 32),
                     QColor(42, 46, 50));
    return palette;
}

}

TEST(KitStyle, FontRolesKeepTheirRatiosToTheBodyAndNeverGoBelowADesktopsSmallestReadableSize)
{
    struct Case {
        FontRole role;
        double body, smallest, expected;
    };
    for (const Case &c : {Case{FontRole::body, 10, 8, 10}, Case{FontRole::largeTitle, 10, 8, 20},
                          Case{FontRole::title3, 13, 8, 15}, Case{FontRole::caption, 13, 8, 10},
                          Case{FontRole::caption, 10, 8, 8}, Case{FontRole::subheadline, 9, 8.5, 8.5},
                          // No smallest size from the desktop: Qt hands the body font itself, or its
                          // default, which may be larger. The roles keep their ratios.
                          Case{FontRole::caption, 13, 13, 10}, Case{FontRole::subheadline, 13, 13, 11},
                          Case{FontRole::callout, 13, 13, 12}, Case{FontRole::caption2, 9, 12, 9 * 10.0 / 13},
                          Case{FontRole::title2, 9, 12, 9 * 17.0 / 13}})
        EXPECT_NEAR(KitStyle::fontSize(c.role, c.body, c.smallest, 0), c.expected, 0.01) << int(c.role) << " " << c.body;
}

// A desktop with a small body font and no smallest readable size of its own (XFCE, a bare X
// session): every role, in points or in pixels, stays at the readable size or above it.
TEST(KitStyle, NoTextRoleGoesBelowTheReadableSizeWhateverTheBody)
{
    const QFont saved = QApplication::font();
    const qreal dpi = QGuiApplication::primaryScreen()->logicalDotsPerInchY();
    for (int points = 7; points <= 14; ++points) {
        QFont inPoints = saved;
        inPoints.setPointSizeF(points);
        QFont inPixels = saved;
        inPixels.setPixelSize(int(std::lround(points * dpi / 72)));
        for (const QFont &body : {inPoints, inPixels}) {
            QApplication::setFont(body);
            for (FontRole role : {FontRole::largeTitle, FontRole::title2, FontRole::title3, FontRole::headline,
                                  FontRole::subheadline, FontRole::body, FontRole::callout, FontRole::caption,
                                  FontRole::caption2}) {
                const QFont font = KitStyle::font(role);
                const qreal size = font.pixelSize() > 0 ? font.pixelSize() : font.pointSizeF();
                EXPECT_GE(size, Appearance::readableSize(font))
                    << points << " pt body" << (body.pixelSize() > 0 ? " in pixels" : "") << ", role " << int(role);
            }
        }
    }
    QApplication::setFont(saved);
}

TEST(KitStyle, FontsFollowTheApplicationFont)
{
    const QFont saved = QApplication::font();
    QFont desktop(QStringLiteral("DejaVu Serif"));
    desktop.setPointSizeF(14);
    QApplication::setFont(desktop);
    const QFont title = KitStyle::font(FontRole::largeTitle);
    const QFont headline = KitStyle::font(FontRole::headline);
    QApplication::setFont(saved);
    EXPECT_EQ(title.family(), QStringLiteral("DejaVu Serif"));
    EXPECT_DOUBLE_EQ(title.pointSizeF(), 28);
    EXPECT_DOUBLE_EQ(headline.pointSizeF(), 14);
    EXPECT_EQ(headline.weight(), QFont::DemiBold);
}

TEST(KitStyle, TextRolesAreReadableOnEveryBackgroundOfLightAndDarkPalettes)
{
    const QPalette palettes[] = {KitStyle::palette(ColorScheme::light), KitStyle::palette(ColorScheme::dark),
                                 QPalette(Qt::white, QColor(239, 239, 239)), breezeDark()};
    for (const QPalette &palette : palettes) {
        const QColor backgrounds[] = {KitStyle::color(palette, ColorRole::windowBackground),
                                      KitStyle::color(palette, ColorRole::controlBackground),
                                      KitStyle::color(palette, ColorRole::barBackground)};
        for (const QColor &background : backgrounds) {
            for (ColorRole role : {ColorRole::primary, ColorRole::secondary, ColorRole::green, ColorRole::orange,
                                   ColorRole::red, ColorRole::yellow, ColorRole::cyan, ColorRole::pink})
                EXPECT_GE(Contrast::ratio(KitStyle::color(palette, role), background), Contrast::text)
                    << int(role) << " on " << background.name().toStdString();
            EXPECT_GE(Contrast::ratio(KitStyle::color(palette, ColorRole::controlEdge), background), Contrast::large);
            // Primary, secondary and tertiary text step down in weight.
            EXPECT_GT(Contrast::ratio(KitStyle::color(palette, ColorRole::primary), background),
                      Contrast::ratio(KitStyle::color(palette, ColorRole::secondary), background));
            EXPECT_GT(Contrast::ratio(KitStyle::color(palette, ColorRole::secondary), background),
                      Contrast::ratio(KitStyle::color(palette, ColorRole::tertiary), background));
        }
    }
}

TEST(KitStyle, ReadableMovesInkOnlyAsFarAsNeeded)
{
    const QColor readable = QColor(20, 20, 20);
    EXPECT_EQ(Contrast::readable(readable, {Qt::white}), readable);
    const QColor faint = Contrast::readable(QColor(200, 200, 200), {Qt::white});
    EXPECT_GE(Contrast::ratio(faint, Qt::white), Contrast::text);
    EXPECT_LT(Contrast::ratio(faint, Qt::white), 6.0);
    EXPECT_GE(Contrast::ratio(Contrast::readable(QColor(60, 60, 60), {QColor(30, 30, 30)}), QColor(30, 30, 30)),
              Contrast::text);
}

TEST(KitAppearance, TheDesktopsWishPicksThePaletteAndWithoutOneTheDesktopPaletteStands)
{
    const QPalette light(Qt::black, QColor(239, 239, 239));
    const QPalette dark = breezeDark();
    struct Case {
        QPalette desktop;
        ColorSchemePreference preference;
        ColorScheme scheme;
        bool desktopKept;
    };
    for (const Case &c : {Case{light, ColorSchemePreference::noPreference, ColorScheme::light, true},
                          Case{light, ColorSchemePreference::light, ColorScheme::light, true},
                          Case{light, ColorSchemePreference::dark, ColorScheme::dark, false},
                          Case{dark, ColorSchemePreference::noPreference, ColorScheme::dark, true},
                          Case{dark, ColorSchemePreference::dark, ColorScheme::dark, true},
                          Case{dark, ColorSchemePreference::light, ColorScheme::light, false}}) {
        const QPalette chosen = KitAppearance::palette(c.desktop, c.preference);
        EXPECT_EQ(KitStyle::scheme(chosen), c.scheme) << int(c.preference);
        EXPECT_EQ(chosen == c.desktop, c.desktopKept) << int(c.preference);
    }
}

TEST(KitAppearance, FollowsTheDesktopLiveAndRestylesTintedLabels)
{
    const PaletteGuard guard;
    QApplication::setPalette(KitStyle::palette(ColorScheme::light));
    FakeColorSchemeSource source;
    const KitAppearance appearance(source);
    QWidget window;
    QLabel *hint = TextLabels::hint(QStringLiteral("A hint"), &window);
    const QColor lightHint = hint->palette().color(QPalette::WindowText);

    source.set(ColorSchemePreference::dark);
    // Qt tells the widgets of a new application palette through the event loop.
    QCoreApplication::processEvents();
    EXPECT_EQ(KitStyle::scheme(QApplication::palette()), ColorScheme::dark);
    const QColor darkHint = hint->palette().color(QPalette::WindowText);
    EXPECT_NE(darkHint, lightHint);
    EXPECT_GE(Contrast::ratio(darkHint, KitStyle::color(ColorRole::windowBackground)), Contrast::text);

    // Back to no wish: the desktop's own (light) palette again, and the hint with it.
    source.set(ColorSchemePreference::noPreference);
    QCoreApplication::processEvents();
    EXPECT_EQ(KitStyle::scheme(QApplication::palette()), ColorScheme::light);
    EXPECT_EQ(hint->palette().color(QPalette::WindowText), lightHint);
}

TEST(KitAppearance, WindowsRemakeTheirOwnPaletteInEachNewScheme)
{
    const PaletteGuard guard;
    QApplication::setPalette(KitStyle::palette(ColorScheme::light));
    FakeColorSchemeSource source;
    const KitAppearance appearance(source);
    ViewRig rig;
    SettingsViewState state{SettingsPage::privacy};
    ControlWindow window(*rig.app, state);
    window.show();
    MenuBarPanel panel(*rig.app);
    panel.show();
    for (const ColorSchemePreference wish :
         {ColorSchemePreference::dark, ColorSchemePreference::noPreference, ColorSchemePreference::dark}) {
        source.set(wish);
        for (QWidget *shown : {static_cast<QWidget *>(&window), static_cast<QWidget *>(&panel)}) {
            // Links are drawn in the window's own palette, on the scheme's window background.
            EXPECT_TRUE(ViewRig::waitFor([shown] {
                return Contrast::ratio(shown->palette().color(QPalette::Link),
                                       KitStyle::color(ColorRole::windowBackground)) >= Contrast::text;
            })) << int(wish) << " " << shown->metaObject()->className();
        }
    }
}

TEST(KitAppearance, TheFirstWindowWaitsForTheDesktopsAnswerOrTheDeadlineWhicheverComesFirst)
{
    const PaletteGuard guard;
    const auto runEventsFor = [](int milliseconds) {
        QDeadlineTimer later(milliseconds);
        while (!later.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    };
    const auto scheme = [] { return KitStyle::scheme(QApplication::palette()); };
    using Schemes = std::vector<ColorScheme>;
    // A light start whose first window waits, noting the scheme it shows in.
    struct Start {
        FakeColorSchemeSource source;
        std::optional<KitAppearance> appearance;
        std::unique_ptr<QObject> context = std::make_unique<QObject>();
        Schemes runs;
        explicit Start(const std::function<ColorScheme()> &scheme)
        {
            QApplication::setPalette(KitStyle::palette(ColorScheme::light));
            appearance.emplace(source);
            appearance->whenKnown(context.get(), [this, scheme] { runs.push_back(scheme()); },
                                  std::chrono::milliseconds(150));
        }
    };
    {
        // The answer first: the work runs with it, in its scheme, and not again at the deadline.
        Start start(scheme);
        EXPECT_TRUE(start.runs.empty());
        start.source.set(ColorSchemePreference::dark);
        EXPECT_EQ(start.runs, Schemes{ColorScheme::dark});
        runEventsFor(300);
        EXPECT_EQ(start.runs, Schemes{ColorScheme::dark});
        // Once known, later work runs at once.
        bool ranAtOnce = false;
        start.appearance->whenKnown(start.context.get(), [&] { ranAtOnce = true; }, std::chrono::milliseconds(150));
        EXPECT_TRUE(ranAtOnce);
    }
    {
        // No answer in time: the deadline runs it once; a late answer restyles and runs nothing.
        Start start(scheme);
        runEventsFor(300);
        EXPECT_EQ(start.runs, Schemes{ColorScheme::light});
        start.source.set(ColorSchemePreference::dark);
        EXPECT_EQ(scheme(), ColorScheme::dark);
        EXPECT_EQ(start.runs, Schemes{ColorScheme::light});
    }
    {
        // Work whose context is gone runs neither at the answer nor at the deadline.
        Start start(scheme);
        start.context.reset();
        start.source.set(ColorSchemePreference::dark);
        runEventsFor(300);
        EXPECT_TRUE(start.runs.empty());
    }
}
