#include "App/AppController.h"
#include "Platform/AppShell.h"
#include "Services/Packs/SoundFiles.h"
#include "Views/Kit/MetricTile.h"
#include "Views/Kit/PackImportBanner.h"
#include "Views/Kit/SettingSlider.h"
#include "Views/Kit/SwitchRow.h"
#include "Views/Kit/SwitchToggle.h"
#include "Views/Kit/SymbolLabel.h"
#include "Views/Packs/PackCard.h"
#include "Views/Packs/PackLibraryGrid.h"
#include "Views/Pages/ReactionsPage.h"
#include "Views/Pages/SoundsPage.h"
#include "Views/Pages/TypingActivity.h"
#include "Views/SettingsViewState.h"
#include "fakes/FakeAppShell.h"
#include "support/TestPlatform.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {

// Both pages over a real controller whose library holds one playable keyboard pack and one
// whose sample is not audio.
struct PagesRig {
    TestFolder folder;
    FakeAppShell *shell = nullptr;
    std::unique_ptr<AppController> app;
    SettingsViewState state{SettingsPage::sounds};
    std::unique_ptr<SoundsPage> sounds;
    std::unique_ptr<ReactionsPage> reactions;

    PagesRig()
    {
        addPack(QStringLiteral("good"), QByteArray());
        addPack(QStringLiteral("broken"), QByteArray("not audio at all"));
        TestPlatform base(folder);
        shell = base.shell;
        base.platform.packLibraryRoot = folder.filePath(QStringLiteral("Library"));
        base.platform.packResourceBundle = folder.makeDir(QStringLiteral("Bundle"));
        app = std::make_unique<AppController>(std::move(base.platform));
        app->packs().reload();
        sounds = std::make_unique<SoundsPage>(*app, state);
        reactions = std::make_unique<ReactionsPage>(*app, state);
    }

    // A keyboard pack with one press sample; empty bytes write a real sound.
    void addPack(const QString &id, const QByteArray &sample)
    {
        const QString pack = folder.makeDir(QStringLiteral("Library/Keyboard Packs/") + id);
        folder.write(QStringLiteral("Library/Keyboard Packs/%1/press.wav").arg(id),
                     sample.isEmpty() ? SoundFiles::encode(SF_FORMAT_WAV | SF_FORMAT_FLOAT, 48000, 1, std::vector<float>(480, 0.2f))
                                      : sample);
        SoundPackManifest manifest;
        manifest.id = id;
        manifest.name = id;
        manifest.author = QStringLiteral("Tests");
        manifest.kind = SoundPackManifest::PackKind::keyboard;
        manifest.groups[KeyGroup::regular].down = {QStringLiteral("press.wav")};
        folder.write(QStringLiteral("Library/Keyboard Packs/%1/manifest.json").arg(id), manifest.toJson());
    }

    void sync()
    {
        sounds->sync();
        reactions->sync();
    }

    // Runs the event loop until no pack loads any more.
    void settleLoads()
    {
        QDeadlineTimer deadline(30s);
        while (!app->pendingSoundPackIDs().isEmpty() && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QCoreApplication::processEvents();
        sync();
    }

    template <typename Widget>
    Widget *named(QWidget *page, const QString &name)
    {
        for (Widget *widget : page->findChildren<Widget *>()) {
            if (widget->accessibleName() == name)
                return widget;
        }
        return nullptr;
    }
};

}

TEST(SoundsPages, AFailedLoadSaysSoUnderItsGridAndKeepsTheSelection)
{
    PagesRig rig;
    rig.sounds->typingGrid()->card(QStringLiteral("good"))->click();
    rig.settleLoads();
    ASSERT_TRUE(rig.sounds->typingGrid()->card(QStringLiteral("good"))->isSelected());

    rig.sounds->typingGrid()->card(QStringLiteral("broken"))->click();
    rig.sync();
    EXPECT_TRUE(rig.sounds->typingGrid()->card(QStringLiteral("broken"))->isPending());
    rig.settleLoads();
    const QLabel *error = nullptr;
    for (const QLabel *label : rig.sounds->findChildren<QLabel *>()) {
        if (label->text().startsWith(QStringLiteral("Couldn’t load that library. Your previous sound is unchanged. ")))
            error = label;
    }
    ASSERT_NE(error, nullptr);
    EXPECT_FALSE(error->isHidden());
    EXPECT_TRUE(rig.sounds->typingGrid()->card(QStringLiteral("good"))->isSelected());
    // The click grid marks its own selection.
    EXPECT_FALSE(rig.sounds->clickGrid()->card(QStringLiteral("good"))->isSelected());
}

