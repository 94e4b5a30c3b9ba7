#include "App/AppController.h"
#include "App/AppWindows.h"
#include "Effects/Pet/PetPresentation.h"
#include "Views/ControlWindow.h"
#include "Views/Home/ThemeSwatchButton.h"
#include "Views/Kit/DashboardCard.h"
#include "Views/Kit/SwitchToggle.h"
#include "Views/Kit/SymbolLabel.h"
#include "Views/Pages/ControlPage.h"
#include "fakes/FakeInputCapture.h"
#include "fakes/FakePermissionProbe.h"
#include "support/TestPlatform.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <limits>

namespace {

// The application over a real settings file, its input access and capture chosen by the
// test, with the control window open on a page.
struct HomeRig {
    TestFolder folder;
    FakePermissionProbe *probe = nullptr;
    std::unique_ptr<AppController> app;
    std::unique_ptr<AppWindows> windows;
    SettingsPage shown = SettingsPage::home;

    explicit HomeRig(const QStringList &settings = {}, bool inputGranted = false)
    {
        writeSettledDefaults(folder, settings);
        TestPlatform base(folder);
        base.platform.packLibraryRoot = folder.makeDir(QStringLiteral("packs"));
        auto fakeProbe = std::make_unique<FakePermissionProbe>();
        fakeProbe->inputGranted = inputGranted;
        probe = fakeProbe.get();
        base.platform.permissionProbe = std::move(fakeProbe);
        auto capture = std::make_unique<FakeInputCapture>();
        if (inputGranted)
            capture->available = {{InputCaptureLevel::eventTap, true}};
        base.platform.inputCapture = std::move(capture);
        app = std::make_unique<AppController>(std::move(base.platform));
        windows = std::make_unique<AppWindows>(*app);
    }

    void open(SettingsPage page)
    {
        shown = page;
        app->showControlPanel(page);
        settle();
    }
    void settle()
    {
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }
    ControlWindow &window() { return *windows->controlWindow(); }
    QWidget &page() { return *window().pageView(shown); }
    SettingsStore &settings() { return app->settings(); }

    template <typename T = QAbstractButton>
    T *find(const QString &name)
    {
        for (T *widget : page().findChildren<T *>()) {
            if (widget->accessibleName() == name)
                return widget;
        }
        ADD_FAILURE() << "no " << name.toStdString();
        return nullptr;
    }
    bool shownOnPage(QWidget *widget) { return widget && widget->isVisibleTo(&page()); }
    void click(const QString &name)
    {
        if (QAbstractButton *button = find(name))
            button->click();
        settle();
    }
    DashboardCard *card(const QString &title)
    {
        for (DashboardCard *candidate : page().findChildren<DashboardCard *>()) {
            if (candidate->rowButton()->accessibleName() == title)
                return candidate;
        }
        ADD_FAILURE() << "no card " << title.toStdString();
        return nullptr;
    }
    QString labelStartingWith(const QString &prefix)
    {
        for (QLabel *label : page().findChildren<QLabel *>()) {
            if (label->text().startsWith(prefix) && label->isVisibleTo(&page()))
                return label->text();
        }
        return {};
    }
};

}

TEST(HomePage, PetCardClickOnlyShowsThePetWhileItsSwitchHidesIt)
{
    HomeRig rig;
    rig.open(SettingsPage::home);
    DashboardCard *card = rig.card(QStringLiteral("Desktop Pet"));
    ASSERT_NE(card, nullptr);

    card->rowButton()->click();
    EXPECT_TRUE(rig.settings().petEnabled());
    card->toggle()->click();
    rig.settle();
    EXPECT_FALSE(rig.settings().petEnabled());
    EXPECT_EQ(rig.labelStartingWith(QStringLiteral("Currently")), "Currently hidden");
    card->rowButton()->click();
    rig.settle();
    EXPECT_TRUE(rig.settings().petEnabled());
    EXPECT_TRUE(card->toggle()->isChecked());
}

