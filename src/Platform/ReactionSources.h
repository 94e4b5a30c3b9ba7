#pragma once

#include "Platform/DirectoryWatcher.h"
#include "Platform/DisplayWatcher.h"
#include "Platform/Dummy/CompositedOverlayWindowSupport.h"
#include "Platform/MountWatcher.h"
#include "Platform/OverlayWindowSupport.h"
#include "Platform/PowerSource.h"
#include "Platform/ScreenshotLocation.h"
#include "Platform/SleepMonitor.h"

#include <QString>

#include <memory>
#include <optional>

// The system events the reaction controllers listen to, and what overlays may use. A missing
// source means this session cannot report those events; the folders are empty when unknown.
struct ReactionSources {
    std::unique_ptr<PowerSource> power;
    std::unique_ptr<SleepMonitor> sleep;
    std::unique_ptr<MountWatcher> mounts;
    std::unique_ptr<DisplayWatcher> displays;
    std::unique_ptr<DirectoryWatcher> downloads;
    std::unique_ptr<DirectoryWatcher> screenshots;
    std::unique_ptr<OverlayWindowSupport> overlays = std::make_unique<CompositedOverlayWindowSupport>();
    QString downloadsFolder;
    std::optional<ScreenshotLocation::Folder> screenshotFolder;
};
