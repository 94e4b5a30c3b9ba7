#include "Effects/Chaos/ChaosEffectController.h"
#include "Effects/Chaos/ChaosPanel.h"

#include "fakes/FakeDesktopIconLocator.h"
#include "fakes/FakeDesktopPictureSource.h"
#include "fakes/FakeOverlayWindowSupport.h"
#include "support/HostileFiles.h"
#include "../EventWait.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QIcon>
#include <QImage>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <linux/input-event-codes.h>
#include <malloc.h>

namespace {
class ChaosEffectControllerTest : public ::testing::Test {
protected:
    ChaosEffectControllerTest()
    {
        controller.desktopFolder = [this] { return desktop.path(); };
        controller.screens = [this] { return screenList; };
        controller.onTriggered = [this](ChaosMode mode) { triggered << mode; };
        QObject::connect(&controller, &ChaosEffectController::isActiveChanged,
                         [this](bool active) { activeChanges << active; });
    }

    ~ChaosEffectControllerTest() override
    {
        controller.stop();
        settle();
    }

    void addFiles(int count)
    {
        for (int i = 0; i < count; ++i) {
            QFile file(desktop.filePath(QStringLiteral("file %1.txt").arg(i, 2, 10, QLatin1Char('0'))));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        }
    }

    void setScreens(int count)
    {
        screenList.clear();
        for (int i = 0; i < count; ++i)
            screenList.push_back({QRectF(i * 400, 0, 400, 300), QRectF(i * 400, 0, 400, 280)});
    }

    std::vector<ChaosPanel *> livePanels() const
    {
        std::vector<ChaosPanel *> result;
        for (const auto &panel : controller.panels()) {
            if (panel)
                result.push_back(panel.data());
        }
        return result;
    }

