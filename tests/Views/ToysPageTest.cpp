#include "Views/Kit/ColorSwatch.h"
#include "Views/Kit/SelectableTile.h"
#include "Views/Kit/SymbolLabel.h"
#include "Views/Pages/ToysPage.h"
#include "Views/SettingsViewState.h"
#include "Views/Toys/HandTonePicker.h"
#include "Views/Toys/ToyBlocking.h"
#include "Views/Toys/ToyTileRow.h"
#include "support/ViewRig.h"

#include <QLabel>

#include <gtest/gtest.h>

#include <functional>

namespace {

struct ToysRig : ViewRig {
    SettingsViewState state{SettingsPage::toys};
    std::unique_ptr<ToysPage> page;

    explicit ToysRig(const QStringList &settings = {}, bool inputGranted = true)
        : ViewRig(settings, inputGranted)
    {
        page = std::make_unique<ToysPage>(*app, state);
        page->show();
        page->sync();
    }

    SelectableTile *tile(ScreenToyKind kind) const { return page->findChild<ToyTileRow *>()->tile(kind); }
    QAbstractButton *button(const QString &name) const { return named(page.get(), name); }
    bool showsText(const QString &text) const
    {
        for (const QLabel *label : page->findChildren<QLabel *>()) {
            if (label->text() == text && label->isVisibleTo(page.get()))
                return true;
        }
        return false;
    }
};

}

TEST(ToyBlocking, AFocusSessionIsNamedBeforePausedEffects)
{
    EXPECT_EQ(ToyBlocking::reason(false, false), std::nullopt);
    EXPECT_EQ(ToyBlocking::reason(true, false), "Resume effects to use toys.");
    EXPECT_EQ(ToyBlocking::reason(false, true), "Toys are paused during focus sessions.");
    EXPECT_EQ(ToyBlocking::reason(true, true), "Toys are paused during focus sessions.");
}

TEST(ToysPage, RestingToysDisableTheTilesAndSayWhy)
{
    ToysRig rig({QStringLiteral("effectsPaused=true")});
    EXPECT_FALSE(rig.page->findChild<ToyTileRow *>()->isEnabled());
    EXPECT_TRUE(rig.showsText(QStringLiteral("Resume effects to use toys.")));

    rig.app->settings().setEffectsPaused(false);
    rig.page->sync();
    EXPECT_TRUE(rig.page->findChild<ToyTileRow *>()->isEnabled());
    EXPECT_FALSE(rig.showsText(QStringLiteral("Resume effects to use toys.")));
}

TEST(ToysPage, ATileEquipsItsToyAndTheActiveOneStopsIt)
{
    ToysRig rig;
    ScreenToyController &toys = rig.app->screenToys();
    EXPECT_FALSE(rig.button(QStringLiteral("Clear marks"))->isEnabled());
    EXPECT_FALSE(rig.button(QStringLiteral("Stop toy"))->isEnabled());

    rig.tile(ScreenToyKind::waterGun)->click();
    EXPECT_EQ(toys.activeToy(), ScreenToyKind::waterGun);
    rig.page->sync();
    EXPECT_TRUE(rig.tile(ScreenToyKind::waterGun)->isSelected());
    EXPECT_EQ(rig.tile(ScreenToyKind::waterGun)->accessibleName(), "Stop Water Gun");
    EXPECT_EQ(rig.tile(ScreenToyKind::ak47)->accessibleName(), "Equip AK-47");
    EXPECT_TRUE(rig.button(QStringLiteral("Stop toy"))->isEnabled());
    EXPECT_TRUE(rig.showsText(ScreenToyController::activeText(ScreenToyKind::waterGun)));

    rig.tile(ScreenToyKind::ak47)->click();
    EXPECT_EQ(toys.activeToy(), ScreenToyKind::ak47);
    rig.page->sync();
    rig.tile(ScreenToyKind::ak47)->click();
    EXPECT_EQ(toys.activeToy(), std::nullopt);

    // The tiles were enabled when drawn, but effects paused since: the press equips nothing.
    rig.page->sync();
    rig.app->settings().setEffectsPaused(true);
    rig.tile(ScreenToyKind::blaster)->click();
    EXPECT_EQ(toys.activeToy(), std::nullopt);
}

