#pragma once

#include "Foundation/Clock.h"
#include "Foundation/Scheduler.h"
#include "Platform/AppShell.h"
#include "Platform/AudioOutput.h"
#include "Platform/DesktopIconLocator.h"
#include "Platform/DesktopPictureSource.h"
#include "Platform/Dummy/AppOnlyInputCapture.h"
#include "Platform/Dummy/NoDesktopIconLocator.h"
#include "Platform/Dummy/NoDesktopPictureSource.h"
#include "Platform/Dummy/NoAccessPermissionProbe.h"
#include "Platform/Dummy/NoWorkspace.h"
#include "Platform/Dummy/TableKeyLabelSource.h"
#include "Platform/InputCapture.h"
#include "Platform/KeyLabelSource.h"
#include "Platform/LidAngleReading.h"
#include "Platform/MotionSensor.h"
#include "Platform/PermissionProbe.h"
#include "Platform/ReactionSources.h"
#include "Platform/ScreenToySources.h"
#include "Platform/SecureInputSource.h"
#include "Platform/UserDefaults.h"
#include "Platform/Workspace.h"

#include <QString>

#include <functional>
#include <memory>

// Everything the services need from the system, built once by the entry point (or by a
// test from fakes) and handed to AppController.
struct Platform {
    std::unique_ptr<UserDefaults> defaults;
    std::unique_ptr<AppShell> shell;
    std::unique_ptr<Clock> clock = std::make_unique<SystemClock>();
    std::unique_ptr<Scheduler> scheduler = std::make_unique<QtScheduler>();
    QString runLockPath;
    // Global input, key labels and permissions; the defaults hear only our own windows.
    std::unique_ptr<InputCapture> inputCapture = std::make_unique<AppOnlyInputCapture>();
    std::unique_ptr<KeyLabelSource> keyLabels = std::make_unique<TableKeyLabelSource>();
    std::unique_ptr<PermissionProbe> permissionProbe = std::make_unique<NoAccessPermissionProbe>();
    // Whether typing goes into a password field; null when that cannot be told.
    std::unique_ptr<SecureInputSource> secureInput;
    // The machine's accelerometer, or null; unset means none.
    std::function<std::unique_ptr<MotionSensor>()> findMotionSensor;
    // The lid-angle sensor's reader; unset means the machine has none.
    std::function<std::unique_ptr<LidAngleReading>()> makeLidAngleReader;
    // A new output stream for each audio engine; unset means the machine has no sound output.
    std::function<std::unique_ptr<AudioOutput>()> makeAudioOutput;
    // The pack library's root folder and the bundle it is filled from; empty means the content
    // edition's folder and the resources beside the executable.
    QString packLibraryRoot;
    QString packResourceBundle;
    // Power, sleep, drives, displays, watched folders and what overlay windows may use.
    ReactionSources reactions;
    // Where the desktop shows its icons and which picture, for desktop physics; by default
    // neither is known.
    std::unique_ptr<DesktopIconLocator> desktopIcons = std::make_unique<NoDesktopIconLocator>();
    std::unique_ptr<DesktopPictureSource> desktopPicture = std::make_unique<NoDesktopPictureSource>();
    // The desktop's applications, for the focus sessions' app guard.
    std::unique_ptr<Workspace> workspace = std::make_unique<NoWorkspace>();
    ScreenToySources screenToys;
};
