#include "Effects/ArrivalReactionPolicy.h"

#include <array>

bool ArrivalReactionPolicy::isFinishedDownloadName(const QString &fileName)
{
    if (fileName.isEmpty() || fileName.startsWith(u'.') || fileName.endsWith(u'~'))
        return false;
    static constexpr std::array partialSuffixes{
        ".part",    ".partial", ".crdownload", ".download", ".tmp",  ".temp",  ".opdownload",
        ".!qb",     ".!ut",     ".aria2",      ".filepart", ".dtapart", ".unconfirmed"};
    const QString lower = fileName.toLower();
    for (const char *suffix : partialSuffixes) {
        if (lower.endsWith(QLatin1String(suffix)))
            return false;
    }
    // Chromium writes "Unconfirmed 123456.crdownload"; some versions leave the suffix off.
    return !lower.startsWith(QLatin1String("unconfirmed "));
}

std::optional<DownloadWeight> ArrivalReactionPolicy::weight(std::int64_t sizeBytes)
{
    if (sizeBytes <= 0)
        return std::nullopt;
    if (sizeBytes < mediumBytes)
        return DownloadWeight::light;
    if (sizeBytes < heavyBytes)
        return DownloadWeight::medium;
    return DownloadWeight::heavy;
}

bool ArrivalReactionPolicy::isUserVisible(const MountEntry &mount)
{
    static constexpr std::array roots{"/media/", "/run/media/", "/mnt/"};
    for (const char *root : roots) {
        const QLatin1String prefix(root);
        if (mount.mountPoint.startsWith(prefix) && mount.mountPoint.size() > prefix.size())
            return true;
    }
    return false;
}

QList<QString> ArrivalReactionPolicy::userVisibleMountPoints(const QList<MountEntry> &mounts)
{
    QList<QString> points;
    for (const MountEntry &mount : mounts) {
        if (isUserVisible(mount) && !points.contains(mount.mountPoint))
            points.append(mount.mountPoint);
    }
    return points;
}
