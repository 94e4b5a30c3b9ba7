#include "Platform/Linux/LinuxPlatform.h"

#include "Platform/Linux/AtspiDesktopIconLocator.h"
#include "Platform/Linux/AtspiSecureInputSource.h"
#include "Platform/Linux/DesktopReduceMotionProbe.h"
#include "Platform/Linux/HIDLidAngleReader.h"
#include "Platform/Linux/InotifyDirectoryWatcher.h"
#include "Platform/Linux/LogindSleepMonitor.h"
#include "Platform/Linux/MountinfoWatcher.h"
#include "Platform/Linux/QtDisplayWatcher.h"
#include "Platform/Linux/SysfsPowerSource.h"
#include "Platform/Linux/UPowerPowerSource.h"
#include "Platform/Linux/X11OverlayWindowSupport.h"
#include "Platform/Linux/X11Workspace.h"
#include "Platform/Linux/LinuxAppShell.h"
#include "Platform/Linux/LinuxDesktopPictureSource.h"
#include "Platform/Linux/LinuxInputCapture.h"
#include "Platform/Linux/LinuxMotionSensors.h"
#include "Platform/Linux/LinuxPermissionProbe.h"
#include "Platform/Linux/PipeWireAudioOutput.h"
#include "Platform/Linux/PulseAudioOutput.h"
#include "Platform/Linux/SdlAudioOutput.h"
#include "Platform/Linux/X11GlobalPointer.h"
#include "Platform/Linux/XkbKeyLabelSource.h"
#include "Foundation/LogCategories.h"
#include "Platform/AudioOutputLadder.h"
#include "Platform/RunLockLocation.h"

#include <QDBusConnection>
#include <QGuiApplication>
#include <QStandardPaths>

namespace {
// The roads to sound, best first; `PLINKLY_AUDIO` names the one road to take instead.
std::function<std::unique_ptr<AudioOutput>()> audioOutputs()
{
    const QByteArray forced = qgetenv("PLINKLY_AUDIO");
    const bool known = forced == "pipewire" || forced == "pulse" || forced == "sdl";
    if (!forced.isEmpty()) {
        if (known)
            qCInfo(logAudio) << "PLINKLY_AUDIO=" << forced << ": no other road is tried";
        else
            qCWarning(logAudio) << "PLINKLY_AUDIO=" << forced << "names no road (pipewire, pulse, sdl): all are tried";
    }
    return [forced = known ? forced : QByteArray()] {
        const auto wanted = [&](const char *road) { return forced.isEmpty() || forced == road; };
        std::vector<AudioOutputLadder::Road> roads;
        if (wanted("pipewire"))
            roads.push_back({QStringLiteral("pipewire"), std::make_unique<PipeWireAudioOutput>()});
        if (wanted("pulse"))
            roads.push_back({QStringLiteral("pulse"), std::make_unique<PulseAudioOutput>()});
        if (wanted("sdl"))
            roads.push_back({QStringLiteral("sdl"), std::make_unique<SdlAudioOutput>()});
        return std::make_unique<AudioOutputLadder>(std::move(roads));
    };
}
}

Platform LinuxPlatform::create()
{
    Platform platform;
    platform.defaults = std::make_unique<UserDefaults>();
    platform.shell = std::make_unique<LinuxAppShell>();
    platform.runLockPath = RunLockLocation::defaultPath();
    platform.inputCapture = std::make_unique<LinuxInputCapture>();
    platform.keyLabels = std::make_unique<XkbKeyLabelSource>();
    platform.permissionProbe = std::make_unique<LinuxPermissionProbe>();
    auto secureInput = std::make_unique<AtspiSecureInputSource>();
    secureInput->start();
    platform.secureInput = std::move(secureInput);
    platform.findMotionSensor = [] { return LinuxMotionSensors::find(); };
    platform.makeLidAngleReader = [] { return std::make_unique<HIDLidAngleReader>(); };
    platform.makeAudioOutput = audioOutputs();
    platform.desktopIcons = std::make_unique<AtspiDesktopIconLocator>();
    platform.desktopPicture = std::make_unique<LinuxDesktopPictureSource>();

    ReactionSources &reactions = platform.reactions;
    reactions.power = std::make_unique<UPowerPowerSource>(
        QDBusConnection::systemBus(),
        std::make_unique<SysfsPowerSource>(QStringLiteral("/sys/class/power_supply"), *platform.scheduler));
    reactions.sleep = std::make_unique<LogindSleepMonitor>(QDBusConnection::systemBus());
    reactions.mounts = std::make_unique<MountinfoWatcher>();
    reactions.displays = std::make_unique<QtDisplayWatcher>();
    reactions.downloads = std::make_unique<InotifyDirectoryWatcher>();
    reactions.screenshots = std::make_unique<InotifyDirectoryWatcher>();
    reactions.overlays = std::make_unique<X11OverlayWindowSupport>();
    reactions.downloadsFolder = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    reactions.screenshotFolder = ScreenshotLocation::resolve(ScreenshotLocation::current());
    platform.workspace = std::make_unique<X11Workspace>(QGuiApplication::desktopFileName());

    platform.screenToys.pointer = std::make_unique<X11GlobalPointer>();
    platform.screenToys.reduceMotion = std::make_unique<DesktopReduceMotionProbe>();
    platform.screenToys.sleep = std::make_unique<LogindSleepMonitor>(QDBusConnection::systemBus());
    return platform;
}
