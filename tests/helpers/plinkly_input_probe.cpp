// Runs the global input ladder as Plinkly does and prints what it hears, one line per
// event, for the desktop tests: "mode: <capture text>", "key <code> <down|up> <group>
// <repeat|fresh> <label>", "click <group> <down|up>". Ends by itself after the given number
// of seconds (default 10), stopping both monitors first.
#include "Platform/Linux/LinuxInputCapture.h"
#include "Platform/Linux/LinuxPermissionProbe.h"
#include "Platform/Linux/XkbKeyLabelSource.h"
#include "Services/Input/InputCapturePolicy.h"
#include "Services/Input/KeyboardMonitor.h"
#include "Services/Input/MouseMonitor.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>
#include <mutex>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int seconds = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 10;

    std::mutex outputMutex;
    const auto print = [&](const QString &line) {
        std::lock_guard lock(outputMutex);
        std::fputs(qPrintable(line + u'\n'), stdout);
        std::fflush(stdout);
    };

    LinuxInputCapture capture;
    XkbKeyLabelSource labels;
    LinuxPermissionProbe permissions;
    KeyboardMonitor keyboard(capture, labels);
    MouseMonitor mouse(capture);
    keyboard.wantsLabel = [] { return true; };
    keyboard.onEvent = [&](const KeySoundEvent &event) {
        print(QStringLiteral("key %1 %2 %3 %4 %5")
                  .arg(event.keyCode)
                  .arg(rawValue(event.phase), rawValue(event.group),
                       event.isRepeat ? QStringLiteral("repeat") : QStringLiteral("fresh"), event.label.value_or(QStringLiteral("-"))));
    };
    mouse.onClick = [&](KeyGroup group, KeyPhase phase) {
        print(QStringLiteral("click %1 %2").arg(rawValue(group), rawValue(phase)));
    };
    keyboard.start();
    mouse.start();
    print(QStringLiteral("mode: ")
          + InputCapturePolicy::state(false, true, keyboard.captureLevel(), permissions.inputMonitoringGranted()).mode);

    QTimer::singleShot(seconds * 1000, &app, [&] {
        keyboard.stop();
        mouse.stop();
        print(QStringLiteral("stopped"));
        app.quit();
    });
    return app.exec();
}