TEST(HomePage, CardsAndFocusButtonMoveOnlyTheWindowsPage)
{
    HomeRig rig;
    rig.open(SettingsPage::home);
    const struct {
        QString name;
        SettingsPage page;
        bool card;
    } cases[] = {
        {QStringLiteral("Typing Sounds"), SettingsPage::sounds, true},
        {QStringLiteral("System Reactions"), SettingsPage::system, true},
        {QStringLiteral("Focus Buddy"), SettingsPage::focus, true},
        {QStringLiteral("Focus"), SettingsPage::focus, false},
    };
    for (const auto &c : cases) {
        rig.window().state().setPage(SettingsPage::home);
        if (c.card)
            rig.card(c.name)->rowButton()->click();
        else
            rig.click(c.name);
        EXPECT_EQ(rig.window().page(), c.page) << c.name.toStdString();
        EXPECT_EQ(rig.app->requestedSettingsPage(), SettingsPage::home) << c.name.toStdString();
    }
    // A card's switch writes its setting and stays on the page.
    rig.window().state().setPage(SettingsPage::home);
    rig.card(QStringLiteral("Typing Sounds"))->toggle()->click();
    EXPECT_FALSE(rig.settings().typingEnabled());
    EXPECT_EQ(rig.window().page(), SettingsPage::home);
    rig.settle();
    EXPECT_EQ(rig.labelStartingWith(QStringLiteral("Quiet")), "Quiet mode");
}

TEST(HomePage, ThemeSwatchesStoreRawValuesAndMarkTheAccentTheme)
{
    HomeRig rig({QStringLiteral("interfaceThemeID=nonsense")});
    rig.open(SettingsPage::home);
    const auto selected = [&rig] {
        QStringList names;
        for (ThemeSwatchButton *swatch : rig.page().findChildren<ThemeSwatchButton *>()) {
            if (swatch->isSelected())
                names << swatch->accessibleName();
        }
        return names;
    };
    // An identifier that names no theme shows violet without storing it.
    EXPECT_EQ(selected(), QStringList{"Violet interface color"});
    EXPECT_EQ(rig.settings().interfaceThemeID(), "nonsense");

    rig.click(QStringLiteral("Violet interface color"));
    EXPECT_EQ(rig.settings().interfaceThemeID(), "violet");
    rig.click(QStringLiteral("Ocean interface color"));
    EXPECT_EQ(rig.settings().interfaceThemeID(), "ocean");
    EXPECT_EQ(selected(), QStringList{"Ocean interface color"});
    rig.click(QStringLiteral("Forest interface color"));
    EXPECT_EQ(rig.settings().interfaceThemeID(), "forest");
}

TEST(PetPanel, LevelFollowsTheKeyTotal)
{
    const struct {
        std::uint64_t keys;
        const char *level;
    } cases[] = {
        {0, "Level 1"},       {99, "Level 1"},      {100, "Level 2"},
        {299, "Level 2"},     {300, "Level 3"},     {485099, "Level 98"},
        {485100, "Level 99"}, {std::numeric_limits<std::uint64_t>::max(), "Level 99"},
    };
    for (const auto &c : cases) {
        HomeRig rig({QStringLiteral("interactionStatsKeys=%1").arg(c.keys)});
        rig.open(SettingsPage::home);
        EXPECT_EQ(rig.labelStartingWith(QStringLiteral("Level ")), c.level) << c.keys;
    }
}

