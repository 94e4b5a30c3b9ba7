// The Sounds and Reactions pages: both window sizes, a card that is loading, an import in
// progress and a failed load.
#include "SceneRig.h"

#include "Services/Packs/SoundPackManager.h"
#include "Views/ControlWindow.h"
#include "Views/Pages/ControlPage.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>

namespace {

// The application's own packs, so the grids show what a user sees.
void bundledPacks(Platform &platform)
{
    platform.packResourceBundle = QDir::cleanPath(QCoreApplication::applicationDirPath() + QStringLiteral("/../../KnockwellResources"));
}

const QStringList statistics{QStringLiteral("interactionStatsEnabled=true"), QStringLiteral("statsOverlayEnabled=true")};

// Both sizes of the window, and the whole page at each width.
void captureBothSizes(SceneRig &rig, SettingsPage page, const QString &name)
{
    ControlWindow &window = rig.controlWindow(page);
    for (const QSize size : {QSize(760, 680), QSize(620, 500)}) {
        window.resize(size);
        const QString suffix = QStringLiteral("-%1x%2").arg(size.width()).arg(size.height());
        rig.capture(name + suffix, &window);
        rig.captureContent(name + QStringLiteral("-content") + suffix,
                           window.pageView(page)->widget());
    }
}

// A keyboard pack whose sample is not audio, so loading it fails.
void addBrokenPack(SceneRig &rig)
{
    const QString folder = QDir(rig.app().packs().keyboardRoot()).filePath(QStringLiteral("broken"));
    QDir().mkpath(folder);
    QFile sample(folder + QStringLiteral("/press.wav"));
    sample.open(QIODevice::WriteOnly);
    sample.write("not audio");
    sample.close();
    SoundPackManifest manifest;
    manifest.id = QStringLiteral("broken");
    manifest.name = QStringLiteral("Broken Pack");
    manifest.author = QStringLiteral("Scenes");
    manifest.switchType = QStringLiteral("Damaged");
    manifest.kind = SoundPackManifest::PackKind::keyboard;
    manifest.groups[KeyGroup::regular].down = {QStringLiteral("press.wav")};
    QFile file(folder + QStringLiteral("/manifest.json"));
    file.open(QIODevice::WriteOnly);
    file.write(manifest.toJson());
    file.close();
    rig.app().packs().reload();
}

const SceneRegistrar soundsPage{QStringLiteral("sounds/page"), [](SceneRig &rig) {
    rig.app().start();
    captureBothSizes(rig, SettingsPage::sounds, QStringLiteral("sounds/page"));
}, statistics, bundledPacks};

// "Show Packs" on a computer without a launcher: the page says where the folder is.
const SceneRegistrar showPacksWithoutLauncher{QStringLiteral("sounds/show-packs-without-launcher"), [](SceneRig &rig) {
    rig.app().start();
    rig.platform().shell->launcherInstalled = false;
    ControlWindow &window = rig.controlWindow(SettingsPage::sounds);
    window.resize(760, 680);
    for (QPushButton *button : window.findChildren<QPushButton *>()) {
        if (button->accessibleName() == QStringLiteral("Show Packs"))
            button->click();
    }
    rig.captureContent(QStringLiteral("sounds/show-packs-without-launcher"), window.pageView(SettingsPage::sounds)->widget());
}, {}, bundledPacks};

const SceneRegistrar reactionsPage{QStringLiteral("sounds/reactions-page"), [](SceneRig &rig) {
    rig.app().start();
    captureBothSizes(rig, SettingsPage::reactions, QStringLiteral("sounds/reactions-page"));
}, {}, bundledPacks};

const SceneRegistrar pendingCard{QStringLiteral("sounds/pending-card"), [](SceneRig &rig) {
    rig.app().start();
    ControlWindow &window = rig.controlWindow(SettingsPage::sounds);
    const QList<LoadedSoundPack> packs = rig.app().packs().keyboardPacks();
    if (packs.size() < 2)
        return;
    // Drawn at once: the load ends on the next turns of the event loop.
    QFuture<bool> load = rig.app().selectSoundPack(packs.at(1).id(), SoundChannel::keyboard);
    window.sync();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    rig.captureContent(QStringLiteral("sounds/pending-card"), window.pageView(SettingsPage::sounds), false);
    while (!load.isFinished())
        rig.settle(50);
}, {}, bundledPacks};

const SceneRegistrar importing{QStringLiteral("sounds/import-in-progress"), [](SceneRig &rig) {
    rig.app().start();
    ControlWindow &window = rig.controlWindow(SettingsPage::reactions);
    rig.app().packs().importPaths({QStringLiteral("/nonexistent/pack.zip")}, SoundPackManifest::PackKind::reaction);
    window.sync();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    rig.captureContent(QStringLiteral("sounds/import-in-progress"), window.pageView(SettingsPage::reactions), false);
    // The failed import raises the window's alert; it is dismissed before the next scene.
    rig.settle();
    rig.app().packs().setLastError(std::nullopt);
}, {}, bundledPacks};

const SceneRegistrar loadError{QStringLiteral("sounds/load-error"), [](SceneRig &rig) {
    rig.app().start();
    addBrokenPack(rig);
    ControlWindow &window = rig.controlWindow(SettingsPage::sounds);
    QFuture<bool> load = rig.app().selectSoundPack(QStringLiteral("broken"), SoundChannel::keyboard);
    while (!load.isFinished())
        rig.settle(50);
    rig.settle();
    ControlPage *page = window.pageView(SettingsPage::sounds);
    rig.captureContent(QStringLiteral("sounds/load-error"), page->widget());
}, {}, bundledPacks};

}
