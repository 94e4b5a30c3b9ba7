#pragma once

#include "Effects/DownloadWeight.h"
#include "Platform/MountWatcher.h"

#include <QList>
#include <QString>

#include <cstdint>
#include <optional>

// Rules of the arrival reactions: which files are finished downloads, how heavy they are,
// and which mounts a person would call a drive.
namespace ArrivalReactionPolicy {

// Below this a download is light; below heavyBytes medium; heavy from there.
inline constexpr std::int64_t mediumBytes = 10LL * 1024 * 1024;
inline constexpr std::int64_t heavyBytes = 250LL * 1024 * 1024;

// False for hidden files and the partial or temporary files browsers and download tools
// write before the finished file appears under its own name.
bool isFinishedDownloadName(const QString &fileName);
// The weight of a finished download, or nothing for an empty file (a browser's placeholder).
std::optional<DownloadWeight> weight(std::int64_t sizeBytes);

// Removable and external drives are mounted under /media, /run/media or /mnt.
bool isUserVisible(const MountEntry &mount);
QList<QString> userVisibleMountPoints(const QList<MountEntry> &mounts);

}
