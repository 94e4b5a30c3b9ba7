#include "Platform/Linux/LinuxPlatform.h"

#include "Platform/Linux/LinuxAppShell.h"
#include "Services/RunLock.h"

Platform LinuxPlatform::create()
{
    Platform platform;
    platform.defaults = std::make_unique<UserDefaults>();
    platform.shell = std::make_unique<LinuxAppShell>();
    platform.runLockPath = RunLock::defaultPath();
    return platform;
}
