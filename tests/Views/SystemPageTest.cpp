#include "App/AppController.h"
#include "Effects/Overlays/CursorRippleView.h"
#include "Effects/Overlays/ScreenshotFlashView.h"
#include "Views/ControlWindow.h"
#include "Views/Kit/KitAppearance.h"
#include "Views/Kit/KitStyle.h"
#include "Views/Kit/SelectableTile.h"
#include "Views/Pages/SystemPage.h"
#include "Views/SettingsViewState.h"
#include "Views/System/SystemPageText.h"
#include "Views/System/SystemReactionsPanel.h"
#include "fakes/FakeColorSchemeSource.h"
#include "fakes/FakeDesktopIconLocator.h"
#include "fakes/FakeLidAngleReading.h"
#include "fakes/FakeOverlayWindowSupport.h"
#include "fakes/FakePermissionProbe.h"
#include "fakes/FakeReactionSources.h"
#include "support/LabelText.h"
#include "support/TestPlatform.h"
#include "support/ViewRig.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

// The System page over a controller made of fakes, with the reactions it hands on recorded.
struct SystemRig {
    TestFolder folder;
    FakePowerSource *power = nullptr;
    FakeDesktopIconLocator *icons = nullptr;
    FakePermissionProbe *probe = nullptr;
    std::unique_ptr<AppController> app;
    SettingsViewState state{SettingsPage::system};
    std::unique_ptr<SystemPage> page;
    QList<SystemReactionEvent> systemEvents;
    QList<ArrivalReactionEvent> arrivalEvents;

    // `defaults`: the settings file an earlier run left.
    explicit SystemRig(bool lidSensor = true, const QByteArray &defaults = {},
                       const std::function<void(Platform &)> &arrange = {})
    {
        if (!defaults.isEmpty())
            folder.write(QStringLiteral("defaults.ini"), defaults);
        TestPlatform base(folder);
        Platform platform = std::move(base.platform);
        if (lidSensor)
            platform.makeLidAngleReader = [] { return std::make_unique<FakeLidAngleReading>(); };
        auto fakePower = std::make_unique<FakePowerSource>();
        power = fakePower.get();
        platform.reactions.power = std::move(fakePower);
        platform.reactions.overlays = std::make_unique<FakeOverlayWindowSupport>();
        auto fakeIcons = std::make_unique<FakeDesktopIconLocator>();
        icons = fakeIcons.get();
        platform.desktopIcons = std::move(fakeIcons);
        auto fakeProbe = std::make_unique<FakePermissionProbe>();
        probe = fakeProbe.get();
        platform.permissionProbe = std::move(fakeProbe);
        if (arrange)
            arrange(platform);
        app = std::make_unique<AppController>(std::move(platform));
        SystemReactionController &system = app->systemReactions();
        system.onReaction = [this](const SystemReactionEvent &event) { systemEvents << event; };
        app->arrivalReactions().onReaction = [this](const ArrivalReactionEvent &event) { arrivalEvents << event; };
        page = std::make_unique<SystemPage>(*app, state);
        page->resize(760, 600);
        page->show();
        sync();
    }

    SettingsStore &settings() { return app->settings(); }

    void sync()
    {
        QCoreApplication::processEvents();
        page->sync();
    }

    template <typename Widget = QAbstractButton>
    Widget *named(const QString &name) const
    {
        for (Widget *widget : page->findChildren<Widget *>()) {
            if (widget->accessibleName() == name)
                return widget;
        }
        ADD_FAILURE() << "no control named " << name.toStdString();
        return nullptr;
    }

    bool shows(const QString &text) const
    {
        for (const QLabel *label : page->findChildren<QLabel *>()) {
            if (wholeText(label) == text && !label->isHidden() && label->isVisibleTo(page.get()))
                return true;
        }
        return false;
    }

    template <typename View>
    QList<View *> overlays() const
    {
        QList<View *> views;
        for (OverlayPanel *panel : app->overlays().panels()) {
            if (auto *view = qobject_cast<View *>(panel))
                views.append(view);
        }
        return views;
    }
};

}

