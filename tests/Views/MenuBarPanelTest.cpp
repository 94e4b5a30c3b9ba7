#include "Effects/ClosureEffectModule.h"
#include "Views/Kit/KitStyle.h"
#include "Views/Kit/SymbolLabel.h"
#include "Views/MenuBarPanel.h"
#include "Views/Panel/PanelFocusRow.h"
#include "Views/Panel/PanelHeader.h"
#include "Views/Panel/PanelPackPicker.h"
#include "Views/Panel/PanelSliderRow.h"
#include "Views/Panel/PanelToyMenu.h"
#include "support/ViewRig.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <cmath>

using namespace std::chrono_literals;

namespace {

// The controller, started as the panel's first showing would, and the panel open on it.
struct PanelRig : ViewRig {
    std::unique_ptr<MenuBarPanel> panel;

    explicit PanelRig(const QStringList &settings = {}, bool inputGranted = true)
        : ViewRig(settings, inputGranted)
    {
        panel = std::make_unique<MenuBarPanel>(*app);
        panel->show();
        QCoreApplication::processEvents();
        // Destroying the previous case's popup can close this one on a busy machine; the test
        // looks at the panel as it shows once the controller has started.
        panel->show();
        panel->sync();
    }

    template <typename W = QAbstractButton>
    W *find(const QString &name) const
    {
        W *widget = named<W>(panel.get(), name);
        EXPECT_NE(widget, nullptr) << name.toStdString();
        return widget;
    }
    bool shown(const QString &name) const { return find(name)->isVisibleTo(panel.get()); }
    // Whether a label (with or without a symbol) of that text is on the panel.
    bool showsText(const QString &text) const
    {
        for (const SymbolLabel *label : panel->findChildren<SymbolLabel *>()) {
            if (label->text() == text)
                return label->isVisibleTo(panel.get());
        }
        for (const QLabel *label : panel->findChildren<QLabel *>()) {
            if (label->text() == text)
                return label->isVisibleTo(panel.get());
        }
        ADD_FAILURE() << "no label " << text.toStdString();
        return false;
    }
    bool enabled(const QString &name) const { return find(name)->isEnabled(); }
    // Shows the current state; a toy's canvas coming up may have closed the popup.
    void sync() const
    {
        panel->show();
        panel->sync();
    }
};

}

TEST(MenuBarPanel, PausedPhysicsAndAccessDecideWhatIsOnAndWhatRests)
{
    struct Case {
        bool paused, granted, physics;
        QString help;
        ColorRole dot;
        bool chaosEnabled, toysEnabled, soundsEnabled;
    };
    const Case cases[] = {
        {true, true, true, QStringLiteral("Effects paused"), ColorRole::tertiary, false, false, false},
        {false, true, true, QStringLiteral("Input monitor active"), ColorRole::green, true, true, true},
        {false, false, false, QStringLiteral("Input permission needed"), ColorRole::orange, false, true, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.help.toStdString());
        PanelRig rig({QStringLiteral("effectsPaused=") + (c.paused ? "true" : "false"),
                      QStringLiteral("physicsEffectsEnabled=") + (c.physics ? "true" : "false")},
                     c.granted);
        EXPECT_TRUE(rig.app->isStarted());
        auto *header = rig.panel->findChild<PanelHeader *>();
        EXPECT_EQ(header->statusHelp(), c.help);
        EXPECT_EQ(header->statusColor(), KitStyle::color(c.dot));

        EXPECT_EQ(rig.shown(QStringLiteral("Pause All Effects")), !c.paused);
        EXPECT_EQ(rig.shown(QStringLiteral("Resume All Effects")), c.paused);
        EXPECT_EQ(rig.showsText(QStringLiteral("Effects are paused")), c.paused);
        EXPECT_EQ(rig.enabled(QStringLiteral("Chaos")), c.chaosEnabled);
        EXPECT_EQ(rig.enabled(QStringLiteral("Gravity")), c.chaosEnabled);
        EXPECT_EQ(rig.enabled(QStringLiteral("Screen Toys")), c.toysEnabled);
        EXPECT_EQ(rig.enabled(QStringLiteral("Start 25-minute Focus")), true);
        EXPECT_EQ(rig.enabled(QStringLiteral("Typing Sounds")), c.soundsEnabled);
        EXPECT_EQ(rig.find<QComboBox>(QStringLiteral("Sound Pack"))->isEnabled(), c.soundsEnabled);
        EXPECT_EQ(rig.find<QSlider>(QStringLiteral("Cooldown"))->isEnabled(), c.soundsEnabled);
        for (const QString &always : {QStringLiteral("Desktop Pet"), QStringLiteral("Launch at Login"),
                                      QStringLiteral("Open Plinkly…"), QStringLiteral("Quit")})
            EXPECT_TRUE(rig.enabled(always)) << always.toStdString();

        // The button flips the setting and the panel follows.
        rig.find(c.paused ? QStringLiteral("Resume All Effects") : QStringLiteral("Pause All Effects"))->click();
        EXPECT_EQ(rig.app->settings().effectsPaused(), !c.paused);
        rig.sync();
        EXPECT_EQ(rig.enabled(QStringLiteral("Typing Sounds")), c.paused);
    }
}