    static void settle()
    {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    QTemporaryDir desktop;
    FakeOverlayWindowSupport windows;
    FakeDesktopIconLocator icons;
    FakeDesktopPictureSource pictures;
    ChaosEffectController controller{windows, icons, pictures};
    std::vector<ChaosScreen> screenList;
    QList<ChaosMode> triggered;
    QList<bool> activeChanges;
};
}

TEST_F(ChaosEffectControllerTest, TriggerBeforeStartDoesNothing)
{
    setScreens(1);
    controller.trigger(ChaosMode::gravity);
    EXPECT_FALSE(controller.isActive());
    EXPECT_TRUE(controller.panels().empty());
    EXPECT_EQ(controller.lastEffectName(), ChaosEffectController::readyName);
    EXPECT_TRUE(triggered.isEmpty());
}

TEST_F(ChaosEffectControllerTest, ItemsAndPanelsFollowThePlan)
{
    struct Case {
        int files, screens, panels, itemsEach;
    };
    for (const Case c : {Case{3, 2, 2, 12}, Case{30, 1, 1, 24}, Case{0, 7, 6, 12}}) {
        SCOPED_TRACE(testing::Message() << c.files << " files on " << c.screens << " screens");
        QDir(desktop.path()).removeRecursively();
        QDir().mkpath(desktop.path());
        addFiles(c.files);
        setScreens(c.screens);
        controller.start();
        controller.trigger(ChaosMode::gravity);
        const auto panels = livePanels();
        ASSERT_EQ(int(panels.size()), c.panels);
        for (ChaosPanel *panel : panels)
            EXPECT_EQ(panel->scene().itemCount(), c.itemsEach);
        EXPECT_EQ(panels.back()->geometry().x(), (c.panels - 1) * 400);
        controller.reset();
        settle();
    }
}

TEST_F(ChaosEffectControllerTest, HostileDesktopItemsAndPicturesNeitherBlockNorStopTheRun)
{
    const HostileFiles hostile(desktop.path(), QStringLiteral(".txt"));
    setScreens(1);
    controller.start();
    FifoWatchdog watchdog(hostile.fifos);
    for (const QString &picture : hostile.paths) {
        SCOPED_TRACE(picture.toStdString());
        pictures.setFile(picture);
        controller.trigger(ChaosMode::gravity);
        ASSERT_EQ(livePanels().size(), 1u);
        EXPECT_EQ(livePanels().front()->scene().itemCount(), 12);
        controller.reset();
        settle();
    }
    EXPECT_FALSE(watchdog.finish()) << "a run waited on a FIFO";
}

TEST_F(ChaosEffectControllerTest, ASecondTriggerReplacesTheFirst)
{
    setScreens(2);
    controller.start();
    controller.trigger(ChaosMode::gravity);
    const auto first = controller.panels();
    triggered.clear();
    activeChanges.clear();

    controller.trigger(ChaosMode::vortex);
    settle();
    EXPECT_EQ(activeChanges, (QList<bool>{false, true}));
    EXPECT_EQ(triggered, QList<ChaosMode>{ChaosMode::vortex});
    EXPECT_EQ(controller.activeMode(), ChaosMode::vortex);
    EXPECT_EQ(controller.lastEffectName(), QStringLiteral("Tiny Vortex"));
    for (const auto &old : first)
        EXPECT_TRUE(old.isNull());
    EXPECT_EQ(livePanels().size(), 2u);

    controller.reset();
    EXPECT_FALSE(controller.activeMode());
    EXPECT_EQ(controller.lastEffectName(), QStringLiteral("Tiny Vortex"));
}

// The icon frames come from another program; an answer that arrives after a reset, a later
// trigger or a stop starts nothing.
TEST_F(ChaosEffectControllerTest, OnlyTheLatestTriggerStartsWhenTheIconsArrive)
{
    setScreens(1);
    controller.start();
    icons.deferred = true;
    controller.trigger(ChaosMode::gravity);
    EXPECT_FALSE(controller.isActive());
    controller.trigger(ChaosMode::vortex);
    icons.answerPending();
    EXPECT_EQ(triggered, QList<ChaosMode>{ChaosMode::vortex});
    EXPECT_EQ(livePanels().size(), 1u);

    controller.reset();
    settle();
    for (const auto &interrupt : {std::function<void()>([this] { controller.reset(); }),
                                  std::function<void()>([this] { controller.stop(); })}) {
        controller.start();
        triggered.clear();
        controller.trigger(ChaosMode::gravity);
        interrupt();
        icons.answerPending();
        settle();
        EXPECT_TRUE(triggered.isEmpty());
        EXPECT_FALSE(controller.isActive());
        EXPECT_TRUE(livePanels().empty());
    }
}

TEST_F(ChaosEffectControllerTest, WithoutACompositorTheModeDoesNotStart)
{
    setScreens(1);
    windows.blends = false;
    controller.start();
    controller.trigger(ChaosMode::earthquake);
    EXPECT_FALSE(controller.isActive());
    EXPECT_TRUE(controller.panels().empty());
    EXPECT_EQ(controller.lastEffectName(), ChaosEffectController::noCompositorName);
    EXPECT_TRUE(triggered.isEmpty());
}

TEST_F(ChaosEffectControllerTest, EscapeAnOpenedItemOrAScreenChangeEndsTheRun)
{
    addFiles(1);
    setScreens(2);
    controller.start();

    const auto runThenEnd = [&](const std::function<void()> &end) {
        // Gravity's grid keeps the items apart, so item 0 is the one under its centre.
        controller.trigger(ChaosMode::gravity);
        EXPECT_TRUE(controller.isActive());
        end();
        settle();
        EXPECT_FALSE(controller.isActive());
        EXPECT_TRUE(livePanels().empty());
    };

    // Esc from the global key source arrives as a queued reset; other keys change nothing.
    runThenEnd([&] {
        controller.handleGlobalKey({KEY_A, KeyGroup::regular, KeyPhase::down});
        controller.handleGlobalKey({KEY_ESC, KeyGroup::regular, KeyPhase::up});
        settle();
        EXPECT_TRUE(controller.isActive());
        controller.handleGlobalKey({KEY_ESC, KeyGroup::regular, KeyPhase::down});
        EXPECT_TRUE(controller.isActive());
    });
    // Opening an item resets from inside the scene's own mouse handling.
    runThenEnd([&] {
        ChaosScene &scene = livePanels().front()->scene();
        QList<QUrl> opened;
        scene.openUrl = [&opened](const QUrl &url) { opened << url; };
        const QPointF at = scene.itemPosition(0);
        scene.mouseDown(at);
        scene.mouseUp(at, 2);
        EXPECT_EQ(opened, QList<QUrl>{QUrl::fromLocalFile(desktop.filePath(QStringLiteral("file 00.txt")))});
        EXPECT_FALSE(controller.isActive());
    });
    // Several screen signals in a row make one reset.
    runThenEnd([&] {
        activeChanges.clear();
        controller.screensChanged();
        controller.screensChanged();
        EXPECT_TRUE(controller.isActive());
        settle();
        EXPECT_EQ(activeChanges, QList<bool>{false});
    });
}

TEST_F(ChaosEffectControllerTest, IconPositionsArePublishedFromTheLastLookWithoutBlocking)
{
    QSignalSpy found(&controller, &ChaosEffectController::hasIconPositionsChanged);
    icons.setFrames({{QStringLiteral("report.pdf"), QRectF(40, 60, 64, 64)}});
    controller.refreshIconPositions();
    // The answer arrives through the event loop, never from inside the call.
    EXPECT_FALSE(controller.hasIconPositions());
    ASSERT_TRUE(found.wait(2000));
    EXPECT_TRUE(controller.hasIconPositions());

    // A run reads the places anyway and publishes what it saw.
    icons.setFrames({});
    controller.start();
    setScreens(1);
    controller.trigger(ChaosMode::gravity);
    EXPECT_FALSE(controller.hasIconPositions());
    EXPECT_EQ(found.count(), 2);
}

// The desktop picture is found and decoded on a worker: the panels come at once, the event loop
// keeps turning while the work is in flight, and a run that ends or is replaced before the
// picture is ready never shows it.
TEST_F(ChaosEffectControllerTest, TheDesktopPictureArrivesLaterAndOnlyForItsOwnRun)
{
    QTemporaryDir folder;
    const QString large = folder.filePath(QStringLiteral("large.png"));
    const QString small = folder.filePath(QStringLiteral("small.png"));
    for (const auto &[file, size] : {std::pair(large, QSize(6000, 4000)), std::pair(small, QSize(60, 40))}) {
        QImage image(size, QImage::Format_RGB32);
        image.fill(QColor(200, 40, 40));
        ASSERT_TRUE(image.save(file));
    }
    setScreens(2);
    controller.start();
    pictures.hold(true);
    int ticks = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&ticks] { ++ticks; });
    ticker.start(0);

    pictures.setFile(large);
    controller.trigger(ChaosMode::gravity);
    auto panels = livePanels();
    ASSERT_EQ(panels.size(), 2u);
    EXPECT_FALSE(panels[0]->scene().hasBackdrop());
    ASSERT_TRUE(waitUntil([&] { return ticks >= 3; }));
    EXPECT_FALSE(panels[0]->scene().hasBackdrop());
    pictures.hold(false);
    ASSERT_TRUE(waitUntil([&] { return panels[0]->scene().hasBackdrop() && panels[1]->scene().hasBackdrop(); }));
    controller.reset();
    settle();

    // The first run's picture is still being found when the run ends; the next run has none.
    const std::vector<std::pair<const char *, std::function<void()>>> interrupts{
        {"reset", [this] { controller.reset(); }},
        {"stop", [this] { controller.stop(); controller.start(); }},
        {"screen change", [this] { controller.screensChanged(); settle(); }},
        {"trigger", [] {}},
    };
    for (const auto &[name, interrupt] : interrupts) {
        SCOPED_TRACE(name);
        pictures.hold(true);
        pictures.setFile(small);
        const int before = pictures.asked();
        controller.trigger(ChaosMode::gravity);
        ASSERT_TRUE(waitUntil([&] { return pictures.asked() > before; }));
        interrupt();
        pictures.setFile({});
        const int asked = pictures.asked();
        controller.trigger(ChaosMode::vortex);
        pictures.hold(false);
        // The work runs one picture at a time: the next question means the stale one is done.
        ASSERT_TRUE(waitUntil([&] { return pictures.asked() > asked; }));
        settle();
        panels = livePanels();
        ASSERT_EQ(panels.size(), 2u);
        EXPECT_FALSE(panels[0]->scene().hasBackdrop());
        EXPECT_FALSE(panels[1]->scene().hasBackdrop());
        controller.reset();
        settle();
    }
}