TEST(SystemPageText, BatterySymbolAndColourFollowChargeAndPower)
{
    using SystemPageText::BatteryLook;
    const struct {
        PowerSnapshot snapshot;
        BatteryLook look;
        QString state;
    } cases[] = {
        {{10, true, false}, {"battery.100percent.bolt", ColorRole::red}, "Connected to power"},
        {{10, true, true}, {"battery.100percent.bolt", ColorRole::red}, "Charging"},
        {{10, false, false}, {"battery.0percent", ColorRole::red}, "Running on battery"},
        {{11, false, false}, {"battery.25percent", ColorRole::primary}, "Running on battery"},
        {{35, false, false}, {"battery.25percent", ColorRole::primary}, "Running on battery"},
        {{36, false, false}, {"battery.50percent", ColorRole::primary}, "Running on battery"},
        {{65, false, false}, {"battery.50percent", ColorRole::primary}, "Running on battery"},
        {{90, false, false}, {"battery.75percent", ColorRole::primary}, "Running on battery"},
        {{91, false, false}, {"battery.100percent", ColorRole::primary}, "Running on battery"},
        {{57, true, true}, {"battery.100percent.bolt", ColorRole::green}, "Charging"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(SystemPageText::batteryLook(c.snapshot), c.look) << c.snapshot.percent;
        EXPECT_EQ(SystemPageText::powerState(c.snapshot), c.state) << c.snapshot.percent;
    }
    EXPECT_EQ(SystemPageText::batteryLevel({57, false, false}), "57% battery");
}

TEST(SystemPageText, LidAngleIsTruncatedAndAnythingUnreadableAsksToTurnOn)
{
    const QString off = QStringLiteral("Lid angle: turn on to read");
    EXPECT_EQ(SystemPageText::lidAngle(47.9), "Lid angle: 47\u00B0");
    EXPECT_EQ(SystemPageText::lidAngle(-0.5), "Lid angle: 0\u00B0");
    EXPECT_EQ(SystemPageText::lidAngle(std::nullopt), off);
    EXPECT_EQ(SystemPageText::lidAngle(std::nan("")), off);
    EXPECT_EQ(SystemPageText::lidAngle(std::numeric_limits<double>::infinity()), off);
    EXPECT_EQ(SystemPageText::lidAngle(1e300), off);
}

TEST(SystemPageText, StatusLines)
{
    using SystemPageText::SymbolText;
    EXPECT_EQ(SystemPageText::arrivalStatus(false, "Display connected"),
              (SymbolText{"Arrival listeners are off", "pause.circle"}));
    EXPECT_EQ(SystemPageText::arrivalStatus(true, "Display connected"),
              (SymbolText{"Display connected", "wave.3.right.circle.fill"}));
    EXPECT_EQ(SystemPageText::screenshotWatcher(true, std::nullopt), (SymbolText{"Watching Desktop", "eye.fill"}));
    EXPECT_EQ(SystemPageText::screenshotWatcher(true, QStringLiteral("/home/u/Pictures/Screenshots")).text,
              "Watching Screenshots");
    EXPECT_EQ(SystemPageText::screenshotWatcher(false, QStringLiteral("/tmp")), (SymbolText{"Watcher is off", "eye.slash"}));
    EXPECT_EQ(SystemPageText::chaosRunning(std::nullopt), "Effect is running");
    EXPECT_EQ(SystemPageText::chaosRunning(ChaosMode::vortex), "Tiny Vortex is running");
}

TEST(SystemPage, BatteryRowShowsTheSnapshotWhateverTheSwitchSays)
{
    SystemRig rig;
    rig.settings().setSystemReactionsEnabled(false);
    rig.sync();
    EXPECT_TRUE(rig.shows("No internal battery reported"));
    auto *panel = rig.page->findChild<SystemReactionsPanel *>();
    EXPECT_FALSE(panel->batteryLook().has_value());

    EXPECT_TRUE(rig.shows("Lid angle: turn on to read"));

    rig.power->send(PowerSnapshot{10, true, false});
    rig.sync();
    EXPECT_FALSE(rig.shows("No internal battery reported"));
    EXPECT_TRUE(rig.shows("10% battery"));
    EXPECT_TRUE(rig.shows("Connected to power"));
    EXPECT_EQ(panel->batteryLook(), (SystemPageText::BatteryLook{"battery.100percent.bolt", ColorRole::red}));
}

TEST(SystemPage, BatteryPictureTakesTheColourOfEachSchemeTheDesktopSwitchesTo)
{
    struct PaletteGuard {
        QPalette saved = QApplication::palette();
        ~PaletteGuard() { QApplication::setPalette(saved); }
    } const guard;
    QApplication::setPalette(KitStyle::palette(ColorScheme::light));
    FakeColorSchemeSource desktop;
    const KitAppearance appearance(desktop);
    SystemRig rig;
    SettingsViewState state(SettingsPage::system);
    ControlWindow window(*rig.app, state);
    window.show();
    // Charging: green, whose shade differs between light and dark while the picture stays.
    rig.power->send(PowerSnapshot{57, true, true});
    const auto *image = window.findChild<QLabel *>(QStringLiteral("batteryImage"));
    ASSERT_NE(image, nullptr);
    const auto inkShown = [image]() -> QString {
        const QImage shown = image->pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < shown.height(); ++y) {
            for (int x = 0; x < shown.width(); ++x) {
                if (qAlpha(shown.pixel(x, y)) == 255)
                    return QColor(shown.pixel(x, y)).name();
            }
        }
        return {};
    };
    for (const ColorSchemePreference wish : {ColorSchemePreference::noPreference, ColorSchemePreference::dark,
                                             ColorSchemePreference::light, ColorSchemePreference::dark}) {
        desktop.set(wish);
        EXPECT_TRUE(ViewRig::waitFor([&] { return inkShown() == KitStyle::color(ColorRole::green).name(); }))
            << int(wish) << " " << inkShown().toStdString();
    }
}

