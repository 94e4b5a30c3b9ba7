#include "SceneRig.h"

#include "Views/ControlWindow.h"
#include "Views/Kit/KitStyle.h"
#include "fakes/FakeInputCapture.h"
#include "fakes/FakePermissionProbe.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QTextStream>
#include <QThread>

SceneRig::SceneRig(const QString &outputFolder, const QStringList &settings,
                   const std::function<void(Platform &)> &preparePlatform)
    : m_outputFolder(outputFolder)
{
    // Onboarding done and the one-time steps taken, so no window opens by itself.
    QFile file(m_folder.filePath(QStringLiteral("defaults.ini")));
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    QTextStream out(&file);
    out << "[General]\nhasCompletedOnboarding=true\ninstalledCC0AudioUpgrade1=true\ndidRequestInputMonitoringV2=true\n";
    for (const QString &line : settings)
        out << line << '\n';
    file.close();
    m_platform = std::make_unique<TestPlatform>(m_folder);
    m_platform->platform.packLibraryRoot = m_folder.makeDir(QStringLiteral("packs"));
    if (preparePlatform)
        preparePlatform(m_platform->platform);
    m_pointer = dynamic_cast<FakeGlobalPointer *>(m_platform->platform.screenToys.pointer.get());
    m_app = std::make_unique<AppController>(std::move(m_platform->platform));
    m_windows = std::make_unique<AppWindows>(*m_app);
}

SceneRig::~SceneRig()
{
    m_wallpaper.reset();
    m_windows.reset();
    m_app.reset();
}

ControlWindow &SceneRig::controlWindow(SettingsPage page)
{
    m_app->showControlPanel(page);
    settle();
    return *m_windows->controlWindow();
}

void SceneRig::settle(int milliseconds)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < milliseconds) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(10);
    }
}

void SceneRig::showWallpaper()
{
    if (m_wallpaper)
        return;
    auto window = std::make_unique<QWidget>();
    // Short of the whole screen and never focused: the window manager stacks a focused window
    // as large as the screen above everything, the pet included.
    window->setWindowFlags(Qt::FramelessWindowHint | Qt::WindowStaysOnBottomHint | Qt::WindowDoesNotAcceptFocus);
    window->setAttribute(Qt::WA_ShowWithoutActivating);
    window->setAutoFillBackground(true);
    QPalette palette = window->palette();
    palette.setColor(QPalette::Window, KitStyle::scheme(QApplication::palette()) == ColorScheme::dark
                                           ? QColor(0x1f, 0x23, 0x2b)
                                           : QColor(0xd8, 0xdc, 0xe6));
    window->setPalette(palette);
    window->setGeometry(QGuiApplication::primaryScreen()->geometry().adjusted(0, 1, 0, 0));
    window->show();
    m_wallpaper = std::move(window);
    settle();
}

void SceneRig::capture(const QString &name, QWidget *window)
{
    settle();
    QScreen *screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    const QRect frame = window->frameGeometry();
    save(name, screen->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height()));
}

void SceneRig::captureContent(const QString &name, QWidget *widget, bool settleFirst)
{
    if (settleFirst)
        settle();
    if (!m_wallpaper) {
        save(name, widget->grab());
        return;
    }
    // A translucent widget's own pixels, as they show over the wallpaper.
    QPixmap shot(widget->size() * widget->devicePixelRatioF());
    shot.setDevicePixelRatio(widget->devicePixelRatioF());
    shot.fill(m_wallpaper->palette().color(QPalette::Window));
    QPainter(&shot).drawPixmap(0, 0, widget->grab());
    save(name, shot);
}

void SceneRig::save(const QString &name, const QPixmap &shot)
{
    const QString scheme = KitStyle::scheme(QApplication::palette()) == ColorScheme::dark ? QStringLiteral("-dark")
                                                                                           : QString();
    const QString path = QDir(m_outputFolder).filePath(QString(name).replace(QLatin1Char('/'), QLatin1Char('-')) +
                                                       scheme + QStringLiteral(".png"));
    if (shot.save(path))
        QTextStream(stdout) << path << '\n';
    else
        QTextStream(stderr) << "could not save " << path << '\n';
}

std::vector<Scene> &registeredScenes()
{
    static std::vector<Scene> scenes;
    return scenes;
}

SceneRegistrar::SceneRegistrar(const QString &name, std::function<void(SceneRig &)> run, const QStringList &settings,
                               std::function<void(Platform &)> preparePlatform)
{
    registeredScenes().push_back({name, std::move(run), settings, std::move(preparePlatform)});
}

SceneRegistrar::SceneRegistrar(Scene scene)
{
    registeredScenes().push_back(std::move(scene));
}

namespace {

void grantInput(Platform &platform)
{
    auto probe = std::make_unique<FakePermissionProbe>();
    probe->inputGranted = true;
    platform.permissionProbe = std::move(probe);
}

}

void withGlobalKeys(Platform &platform)
{
    grantInput(platform);
    auto capture = std::make_unique<FakeInputCapture>();
    capture->available = {{InputCaptureLevel::eventTap, true}};
    platform.inputCapture = std::move(capture);
}

void withToyPointer(Platform &platform)
{
    grantInput(platform);
    platform.screenToys.pointer = std::make_unique<FakeGlobalPointer>();
}

Scene liveControlWindowScene(const QString &name, SettingsPage page)
{
    return {name,
            [name, page](SceneRig &rig) {
                rig.app().start();
                rig.capture(name, &rig.controlWindow(page));
            },
            {QStringLiteral("typingEnabled=true")}, withGlobalKeys};
}