// A run replaced while the picture work is still busy with an earlier one never has its own
// picture looked for: only the newest run's is.
TEST_F(ChaosEffectControllerTest, APictureWaitingBehindAnotherIsSkippedOnceItsRunIsReplaced)
{
    QTemporaryDir folder;
    const QString small = folder.filePath(QStringLiteral("small.png"));
    QImage image(QSize(60, 40), QImage::Format_RGB32);
    image.fill(QColor(40, 200, 40));
    ASSERT_TRUE(image.save(small));
    pictures.setFile(small);
    setScreens(1);
    controller.start();

    const std::vector<std::pair<const char *, std::function<void()>>> replacements{
        {"trigger", [] {}},
        {"reset", [this] { controller.reset(); }},
        {"stop", [this] { controller.stop(); controller.start(); }},
        {"screen change", [this] { controller.screensChanged(); settle(); }},
    };
    for (const auto &[name, replace] : replacements) {
        SCOPED_TRACE(name);
        pictures.hold(true);
        const int before = pictures.asked();
        controller.trigger(ChaosMode::gravity);
        ASSERT_TRUE(waitUntil([&] { return pictures.asked() > before; }));
        // Queued behind the first, then replaced before the work reaches it.
        controller.trigger(ChaosMode::vortex);
        replace();
        controller.trigger(ChaosMode::gravity);
        pictures.hold(false);
        auto panels = livePanels();
        ASSERT_EQ(panels.size(), 1u);
        ASSERT_TRUE(waitUntil([&] { return panels[0]->scene().hasBackdrop(); }));
        EXPECT_EQ(pictures.asked(), before + 2);
        controller.reset();
        settle();
    }
}