TEST(SystemPage, PowerSleepAndArrivalControlsFollowTheirSwitches)
{
    SystemRig rig;
    const struct {
        bool system, battery, wake;
    } systemCases[] = {{false, true, true}, {true, false, true}, {true, true, false}, {true, true, true}};
    for (const auto &c : systemCases) {
        rig.settings().setSystemReactionsEnabled(c.system);
        rig.settings().setBatteryReactionsEnabled(c.battery);
        rig.settings().setWakeReactionsEnabled(c.wake);
        rig.sync();
        const std::string label = std::to_string(c.system) + std::to_string(c.battery) + std::to_string(c.wake);
        EXPECT_EQ(rig.named("Charging and battery reactions")->isEnabled(), c.system) << label;
        EXPECT_EQ(rig.named("Sleep and wake reactions")->isEnabled(), c.system) << label;
        for (const char *name : {"Preview charge", "Preview low battery", "Preview full", "Energy burst", "Quiet pulse"})
            EXPECT_EQ(rig.named(name)->isEnabled(), c.system && c.battery) << name << label;
        for (const char *name : {"Preview sleep", "Preview wake"})
            EXPECT_EQ(rig.named(name)->isEnabled(), c.system && c.wake) << name << label;
    }

    // The sub-switches do not disable the arrival previews; only the master switch does.
    for (const bool arrivals : {false, true}) {
        rig.settings().setArrivalReactionsEnabled(arrivals);
        rig.settings().setDownloadReactionsEnabled(false);
        rig.sync();
        for (const char *name : {"Completed downloads", "External drives and displays", "Preview download",
                                 "Preview drive", "Preview display"})
            EXPECT_EQ(rig.named(name)->isEnabled(), arrivals) << name;
        EXPECT_TRUE(rig.named("Enable arrival reactions")->isEnabled());
    }
}

TEST(SystemPage, PreviewsPlayAsRealEventsAndAClosedGateGivesNothing)
{
    SystemRig rig;
    rig.settings().setSystemReactionsEnabled(true);
    rig.settings().setBatteryReactionsEnabled(true);
    rig.settings().setWakeReactionsEnabled(true);
    rig.sync();
    SystemReactionController &system = rig.app->systemReactions();
    using Kind = SystemReactionEvent::Kind;
    const struct {
        const char *button;
        QString text;
        SystemReactionEvent event;
    } cases[] = {
        {"Preview charge", "Charger connected", SystemReactionEvent::of(Kind::chargerConnected)},
        {"Preview low battery", "Battery crossed 10%", SystemReactionEvent::lowBattery(10)},
        {"Preview full", "Battery fully charged", SystemReactionEvent::of(Kind::fullyCharged)},
        {"Preview sleep", "Computer going to sleep", SystemReactionEvent::of(Kind::willSleep)},
        {"Preview wake", "Computer woke up", SystemReactionEvent::of(Kind::didWake)},
    };
    for (const auto &c : cases) {
        rig.systemEvents.clear();
        system.setLastEventText(QString());
        // The controller's own gate holds the preview back even where the button is enabled.
        system.batteryEnabled = false;
        system.wakeEnabled = false;
        rig.named(c.button)->click();
        EXPECT_TRUE(rig.systemEvents.isEmpty()) << c.button;
        EXPECT_EQ(system.lastEventText(), "") << c.button;

        system.batteryEnabled = true;
        system.wakeEnabled = true;
        rig.named(c.button)->click();
        EXPECT_EQ(rig.systemEvents, QList<SystemReactionEvent>{c.event}) << c.button;
        EXPECT_EQ(system.lastEventText(), c.text) << c.button;
    }

    // Choosing a charging look, even the one already chosen, stores it and plays the charge.
    for (const char *chip : {"Quiet pulse", "Quiet pulse"}) {
        rig.systemEvents.clear();
        rig.named(chip)->click();
        EXPECT_EQ(rig.settings().chargingVisualStyleID(), "quiet");
        EXPECT_EQ(rig.systemEvents, QList<SystemReactionEvent>{SystemReactionEvent::of(Kind::chargerConnected)});
    }
}