TEST(SoundsPages, TypingActivityFigures)
{
    struct Case {
        std::uint64_t keys;
        int perMille;
        const char *remaining;
    };
    for (const Case &c : {Case{0, 0, "100"}, Case{100, 333, "200"}, Case{495'000, 1000, "0"},
                          Case{UINT64_MAX, 1000, "0"}}) {
        const TypingActivity::LevelProgress progress = TypingActivity::levelProgress(c.keys);
        EXPECT_EQ(progress.perMille, c.perMille) << c.keys;
        EXPECT_EQ(TypingActivity::remainingText(progress.remaining),
                  QString::fromUtf8(c.remaining) + " keys to Bloopy’s next level. Totals stay on this computer.")
            << c.keys;
    }
    EXPECT_EQ(TypingActivity::wordsPerMinute(0), "0 wpm");
    EXPECT_EQ(TypingActivity::wordsPerMinute(12), "2 wpm");
    EXPECT_EQ(TypingActivity::wordsPerMinute(13), "3 wpm");
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(TypingActivity::count(1'234'567, "keys"), "1,234,567 keys");
    QLocale::setDefault(QLocale::c());
}

TEST(SoundsPages, TheHudSwitchReadsOnOnlyWithStatisticsAndTurnsThemOn)
{
    PagesRig rig;
    SettingsStore &settings = rig.app->settings();
    settings.setInteractionStatsEnabled(false);
    settings.setStatsOverlayEnabled(true);
    rig.sync();
    auto *hud = rig.named<SwitchToggle>(rig.sounds.get(), QStringLiteral("Show transparent typing HUD"));
    ASSERT_NE(hud, nullptr);
    EXPECT_FALSE(hud->isChecked());
    EXPECT_TRUE(rig.sounds->activityBlock()->isHidden());
    EXPECT_TRUE(settings.statsOverlayEnabled()) << "showing wrote a setting";

    hud->click();
    EXPECT_TRUE(settings.interactionStatsEnabled());
    rig.sync();
    EXPECT_FALSE(rig.sounds->activityBlock()->isHidden());
    hud->click();
    EXPECT_FALSE(settings.statsOverlayEnabled());
    EXPECT_TRUE(settings.interactionStatsEnabled());
}

TEST(SoundsPages, AnImportDisablesBothImportButtons)
{
    PagesRig rig;
    QSignalSpy finished(&rig.app->packs(), &SoundPackManager::importFinished);
    rig.app->packs().importPaths({rig.folder.filePath(QStringLiteral("missing.zip"))},
                                 SoundPackManifest::PackKind::keyboard);
    rig.sync();
    EXPECT_FALSE(rig.sounds->importButton()->isEnabled());
    EXPECT_FALSE(rig.reactions->importButton()->isEnabled());
    for (QWidget *page : {static_cast<QWidget *>(rig.sounds.get()), static_cast<QWidget *>(rig.reactions.get())})
        EXPECT_FALSE(page->findChild<PackImportBanner *>()->progressRow()->isHidden());
    ASSERT_TRUE(finished.wait(30000));
    rig.sync();
    EXPECT_TRUE(rig.sounds->findChild<PackImportBanner *>()->progressRow()->isHidden());
    EXPECT_TRUE(rig.sounds->importButton()->isEnabled());
    EXPECT_TRUE(rig.reactions->importButton()->isEnabled());
}

TEST(SoundsPages, WithoutASensorOnlyTheReactionsSwitchIsOff_TheLoudnessSwitchesAreOneSetting)
{
    PagesRig rig;
    rig.app->settings().setSlapEnabled(true);
    rig.sync();
    EXPECT_EQ(rig.reactions->sensorLine()->text(), "Impact sensor unavailable");
    EXPECT_FALSE(rig.reactions->reactionsSwitch()->isEnabled());
    EXPECT_TRUE(rig.reactions->reactionsSwitch()->toggle()->isChecked());
    EXPECT_TRUE(rig.reactions->grid()->isEnabled());
    EXPECT_TRUE(rig.reactions->loudnessSwitch()->isEnabled());
    for (SettingSlider *slider : rig.reactions->sliders())
        EXPECT_TRUE(slider->isEnabled());

    rig.app->settings().setNormalizePackVolume(false);
    rig.sync();
    rig.named<SwitchToggle>(rig.sounds.get(), QStringLiteral("Match loudness across sound packs"))->click();
    rig.sync();
    EXPECT_TRUE(rig.reactions->loudnessSwitch()->toggle()->isChecked());
}

TEST(SoundsPages, SessionTilesSliderEndsAndShowPacks)
{
    PagesRig rig;
    SettingsStore &settings = rig.app->settings();
    QStringList values;
    for (MetricTile *tile : rig.reactions->tiles())
        values.append(tile->findChildren<QLabel *>().last()->text());
    EXPECT_EQ(values, (QStringList{"0", "0.000 g", "0.00 ms"}));

    SettingSlider *cooldown = rig.reactions->sliders().at(1);
    settings.setCooldown(0.2);
    rig.sync();
    EXPECT_EQ(cooldown->readoutText(), "0.20s");
    settings.setCooldown(1.5);
    rig.sync();
    EXPECT_EQ(cooldown->readoutText(), "1.50s");

    // Without a launcher the page says so, with the folder, until a later try opens it.
    const QString root = rig.app->packs().libraryRoot();
    const auto saysNotOpened = [&rig, &root] {
        for (const QLabel *label : rig.sounds->findChildren<QLabel *>()) {
            if (label->isVisibleTo(rig.sounds.get()) && label->text() == AppShell::folderNotOpenedText(root))
                return true;
        }
        return false;
    };
    for (const bool launcher : {true, false, true}) {
        rig.shell->launcherInstalled = launcher;
        rig.named<QPushButton>(rig.sounds.get(), QStringLiteral("Show Packs"))->click();
        EXPECT_EQ(rig.shell->openedFolders.last(), root);
        EXPECT_EQ(saysNotOpened(), !launcher) << launcher;
    }
    EXPECT_TRUE(AppShell::folderNotOpenedText(root).endsWith(root));
    rig.named<QPushButton>(rig.sounds.get(), QStringLiteral("Sound Studio…"))->click();
    EXPECT_TRUE(rig.state.clipStudioPresented());
}