TEST(MenuBarPanel, PausingAndResumingTakeTheNewHeightInTheSameRefresh)
{
    for (const bool startsPaused : {true, false}) {
        SCOPED_TRACE(startsPaused ? "resume" : "pause");
        const auto setting = [](bool paused) { return QStringLiteral("effectsPaused=") + (paused ? "true" : "false"); };
        PanelRig rig({setting(startsPaused)});
        const PanelRig opened({setting(!startsPaused)});
        rig.find(startsPaused ? QStringLiteral("Resume All Effects") : QStringLiteral("Pause All Effects"))->click();
        rig.panel->sync();
        EXPECT_EQ(rig.panel->height(), opened.panel->height());
    }
}

TEST(MenuBarPanel, TypingHudTurnsStatisticsOnWithItAndLeavesThemOn)
{
    PanelRig rig({QStringLiteral("interactionStatsEnabled=false"), QStringLiteral("statsOverlayEnabled=true")});
    SettingsStore &settings = rig.app->settings();
    QAbstractButton *hud = rig.find(QStringLiteral("Typing HUD"));
    EXPECT_FALSE(hud->isChecked());

    hud->click();
    EXPECT_TRUE(settings.interactionStatsEnabled());
    EXPECT_TRUE(settings.statsOverlayEnabled());
    rig.sync();
    EXPECT_TRUE(hud->isChecked());

    hud->click();
    EXPECT_TRUE(settings.interactionStatsEnabled());
    EXPECT_FALSE(settings.statsOverlayEnabled());
    rig.sync();
    EXPECT_FALSE(hud->isChecked());
}