TEST(SystemPage, EachArrivalPreviewIsHeldBackOnlyByItsOwnKind)
{
    SystemRig rig;
    rig.settings().setArrivalReactionsEnabled(true);
    rig.settings().setDownloadReactionsEnabled(false);
    rig.settings().setDeviceReactionsEnabled(true);
    rig.sync();
    ArrivalReactionController &arrivals = rig.app->arrivalReactions();

    rig.named("Preview download")->click();
    EXPECT_TRUE(rig.arrivalEvents.isEmpty());
    EXPECT_EQ(arrivals.lastEventText(), "");
    rig.named("Preview drive")->click();
    EXPECT_EQ(arrivals.lastEventText(), "External drive connected");
    rig.named("Preview display")->click();
    EXPECT_EQ(arrivals.lastEventText(), "Display connected");

    rig.settings().setDownloadReactionsEnabled(true);
    rig.settings().setDeviceReactionsEnabled(false);
    rig.named("Preview drive")->click();
    rig.named("Preview download")->click();
    using Kind = ArrivalReactionEvent::Kind;
    EXPECT_EQ(rig.arrivalEvents, (QList<ArrivalReactionEvent>{ArrivalReactionEvent::of(Kind::volumeConnected),
                                                              ArrivalReactionEvent::of(Kind::displayConnected),
                                                              ArrivalReactionEvent::download(DownloadWeight::medium)}));
    EXPECT_EQ(arrivals.lastEventText(), "Medium download landed");
}

TEST(SystemPage, StyleChipsStoreAndShowTheirEffectWithTheirSwitchOff)
{
    SystemRig rig(false);
    rig.settings().setCursorEffectsEnabled(false);
    rig.settings().setScreenshotReactionsEnabled(false);
    rig.sync();

    rig.named("Petals")->click();
    EXPECT_EQ(rig.settings().cursorEffectStyleID(), "petals");
    const auto ripples = rig.overlays<CursorRippleView>();
    ASSERT_EQ(ripples.size(), 1);
    EXPECT_EQ(ripples.front()->style(), CursorRippleStyle::petals);
    rig.sync();
    EXPECT_TRUE(rig.named<SelectableTile>("Petals")->isSelected());
    EXPECT_FALSE(rig.named<SelectableTile>("Bubbles")->isSelected());

    rig.named("Preview Flash")->click();
    EXPECT_EQ(rig.app->screenshotReactions().lastFilename(), "Screenshot preview");
    EXPECT_EQ(rig.overlays<ScreenshotFlashView>().size(), 1);

    // Without a lid sensor the switch is off limits, yet the chips store and preview.
    EXPECT_FALSE(rig.named("Animate the screen as the lid moves")->isEnabled());
    EXPECT_TRUE(rig.shows("Lid-angle sensor not available on this computer"));
    rig.named("Prism")->click();
    EXPECT_EQ(rig.settings().lidDanceStyleID(), "prism");
    EXPECT_TRUE(rig.app->overlays().lidMotion().isVisible());
}

