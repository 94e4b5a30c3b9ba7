#include "App/AppController.h"
#include "App/AppWindows.h"
#include "Views/ControlWindow.h"
#include "Views/Studio/ClipStudioView.h"
#include "Views/Studio/StudioFixture.h"
#include "support/TestPlatform.h"

#include <QPushButton>

#include <gtest/gtest.h>

// The studio as the control window opens it: over the application's own pack library, with a
// preview output of its own, and gone with its temporary files once the dialog closes.
TEST(StudioInControlWindow, InstallsIntoTheApplicationsLibraryAndCleansUpOnClose)
{
    TestFolder folder;
    StudioFixture files(false);
    folder.write(QStringLiteral("defaults.ini"),
                 "[General]\nhasCompletedOnboarding=true\ninstalledCC0AudioUpgrade1=true\n"
                 "didRequestInputMonitoringV2=true\n");
    TestPlatform base(folder);
    base.platform.packLibraryRoot = folder.makeDir(QStringLiteral("packs"));
    base.platform.makeAudioOutput = [state = files.output] { return std::make_unique<FakeAudioOutput>(state); };
    FakeAppShell &shell = *base.shell;
    AppController app(std::move(base.platform));
    AppWindows windows(app);
    (void)app.sound().packs().prepareLibrary();
    const qsizetype installedBefore = app.sound().packs().keyboardPacks().size();

    app.showControlPanel(SettingsPage::sounds);
    QCoreApplication::processEvents();
    ControlWindow &window = *windows.controlWindow();
    window.state().setClipStudioPresented(true);
    ASSERT_NE(window.studioSheet(), nullptr);
    auto *studio = window.studioSheet()->findChild<ClipStudioView *>();
    ASSERT_NE(studio, nullptr);
    ClipStudioModel &model = studio->model();

    model.load(files.writeTone("tone.wav", 4800));
    ASSERT_TRUE(QTest::qWaitFor([&] { return model.clip().has_value(); }, 30000));
    model.setCreator(QStringLiteral("Tester"));
    model.setEnd(0.5);
    for (int i = 0; i < 3; ++i)
        model.addToPack();
    model.installPack();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !model.busy(); }, 30000));
    EXPECT_EQ(model.notice().value_or(QString()), "Installed. Select your pack from the sound library.");
    EXPECT_EQ(app.sound().packs().keyboardPacks().size(), installedBefore + 1);

    model.exportPack(folder.makeDir(QStringLiteral("exports")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !model.busy(); }, 30000));
    EXPECT_EQ(shell.revealedItems.size(), 1) << model.error().value_or(QString()).toStdString();

    model.preview();
    ASSERT_TRUE(QTest::qWaitFor([&] { return files.output->opens > 0 && !files.tempEntries().isEmpty(); }, 10000));
    // Minimised, the studio is still open: its preview and the preview's file stay.
    window.studioSheet()->setWindowState(Qt::WindowMinimized);
    QCoreApplication::processEvents();
    EXPECT_TRUE(model.previewPath().has_value());
    EXPECT_FALSE(files.tempEntries().isEmpty());
    window.studioSheet()->setWindowState(Qt::WindowNoState);
    QPointer<ClipStudioView> closed = studio;
    for (QPushButton *button : window.studioSheet()->findChildren<QPushButton *>()) {
        if (button->text() == "Close")
            button->click();
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(closed.isNull());
    EXPECT_TRUE(QTest::qWaitFor([&] { return files.tempEntries().isEmpty(); }, 10000))
        << files.tempEntries().join(", ").toStdString();
}