TEST(PetPanel, NameKeepsTwentyCharactersAsSeenAndReturnNormalises)
{
    HomeRig rig;
    rig.app->start();
    rig.open(SettingsPage::home);
    auto *field = rig.find<QLineEdit>(QStringLiteral("Dolphin name"));
    ASSERT_NE(field, nullptr);
    field->setFocus();

    // 25 characters, two of them emoji made of several code units; the cut falls after
    // the twentieth character and never inside an emoji.
    const QString family = QStringLiteral("\U0001F468\u200D\U0001F469\u200D\U0001F467");
    const QString pasted = QStringLiteral("Fin") + family + QStringLiteral("ny the great\U0001F42C dolphin");
    field->selectAll();
    field->insert(pasted);
    const QString expected = QStringLiteral("Fin") + family + QStringLiteral("ny the great\U0001F42C do");
    EXPECT_EQ(rig.settings().petName(), expected);
    EXPECT_EQ(field->text(), expected);

    field->selectAll();
    field->insert(QStringLiteral("  Splash  "));
    EXPECT_EQ(rig.settings().petName(), "  Splash  ");
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_EQ(rig.settings().petName(), "Splash");
    EXPECT_EQ(field->text(), "Splash");
    EXPECT_EQ(rig.app->pet().presentation().name(), "Splash");

    field->selectAll();
    field->insert(QStringLiteral("    "));
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_EQ(rig.settings().petName(), "Bloopy");
    EXPECT_EQ(field->text(), "Bloopy");
}

TEST(PetPanel, PickersStoreLowerCaseAndShowBloopyOnlyWhileHidden)
{
    HomeRig rig({QStringLiteral("petEnabled=false")});
    rig.app->start();
    rig.open(SettingsPage::home);
    rig.click(QStringLiteral("Appearance"));
    EXPECT_TRUE(rig.window().state().bloopyAppearanceExpanded);
    rig.click(QStringLiteral("Headphones"));
    rig.click(QStringLiteral("Lilac"));
    rig.click(QStringLiteral("Grumpy"));
    EXPECT_EQ(rig.settings().petAccessoryID(), "headphones");
    EXPECT_EQ(rig.settings().petColorID(), "lilac");
    EXPECT_EQ(rig.settings().petFaceID(), "grumpy");

    QAbstractButton *show = rig.find(QStringLiteral("Show Bloopy"));
    EXPECT_TRUE(rig.shownOnPage(show));
    show->click();
    rig.settle();
    EXPECT_TRUE(rig.settings().petEnabled());
    EXPECT_TRUE(rig.app->pet().isVisible());
    EXPECT_FALSE(rig.shownOnPage(show));
}

TEST(PrivacyPage, StatusLinesFollowAccessAndMonitoringSeparately)
{
    const auto permissionText = [](HomeRig &rig) {
        for (SymbolLabel *label : rig.page().findChildren<SymbolLabel *>()) {
            if (label->text().startsWith(QStringLiteral("Permission")))
                return label->text();
        }
        return QString();
    };
    const QString activeText = QStringLiteral("Global typing sounds are active.");
    const QString appOnlyText =
        QStringLiteral("Typing inside Plinkly works, but the system\u2019s permission is required for other apps.");
    const struct {
        bool granted;
        bool typing;
        const char *permission;
        QString monitor;
    } cases[] = {
        {false, true, "Permission needed", appOnlyText},
        {true, true, "Permission granted", activeText},
        // Access is there but nothing listens: the two lines disagree.
        {true, false, "Permission granted", appOnlyText},
    };
    for (const auto &c : cases) {
        HomeRig rig({QStringLiteral("typingEnabled=%1").arg(c.typing ? "true" : "false")}, c.granted);
        rig.app->start();
        rig.open(SettingsPage::privacy);
        EXPECT_EQ(permissionText(rig), c.permission);
        EXPECT_FALSE(rig.labelStartingWith(c.monitor).isEmpty()) << c.permission;
        EXPECT_FALSE(rig.labelStartingWith(rig.app->inputCaptureMode()).isEmpty());
    }
}

TEST(PrivacyPage, HelpButtonExplainsEvenWhenAccessIsGranted)
{
    HomeRig rig({}, true);
    rig.open(SettingsPage::privacy);
    rig.click(QStringLiteral("Request Permission"));
    EXPECT_EQ(rig.probe->inputHelpShown, 0);
    rig.click(QStringLiteral("How to Grant Access"));
    EXPECT_EQ(rig.probe->inputHelpShown, 1);

    rig.probe->inputGranted = false;
    rig.click(QStringLiteral("Request Permission"));
    EXPECT_EQ(rig.probe->inputHelpShown, 2);
    EXPECT_FALSE(rig.app->permissions().hasInputMonitoring());
}