TEST(SystemPage, StopNowStaysUsableWhileTheModeGridIsDisabled)
{
    SystemRig rig;
    ChaosEffectController &chaos = rig.app->chaosEffects();
    chaos.desktopFolder = [&rig] { return rig.folder.makeDir(QStringLiteral("Desktop")); };
    chaos.screens = [] { return std::vector<ChaosScreen>{{QRectF(0, 0, 400, 300), QRectF(0, 0, 400, 280)}}; };
    chaos.start();
    rig.settings().setPhysicsEffectsEnabled(true);
    rig.sync();
    EXPECT_FALSE(rig.shows("Desktop Gravity is running"));
    rig.named("Zero Gravity")->click();
    ASSERT_TRUE(chaos.isActive());

    rig.settings().setEffectsPaused(true);
    rig.sync();
    EXPECT_FALSE(rig.named("Desktop Gravity")->isEnabled());
    EXPECT_TRUE(rig.shows("Zero Gravity is running"));
    QAbstractButton *stop = rig.named("Stop Now");
    ASSERT_TRUE(stop->isEnabled());
    stop->click();
    EXPECT_FALSE(chaos.isActive());
    rig.sync();
    EXPECT_FALSE(stop->isVisibleTo(rig.page.get()));
    chaos.stop();
}

TEST(SystemPage, PreciseDropRowFollowsWhatTheIconLocatorFound)
{
    SystemRig rig;
    rig.sync();
    EXPECT_TRUE(rig.named("Enable precise icon drop")->isVisibleTo(rig.page.get()));
    EXPECT_FALSE(rig.shows("Precise file manager positions available"));

    rig.icons->setFrames({{QStringLiteral("notes.txt"), QRectF(10, 10, 64, 64)}});
    QSignalSpy found(&rig.app->chaosEffects(), &ChaosEffectController::hasIconPositionsChanged);
    rig.named("Enable precise icon drop")->click();
    ASSERT_TRUE(found.wait(2000));
    rig.sync();
    EXPECT_TRUE(rig.shows("Precise file manager positions available"));
    EXPECT_FALSE(rig.named("Enable precise icon drop")->isVisibleTo(rig.page.get()));

    // The next start shows the last answer without asking; a later answer of none stands too.
    const auto restarted = [](SystemRig &before) {
        before.app->defaults().sync();
        QFile file(before.folder.filePath(QStringLiteral("defaults.ini")));
        return std::make_unique<SystemRig>(true, file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray());
    };
    auto again = restarted(rig);
    EXPECT_EQ(again->icons->lookups, 0);
    EXPECT_TRUE(again->shows("Precise file manager positions available"));
    EXPECT_FALSE(again->named("Enable precise icon drop")->isVisibleTo(again->page.get()));
    // The bus going away is looked at, as after the click; a file manager that shows no icons
    // any more is an answer of none.
    QSignalSpy lost(&again->app->chaosEffects(), &ChaosEffectController::hasIconPositionsChanged);
    again->probe->accessibilityGranted = true;
    again->app->permissions().refreshAccessibility();
    again->icons->setFrames({});
    again->probe->accessibilityGranted = false;
    again->app->permissions().refreshAccessibility();
    ASSERT_TRUE(lost.wait(2000));
    auto third = restarted(*again);
    EXPECT_TRUE(third->named("Enable precise icon drop")->isVisibleTo(third->page.get()));
    EXPECT_FALSE(third->shows("Precise file manager positions available"));
}