TEST(ToysPage, ClearMarksIsOfferedOnlyWhileMarksAreOnScreen)
{
    ToysRig rig;
    ScreenToyController &toys = rig.app->screenToys();
    QAbstractButton *clear = rig.button(QStringLiteral("Clear marks"));
    const auto fire = [&rig] {
        rig.pointer->moveTo({300, 300});
        rig.pointer->press();
        rig.pointer->release();
        rig.page->sync();
    };
    const struct {
        const char *step;
        std::function<void()> act;
        bool offered;
    } steps[] = {
        {"a toy out, nothing fired", [&] { rig.tile(ScreenToyKind::blaster)->click(); }, false},
        {"a shot", fire, true},
        {"cleared", [&] { clear->click(); }, false},
        {"another shot", fire, true},
        {"toy put away", [&] { toys.stop(); }, false},
    };
    for (const auto &step : steps) {
        step.act();
        rig.page->sync();
        EXPECT_EQ(clear->isEnabled(), step.offered) << step.step;
    }
}

TEST(ToysPage, WithoutInputAccessTheRefusalIsShownAndHelpIsOffered)
{
    ToysRig rig({}, false);
    rig.tile(ScreenToyKind::blaster)->click();
    EXPECT_EQ(rig.app->screenToys().activeToy(), std::nullopt);
    rig.page->sync();
    EXPECT_TRUE(rig.showsText(ScreenToyController::permissionNeededText()));
    QAbstractButton *help = rig.button(QStringLiteral("Open Input Access help"));
    ASSERT_TRUE(help->isVisibleTo(rig.page.get()));
    help->click();
    EXPECT_EQ(rig.probe->inputHelpShown, 1);

    // Access arrived since the last look: the button still opens the help it names.
    rig.probe->inputGranted = true;
    help->click();
    EXPECT_EQ(rig.probe->inputHelpShown, 2);

    rig.app->permissions().refresh();
    rig.page->sync();
    EXPECT_FALSE(help->isVisibleTo(rig.page.get()));
}

TEST(ToysPage, ASwatchStoresItsToneAndCarriesTheMark)
{
    ToysRig rig;
    auto *picker = rig.page->findChild<HandTonePicker *>();
    ColorSwatch *tan = picker->swatch(ScreenToyHandTone::tan);
    EXPECT_EQ(tan->toolTip(), "Tan");
    EXPECT_EQ(tan->accessibleName(), "Tan hand tone");
    EXPECT_TRUE(picker->swatch(ScreenToyHandTone::original)->isSelected());

    tan->click();
    EXPECT_EQ(rig.app->settings().toyHandToneID(), "tan");
    rig.page->sync();
    EXPECT_TRUE(tan->isSelected());
    EXPECT_FALSE(picker->swatch(ScreenToyHandTone::original)->isSelected());
}

// A toy in hand whose Esc reaches no further than Plinkly's own windows: the warning keeps its
// look and the hint no longer promises Esc everywhere; the next toy with Esc heard is fine again.
TEST(ToysPage, AnEscWarningWhileAToyIsActiveLooksLikeOneAndTheHintFollows)
{
    ToysRig rig;
    const auto status = [&rig] {
        for (const SymbolLabel *label : rig.page->findChildren<SymbolLabel *>())
            if (label->isVisibleTo(rig.page.get()) && label->text().contains(QStringLiteral("Esc")))
                return std::pair(label->text(), label->symbol());
        return std::pair(QString(), QString());
    };
    for (int round = 0; round < 2; ++round) {
        rig.capture->available = {};
        rig.tile(ScreenToyKind::waterGun)->click();
        ASSERT_EQ(rig.app->screenToys().activeToy(), ScreenToyKind::waterGun);
        rig.page->sync();
        EXPECT_EQ(status(), std::pair(ScreenToyController::escapeUnavailableText(), QStringLiteral("exclamationmark.circle")));
        EXPECT_FALSE(rig.showsText(QStringLiteral("Esc to exit")));
        rig.app->screenToys().stop();

        rig.capture->available = {{InputCaptureLevel::eventTap, true}};
        rig.tile(ScreenToyKind::waterGun)->click();
        rig.page->sync();
        EXPECT_EQ(status(), std::pair(ScreenToyController::activeText(ScreenToyKind::waterGun),
                                      QStringLiteral("checkmark.circle.fill")));
        EXPECT_TRUE(rig.showsText(QStringLiteral("Esc to exit")));
        rig.app->screenToys().stop();
    }
}
