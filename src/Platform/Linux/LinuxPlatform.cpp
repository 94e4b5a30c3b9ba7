#include "Platform/Linux/LinuxPlatform.h"

#include "Platform/Linux/HIDLidAngleReader.h"
#include "Platform/Linux/LinuxAppShell.h"
#include "Platform/Linux/LinuxInputCapture.h"
#include "Platform/Linux/LinuxMotionSensors.h"
#include "Platform/Linux/LinuxPermissionProbe.h"
#include "Platform/Linux/SdlAudioOutput.h"
#include "Platform/Linux/XkbKeyLabelSource.h"
#include "Services/RunLock.h"

Platform LinuxPlatform::create()
{
    Platform platform;
    platform.defaults = std::make_unique<UserDefaults>();
    platform.shell = std::make_unique<LinuxAppShell>();
    platform.runLockPath = RunLock::defaultPath();
    platform.inputCapture = std::make_unique<LinuxInputCapture>();
    platform.keyLabels = std::make_unique<XkbKeyLabelSource>();
    platform.permissionProbe = std::make_unique<LinuxPermissionProbe>();
    platform.findMotionSensor = [] { return LinuxMotionSensors::find(); };
    platform.makeLidAngleReader = [] { return std::make_unique<HIDLidAngleReader>(); };
    platform.makeAudioOutput = [] { return std::make_unique<SdlAudioOutput>(); };
    return platform;
}