// Only a look that reached the desktop's icons changes the stored answer; one that could not
// look (no bus yet, no file manager started yet, no answer in time) keeps it.
TEST(SystemPage, TheStoredIconDropAnswerChangesOnlyByALookThatReachedTheDesktop)
{
    using Look = DesktopIconLocator::Sight::Look;
    const DesktopIconLocator::Positions icons{{QStringLiteral("notes.txt"), QRectF(10, 10, 64, 64)}};
    const struct {
        bool stored;
        Look look;
        bool sawIcons;
        bool after;
    } cases[] = {
        {true, Look::unfinished, false, true},  {true, Look::finished, false, false},
        {true, Look::finished, true, true},     {false, Look::unfinished, false, false},
        {false, Look::unfinished, true, true},  {false, Look::finished, false, false},
        {false, Look::finished, true, true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(::testing::Message() << "stored " << c.stored << ", look " << int(c.look) << ", icons " << c.sawIcons);
        SystemRig rig(true, c.stored ? "[General]\ndesktopIconPositionsFound=true\n" : "[General]\n");
        rig.icons->look = c.look;
        rig.icons->setFrames(c.sawIcons ? icons : DesktopIconLocator::Positions{});
        // Granted at start: the stored answer is looked at again, as after a click.
        rig.probe->accessibilityGranted = true;
        rig.app->permissions().refreshAccessibility();
        rig.app->chaosEffects().enablePreciseIconDrop();
        QCoreApplication::processEvents();
        EXPECT_GE(rig.icons->lookups, 1);
        EXPECT_EQ(rig.settings().desktopIconPositionsFound(), c.after);
        rig.sync();
        EXPECT_EQ(rig.named("Enable precise icon drop")->isVisibleTo(rig.page.get()), !c.after);
    }
}

TEST(SystemPage, DesktopIconsAreReadOnlyForARunOrAtTheUsersWord)
{
    SystemRig rig;
    ChaosEffectController &chaos = rig.app->chaosEffects();
    chaos.desktopFolder = [&rig] { return rig.folder.makeDir(QStringLiteral("Desktop")); };
    chaos.screens = [] { return std::vector<ChaosScreen>{{QRectF(0, 0, 400, 300), QRectF(0, 0, 400, 280)}}; };
    rig.icons->setFrames({{QStringLiteral("notes.txt"), QRectF(10, 10, 64, 64)}});
    rig.app->effectsController().start();
    chaos.start();
    rig.settings().setPhysicsEffectsEnabled(true);
    const auto showPageAgain = [&rig] {
        rig.page->hide();
        rig.page->show();
        rig.sync();
    };

    // Starting, showing the page and the accessibility bus answering read nothing.
    showPageAgain();
    rig.probe->accessibilityGranted = true;
    rig.app->permissions().refreshAccessibility();
    showPageAgain();
    EXPECT_EQ(rig.icons->lookups, 0);
    EXPECT_TRUE(rig.named("Enable precise icon drop")->isVisibleTo(rig.page.get()));

    // A run reads them; the page then shows that answer without asking again.
    rig.named("Zero Gravity")->click();
    ASSERT_TRUE(chaos.isActive());
    EXPECT_EQ(rig.icons->lookups, 1);
    chaos.reset();
    showPageAgain();
    EXPECT_EQ(rig.icons->lookups, 1);
    EXPECT_TRUE(rig.shows("Precise file manager positions available"));

    // Once the user turned precise drop on, the bus coming or going is worth a look.
    rig.probe->accessibilityGranted = false;
    rig.app->permissions().refreshAccessibility();
    EXPECT_EQ(rig.icons->lookups, 1);
    chaos.enablePreciseIconDrop();
    EXPECT_EQ(rig.icons->lookups, 2);
    rig.probe->accessibilityGranted = true;
    rig.app->permissions().refreshAccessibility();
    EXPECT_EQ(rig.icons->lookups, 3);
    chaos.stop();
}

// The watchers' status lines say what runs: on with their switch after a start, off with it
// or while effects are paused, over two rounds.
TEST(SystemPage, WatcherStatusLinesFollowWhatRuns)
{
    SystemRig rig(true, {}, [](Platform &platform) {
        platform.reactions.mounts = std::make_unique<FakeMountWatcher>();
        platform.reactions.downloads = std::make_unique<FakeDirectoryWatcher>();
        platform.reactions.screenshots = std::make_unique<FakeDirectoryWatcher>();
        platform.reactions.downloadsFolder = QStringLiteral("/home/u/Downloads");
        platform.reactions.screenshotFolder = ScreenshotLocation::Folder{QStringLiteral("/home/u/Pictures"), false};
    });
    rig.app->effectsController().start();
    const auto running = [&rig] {
        return std::pair{!rig.shows(QStringLiteral("Arrival listeners are off")),
                         !rig.shows(QStringLiteral("Watcher is off"))};
    };
    for (int round = 0; round < 2; ++round) {
        rig.settings().setArrivalReactionsEnabled(true);
        rig.settings().setScreenshotReactionsEnabled(true);
        rig.sync();
        EXPECT_EQ(running(), std::pair(true, true)) << "round " << round;
        EXPECT_EQ(rig.app->arrivalReactions().isObserving(), true);

        rig.settings().setArrivalReactionsEnabled(false);
        rig.settings().setScreenshotReactionsEnabled(false);
        rig.sync();
        EXPECT_EQ(running(), std::pair(false, false)) << "round " << round;

        rig.settings().setArrivalReactionsEnabled(true);
        rig.settings().setScreenshotReactionsEnabled(true);
        rig.settings().setEffectsPaused(true);
        rig.sync();
        EXPECT_EQ(running(), std::pair(false, false)) << "paused, round " << round;
        rig.settings().setEffectsPaused(false);
    }
}