TEST(MenuBarPanel, FocusRowCountsDownInMinutesAndSecondsWithoutCappingMinutes)
{
    struct Case {
        int minutes;
        std::chrono::seconds elapsed;
        bool paused;
        QString text;
    };
    const Case cases[] = {
        {25, 0s, false, QStringLiteral("Focus 25:00")},
        {2, 55s, false, QStringLiteral("Focus 01:05")},
        {2, 55s, true, QStringLiteral("Paused 01:05")},
        {100, 0s, false, QStringLiteral("Focus 100:00")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        PanelRig rig({QStringLiteral("focusMinutes=%1").arg(c.minutes)});
        FocusSessionController &session = rig.app->focus();
        rig.app->startFocusSession();
        rig.scheduler->advance(c.elapsed);
        if (c.paused)
            session.pause();
        rig.sync();
        EXPECT_FALSE(rig.shown(QStringLiteral("Start 25-minute Focus")));
        EXPECT_FALSE(rig.enabled(QStringLiteral("Screen Toys")));
        EXPECT_EQ(rig.panel->findChild<PanelFocusRow *>()->countdownText(), c.text);

        rig.find(c.paused ? QStringLiteral("Resume") : QStringLiteral("Pause"))->click();
        EXPECT_EQ(session.isPaused(), !c.paused);
        rig.find(QStringLiteral("End"))->click();
        EXPECT_FALSE(session.isActive());
        ASSERT_FALSE(rig.app->journal().records().isEmpty());
        EXPECT_FALSE(rig.app->journal().records().front().completed);
    }
}

TEST(MenuBarPanel, OneClickFocusStoresTwentyFiveMinutes)
{
    PanelRig rig({QStringLiteral("focusMinutes=40")});
    rig.find(QStringLiteral("Start 25-minute Focus"))->click();
    EXPECT_EQ(rig.app->settings().focusMinutes(), 25);
    EXPECT_TRUE(rig.app->focus().isActive());
    EXPECT_EQ(rig.app->focus().remainingSeconds(), 1500);
}

TEST(MenuBarPanel, ResetPutsTheToyAwayThenResetsEveryModuleThenClosesOverlaysAndKeepsSettings)
{
    PanelRig rig({QStringLiteral("effectsPaused=true")});
    ScreenToyController &toys = rig.app->screenToys();
    OverlayCoordinator &overlays = rig.app->overlays();
    ASSERT_TRUE(toys.equip(ScreenToyKind::blaster));
    struct Seen {
        bool toyOut = true;
        quint64 overlayGeneration = 0;
        int resets = 0;
    } seen;
    QObject owner;
    rig.app->effects().registerModule(std::make_shared<ClosureEffectModule>(
        EffectID(QStringLiteral("recorder")), EffectCapabilities{}, &owner, [] {}, [] {}, [&] {
            seen.toyOut = toys.activeToy().has_value();
            seen.overlayGeneration = overlays.generation();
            ++seen.resets;
        }));
    const quint64 generation = overlays.generation();
    const QMap<QString, QVariant> before = rig.storedSettings();

    rig.find(QStringLiteral("Reset all effects"))->click();
    EXPECT_EQ(seen.resets, 1);
    EXPECT_FALSE(seen.toyOut);
    EXPECT_EQ(seen.overlayGeneration, generation);
    EXPECT_EQ(overlays.generation(), generation + 1);
    EXPECT_TRUE(rig.app->settings().effectsPaused());
    EXPECT_EQ(rig.storedSettings(), before);
}

TEST(MenuBarPanel, WithoutAnImpactSensorOnlyTapReactionsRest)
{
    PanelRig rig;
    ASSERT_FALSE(rig.app->impacts().hardwareDetected());
    EXPECT_FALSE(rig.enabled(QStringLiteral("Tap Reactions")));
    EXPECT_TRUE(rig.showsText(QStringLiteral("Impact sensor unavailable")));
    EXPECT_TRUE(rig.find<QComboBox>(QStringLiteral("Reaction Pack"))->isEnabled());
    for (const QString &slider : {QStringLiteral("Sensitivity"), QStringLiteral("Reaction Volume"), QStringLiteral("Cooldown")})
        EXPECT_TRUE(rig.find<QSlider>(slider)->isEnabled()) << slider.toStdString();
}

TEST(PanelSliderRow, VolumeReadsTheTruncatedPercentAndMovesInHundredths)
{
    struct Case {
        double value;
        QString text;
        int position;
    };
    const Case cases[] = {
        {0.75, QStringLiteral("75%"), 75},   {0.999, QStringLiteral("99%"), 100}, {1.5, QStringLiteral("150%"), 150},
        {0.0, QStringLiteral("0%"), 0},      {1.8, QStringLiteral("180%"), 150},  {std::nan(""), QStringLiteral("—"), 0},
    };
    for (const Case &c : cases) {
        double value = c.value;
        std::unique_ptr<PanelSliderRow> row(
            PanelSliderRow::volume(QStringLiteral("Keyboard Volume"), {[&] { return value; }, [&](double v) { value = v; }}));
        EXPECT_EQ(row->readoutText(), c.text);
        EXPECT_EQ(row->slider()->value(), c.position);
        EXPECT_TRUE(std::isnan(c.value) ? std::isnan(value) : value == c.value) << "showing wrote " << value;
    }
    double value = 0.5;
    std::unique_ptr<PanelSliderRow> row(
        PanelSliderRow::volume(QStringLiteral("Mouse Volume"), {[&] { return value; }, [&](double v) { value = v; }}));
    row->slider()->setValue(37);
    EXPECT_EQ(value, 0.37);
    row->slider()->setValue(400);
    EXPECT_EQ(value, 1.5);
}

TEST(MenuBarPanel, StopButtonsStayUsableWhileTheRestOfTheirRowRests)
{
    PanelRig rig({QStringLiteral("physicsEffectsEnabled=true")});
    ChaosEffectController &chaos = rig.app->chaosEffects();
    chaos.trigger(ChaosMode::vortex);
    ASSERT_TRUE(chaos.isActive());
    {
        // Seen in the same turn as the change, before the effects react to it.
        const QSignalBlocker quiet(rig.app->settings());
        rig.app->settings().setEffectsPaused(true);
    }
    rig.sync();
    EXPECT_TRUE(rig.shown(QStringLiteral("Stop Tiny Vortex")));
    EXPECT_TRUE(rig.enabled(QStringLiteral("Stop Tiny Vortex")));
    EXPECT_FALSE(rig.shown(QStringLiteral("Chaos")));
    rig.find(QStringLiteral("Stop Tiny Vortex"))->click();
    EXPECT_FALSE(chaos.isActive());

    // A toy taken out during a focus session can still be put away from the panel.
    rig.app->settings().setEffectsPaused(false);
    rig.sync();
    auto *menu = rig.panel->findChild<PanelToyMenu *>();
    menu->toyAction(ScreenToyKind::grenade)->trigger();
    EXPECT_EQ(rig.app->screenToys().activeToy(), ScreenToyKind::grenade);
    rig.app->startFocusSession();
    ASSERT_TRUE(rig.app->screenToys().equip(ScreenToyKind::waterGun));
    rig.sync();
    EXPECT_TRUE(rig.showsText(QStringLiteral("Clicks pass through · Esc to exit")));
    EXPECT_EQ(menu->button()->text(), "Screen Toy: Water Gun");
    EXPECT_TRUE(menu->button()->isEnabled());
    EXPECT_FALSE(menu->toyAction(ScreenToyKind::blaster)->isEnabled());
    EXPECT_TRUE(menu->stopAction()->isEnabled());
    // A toy item chosen anyway (the menu was open when the session began) equips nothing.
    menu->toyAction(ScreenToyKind::blaster)->trigger();
    EXPECT_EQ(rig.app->screenToys().activeToy(), ScreenToyKind::waterGun);
    menu->stopAction()->trigger();
    EXPECT_FALSE(rig.app->screenToys().activeToy());
    rig.sync();
    EXPECT_FALSE(menu->button()->isEnabled());
    EXPECT_FALSE(menu->stopAction()->isEnabled());
}

TEST(MenuBarPanel, ToyHintSaysWhereEscPutsTheToyAway)
{
    using L = InputCaptureLevel;
    struct Case {
        std::map<L, bool> keys;
        const char *hint;
    };
    // One panel for every case: the hint follows each new toy, not the first.
    PanelRig rig;
    for (const Case &c : {Case{{}, "Clicks pass through · Stop Screen Toy to exit"},
                          Case{{{L::appOnly, true}}, "Clicks pass through · Esc exits in Plinkly’s windows"},
                          Case{{{L::eventTap, true}, {L::appOnly, true}}, "Clicks pass through · Esc to exit"},
                          Case{{{L::appOnly, true}}, "Clicks pass through · Esc exits in Plinkly’s windows"}}) {
        rig.capture->available = c.keys;
        ASSERT_TRUE(rig.app->screenToys().equip(ScreenToyKind::blaster));
        rig.sync();
        EXPECT_TRUE(rig.showsText(QString::fromUtf8(c.hint))) << c.hint;
        rig.app->screenToys().stop();
    }
}

TEST(MenuBarPanel, PackPickerLoadsThroughTheControllerAndShowsWhatIsReallyChosen)
{
    PanelRig rig;
    SettingsStore &settings = rig.app->settings();
    auto *picker = rig.panel->findChildren<PanelPackPicker *>().front();
    QComboBox *combo = picker->comboBox();
    // The library loads off the interface thread; on a busy machine it may take a few turns.
    ASSERT_TRUE(ViewRig::waitFor([&] {
        rig.sync();
        return combo->count() == 3;
    }));
    EXPECT_EQ(combo->currentText(), "Alpha");

    // A pack that fails to load leaves the old one chosen, and says why.
    emit combo->activated(combo->findData(QStringLiteral("broken")));
    ASSERT_TRUE(ViewRig::waitFor([&] { return rig.app->pendingSoundPackIDs().isEmpty(); }));
    rig.sync();
    EXPECT_EQ(settings.selectedKeyboardPack(), "alpha");
    EXPECT_EQ(combo->currentText(), "Alpha");
    EXPECT_TRUE(picker->errorLine()->isVisibleTo(rig.panel.get()));
    EXPECT_TRUE(picker->errorLine()->text().startsWith(QStringLiteral("Couldn’t load that library.")));

    emit combo->activated(combo->findData(QStringLiteral("beta")));
    EXPECT_EQ(combo->currentText(), "Beta");
    ASSERT_TRUE(ViewRig::waitFor([&] { return settings.selectedKeyboardPack() == "beta"; }));
    rig.sync();
    EXPECT_EQ(combo->currentText(), "Beta");
    EXPECT_FALSE(picker->errorLine()->isVisibleTo(rig.panel.get()));

    // Refilling the list is not a choice; a stored pack that is not listed selects nothing.
    QSignalSpy pending(rig.app.get(), &AppController::pendingSoundPackIDsChanged);
    LoadedSoundPack gamma;
    gamma.manifest.id = QStringLiteral("gamma");
    gamma.manifest.name = QStringLiteral("Gamma");
    rig.app->packs().setKeyboardPacks({gamma});
    rig.sync();
    EXPECT_EQ(combo->count(), 1);
    EXPECT_EQ(combo->currentIndex(), -1);
    EXPECT_EQ(settings.selectedKeyboardPack(), "beta");
    EXPECT_EQ(pending.count(), 0);
}

TEST(MenuBarPanel, RePickingTheChosenPackLoadsNothing)
{
    PanelRig rig;
    QComboBox *combo = rig.panel->findChildren<PanelPackPicker *>().front()->comboBox();
    ASSERT_TRUE(ViewRig::waitFor([&] { return rig.app->pendingSoundPackIDs().isEmpty(); }));
    QSignalSpy pending(rig.app.get(), &AppController::pendingSoundPackIDsChanged);
    emit combo->activated(combo->findData(QStringLiteral("alpha")));
    rig.app->settings().setSelectedKeyboardPack(QStringLiteral("alpha"));
    QCoreApplication::processEvents();
    EXPECT_EQ(pending.count(), 0);
}

TEST(MenuBarPanel, MouseVolumeShowsOnlyWithMouseSoundsAndCooldownSpansItsRange)
{
    PanelRig rig({QStringLiteral("mouseEnabled=false")});
    SettingsStore &settings = rig.app->settings();
    const auto mouseVolumeShown = [&rig] {
        QCoreApplication::processEvents();
        return rig.find<QSlider>(QStringLiteral("Mouse Volume"))->isVisibleTo(rig.panel.get());
    };
    EXPECT_FALSE(mouseVolumeShown());
    rig.find(QStringLiteral("Mouse Sounds"))->click();
    EXPECT_TRUE(settings.mouseEnabled());
    EXPECT_TRUE(mouseVolumeShown());
    settings.setMouseEnabled(false);
    EXPECT_FALSE(mouseVolumeShown());

    QSlider *cooldown = rig.find<QSlider>(QStringLiteral("Cooldown"));
    const std::pair<int, double> positions[] = {{cooldown->maximum(), 1.5}, {0, 0.2}, {cooldown->maximum() / 2, 0.85}};
    for (const auto &[position, seconds] : positions) {
        cooldown->setValue(position);
        EXPECT_NEAR(settings.cooldown(), seconds, 1e-9) << position;
    }
}

TEST(MenuBarPanel, RefusedLaunchAtLoginShowsTheRealState)
{
    // A file where the autostart folder belongs makes registering fail.
    const QString autostart =
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/autostart");
    ASSERT_FALSE(QFileInfo::exists(autostart));
    QDir().mkpath(QFileInfo(autostart).path());
    QFile blocker(autostart);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    PanelRig rig;
    QAbstractButton *toggle = rig.find(QStringLiteral("Launch at Login"));
    toggle->click();
    EXPECT_FALSE(rig.app->login().isEnabled());
    EXPECT_FALSE(rig.app->login().errorMessage().isEmpty());
    EXPECT_FALSE(toggle->isChecked());
    QFile::remove(autostart);
}