// Qt keeps themed icons and the files they were read from for the whole process; a run
// must not leave its icons' full-size files there.
TEST_F(ChaosEffectControllerTest, AnEndedRunLeavesNoIconFilesInMemory)
{
    QTemporaryDir themes;
    const QString places = themes.filePath(QStringLiteral("Large/512x512/places"));
    ASSERT_TRUE(QDir().mkpath(places));
    QFile index(themes.filePath(QStringLiteral("Large/index.theme")));
    ASSERT_TRUE(index.open(QIODevice::WriteOnly));
    index.write("[Icon Theme]\nName=Large\nDirectories=512x512/places\n\n"
                "[512x512/places]\nSize=512\nMinSize=16\nType=Scalable\n");
    index.close();
    QImage picture(512, 512, QImage::Format_ARGB32);
    picture.fill(Qt::darkCyan);
    for (const char *name : {"folder", "text-x-generic", "image-x-generic", "dialog-information",
                             "package-x-generic", "audio-x-generic"})
        ASSERT_TRUE(picture.save(places + QLatin1Char('/') + QLatin1String(name) + QStringLiteral(".png")));
    const QStringList searchPaths = QIcon::themeSearchPaths();
    const QString themeName = QIcon::themeName();
    QIcon::setThemeSearchPaths({themes.path()});
    QIcon::setThemeName(QStringLiteral("Large"));
    const auto inUse = [] {
        const struct mallinfo2 info = mallinfo2();
        return qint64(info.uordblks + info.hblkhd);
    };

    setScreens(1);
    controller.start();
    const qint64 before = inUse();
    controller.trigger(ChaosMode::gravity);
    ASSERT_EQ(livePanels().front()->scene().itemCount(), 12);
    controller.reset();
    settle();
    const qint64 kept = inUse() - before;
    QIcon::setThemeName(themeName);
    QIcon::setThemeSearchPaths(searchPaths);
    EXPECT_LT(kept, 1024 * 1024) << "one 512-pixel icon file is 1 MiB";
}
