#include "App/AppController.h"
#include "Services/DialogFolders.h"
#include "Views/Studio/ClipStudioView.h"
#include "Views/Studio/StudioFixture.h"
#include "support/TestPlatform.h"

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <QDir>
#include <QStandardPaths>

#include <gtest/gtest.h>

TEST(DialogFolders, OpenInTheFolderUsedLastForTheKindElseHomeOrMusicNeverTheWorkingFolder)
{
    TestFolder folder;
    const QString packs = folder.makeDir(QStringLiteral("packs"));
    const QString sounds = folder.makeDir(QStringLiteral("sounds"));
    const QString savedCwd = QDir::currentPath();
    QDir::setCurrent(folder.path());
    DialogFolders folders;
    const QString music = QStandardPaths::writableLocation(QStandardPaths::MusicLocation);
    const QString audioDefault = QDir(music).exists() ? music : QDir::homePath();
    EXPECT_EQ(folders.start(DialogFolders::Kind::packs), QDir::homePath());
    EXPECT_EQ(folders.start(DialogFolders::Kind::audio), audioDefault);

    folders.remember(DialogFolders::Kind::packs, packs);
    folders.remember(DialogFolders::Kind::audio, sounds);
    EXPECT_EQ(folders.start(DialogFolders::Kind::packs), packs);
    EXPECT_EQ(folders.start(DialogFolders::Kind::audio), sounds);
    // Each kind keeps its own folder.
    EXPECT_EQ(folders.start(DialogFolders::Kind::packFolder), QDir::homePath());

    // A folder that is gone is not offered.
    QDir(sounds).removeRecursively();
    EXPECT_EQ(folders.start(DialogFolders::Kind::audio), audioDefault);
    QDir::setCurrent(savedCwd);
}

TEST(DialogFolders, TheNextRunOpensWhereThisOneLeftOffWhileTheFolderExists)
{
    TestFolder folder;
    const QString packs = folder.makeDir(QStringLiteral("packs"));
    const QString sounds = folder.makeDir(QStringLiteral("sounds"));
    {
        AppController app(std::move(TestPlatform(folder).platform));
        app.packs().dialogFolders().remember(DialogFolders::Kind::packs, packs);
        app.packs().dialogFolders().remember(DialogFolders::Kind::audio, sounds);
    }
    QDir(sounds).removeRecursively();
    AppController again(std::move(TestPlatform(folder).platform));
    const DialogFolders &folders = again.packs().dialogFolders();
    EXPECT_EQ(folders.start(DialogFolders::Kind::packs), packs);
    EXPECT_EQ(folders.start(DialogFolders::Kind::audio), DialogFolders().start(DialogFolders::Kind::audio));
    EXPECT_EQ(folders.start(DialogFolders::Kind::packFolder), QDir::homePath());
}

namespace {

// Answers the next file dialog to open: notes the folder it opened in, then chooses `chosen`
// (a file, or the folder itself for a folder dialog) and accepts.
QString answerNextDialog(const std::function<void()> &open, const QString &chosen)
{
    QString openedIn;
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible())
            return;
        poll.stop();
        openedIn = dialog->directory().absolutePath();
        // Typed as a path, as a user may: the dialog's view of the folder may not be filled yet.
        auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        if (QFileInfo(chosen).isDir()) {
            dialog->setDirectory(chosen);
            name->clear();
        } else {
            name->setText(chosen);
        }
        static_cast<QDialog *>(dialog)->accept();
        if (dialog->isVisible()) {
            ADD_FAILURE() << "the dialog refused " << chosen.toStdString();
            dialog->reject();
        }
    });
    poll.start();
    open();
    return openedIn;
}

}

// Every dialog that remembers a folder, opened from its own button: the next run opens each in
// the folder the last one chose in, the folder holding a chosen file rather than the file.
TEST(DialogFolders, EveryKindOpensAfterARestartInTheFolderOfTheLastChoice)
{
    TestFolder folder;
    StudioFixture studio;
    const QString tone = studio.writeTone(QStringLiteral("tone.wav"), 4800);
    const QString sounds = folder.makeDir(QStringLiteral("sounds/deep"));
    QFile::copy(tone, sounds + "/tone.wav");
    const QString rendered = folder.makeDir(QStringLiteral("rendered"));
    const QString exports = folder.makeDir(QStringLiteral("exports"));
    const QString downloads = folder.makeDir(QStringLiteral("downloads"));
    const QString archive = folder.write(QStringLiteral("downloads/pack.zip"), "not really a zip");
    const QString audioDefault = DialogFolders().start(DialogFolders::Kind::audio);

    struct Run {
        std::unique_ptr<AppController> app;
        std::unique_ptr<ClipStudioView> view;
        void click(const QString &text)
        {
            // The buttons follow the studio's state once the event loop turns.
            QCoreApplication::processEvents();
            for (QPushButton *button : view->findChildren<QPushButton *>()) {
                if (button->text() == text && button->isEnabled()) {
                    button->click();
                    return;
                }
            }
            ADD_FAILURE() << "no enabled button " << text.toStdString();
        }
        void importPack()
        {
            app->packs().importPack(SoundPackManager::PackKind::keyboard);
            ASSERT_TRUE(QTest::qWaitFor([this] { return !app->packs().isImporting(); }, 30000));
        }
    };
    const auto launch = [&] {
        Run run;
        run.app = std::make_unique<AppController>(std::move(TestPlatform(folder).platform));
        run.view = std::make_unique<ClipStudioView>(&run.app->packs(), studio.makePlayer(), &studio.shell);
        run.view->show();
        return run;
    };

    {
        Run first = launch();
        EXPECT_EQ(answerNextDialog([&] { first.click(QStringLiteral("Open Audio…")); }, sounds + "/tone.wav"),
                  audioDefault);
        ASSERT_TRUE(QTest::qWaitFor([&] { return first.view->model().clip().has_value(); }, 30000));
        EXPECT_EQ(answerNextDialog([&] { first.click(QStringLiteral("Export WAV…")); }, rendered + "/cut.wav"), sounds);
        EXPECT_TRUE(QFileInfo::exists(rendered + "/cut.wav"));
        first.click(QStringLiteral("Add to Pack"));
        EXPECT_EQ(answerNextDialog([&] { first.click(QStringLiteral("Export Pack Folder…")); }, exports),
                  QDir::homePath());
        EXPECT_EQ(answerNextDialog([&] { first.importPack(); }, archive), QDir::homePath());
        first.app->saveState();
    }

    Run second = launch();
    EXPECT_EQ(answerNextDialog([&] { second.click(QStringLiteral("Open Audio…")); }, sounds + "/tone.wav"), rendered);
    ASSERT_TRUE(QTest::qWaitFor([&] { return second.view->model().clip().has_value(); }, 30000));
    second.click(QStringLiteral("Add to Pack"));
    EXPECT_EQ(answerNextDialog([&] { second.click(QStringLiteral("Export Pack Folder…")); }, exports), exports);
    EXPECT_EQ(answerNextDialog([&] { second.importPack(); }, archive), downloads);
}
