#pragma once

#include "App/AppController.h"
#include "App/AppWindows.h"
#include "fakes/FakeGlobalPointer.h"
#include "support/TestPlatform.h"

#include <QString>
#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

// What one scene works with: a real controller over a throw-away settings file and folder,
// with the platform's fakes, and a way to save what a window shows.
class SceneRig {
public:
    // `settings` are "key=value" lines written to the settings file before the controller
    // reads it.
    // `preparePlatform` may replace platform pieces with fakes before the controller exists.
    SceneRig(const QString &outputFolder, const QStringList &settings = {},
             const std::function<void(Platform &)> &preparePlatform = {});
    ~SceneRig();

    AppController &app() { return *m_app; }
    AppWindows &windows() { return *m_windows; }
    TestPlatform &platform() { return *m_platform; }
    // The pointer a scene prepared with withToyPointer moves and clicks.
    FakeGlobalPointer &pointer() { return *m_pointer; }
    // Opens (or fronts) the control window on a page, the way the panel does.
    ControlWindow &controlWindow(SettingsPage page);
    // Lets the window manager, the compositor and queued work settle.
    void settle(int milliseconds = 250);
    // Shows a full-screen window under every other, light or dark with the scheme, standing in
    // for the desktop's wallpaper behind the translucent surfaces, for the rest of the scene.
    void showWallpaper();
    // Saves the screen area of a top-level window, frame and anything stacked over it included.
    void capture(const QString &name, QWidget *window);
    // Saves a widget's own pixels (over the wallpaper, when one is shown), for content taller
    // than the screen. Without settling, the
    // pixels are those of this moment, before queued work (a finishing load) changes them.
    void captureContent(const QString &name, QWidget *widget, bool settleFirst = true);

private:
    void save(const QString &name, const QPixmap &shot);

    QString m_outputFolder;
    TestFolder m_folder;
    std::unique_ptr<TestPlatform> m_platform;
    FakeGlobalPointer *m_pointer = nullptr;
    std::unique_ptr<AppController> m_app;
    std::unique_ptr<AppWindows> m_windows;
    std::unique_ptr<QWidget> m_wallpaper;
};

// A scene: one state of one or more windows, saved as one or more PNGs named after it.
struct Scene {
    QString name;
    std::function<void(SceneRig &)> run;
    QStringList settings;
    std::function<void(Platform &)> preparePlatform;
};

std::vector<Scene> &registeredScenes();

// Registers a scene from a static object in a scene file:
//   static SceneRegistrar paused{"control-window/paused", [](SceneRig &rig) { … }, {"effectsPaused=true"}};
struct SceneRegistrar {
    SceneRegistrar(const QString &name, std::function<void(SceneRig &)> run, const QStringList &settings = {},
                   std::function<void(Platform &)> preparePlatform = {});
    explicit SceneRegistrar(Scene scene);
};

// Platform set-ups for a scene's preparePlatform.
// Input monitoring granted and a global key source that starts.
void withGlobalKeys(Platform &platform);
// Input monitoring granted and the screen toys' pointer a fake, reached through rig.pointer().
void withToyPointer(Platform &platform);

// The control window on `page` after a start with typing on and global keys heard.
Scene liveControlWindowScene(const QString &name, SettingsPage page);
