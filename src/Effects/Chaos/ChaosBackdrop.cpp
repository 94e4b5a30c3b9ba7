#include "Effects/Chaos/ChaosBackdrop.h"

#include "Effects/Chaos/DesktopWallpaperGeometry.h"
#include "Foundation/SafeFiles.h"

std::vector<ChaosBackdrop> ChaosBackdrop::fit(const QImage &image, const std::vector<ChaosScreen> &screens)
{
    if (image.isNull())
        return {};
    std::vector<ChaosBackdrop> result;
    for (const ChaosScreen &screen : screens) {
        const QRectF frame = DesktopWallpaperGeometry::spriteFrame(image.size(), screen.frame, screen.visibleFrame);
        result.push_back({image.scaled(frame.size().toSize(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                              .convertToFormat(QImage::Format_ARGB32_Premultiplied),
                          frame});
    }
    return result;
}

std::vector<ChaosBackdrop> ChaosBackdrop::load(const QString &pictureFile, const std::vector<ChaosScreen> &screens)
{
    if (pictureFile.isEmpty())
        return {};
    const std::optional<QByteArray> bytes = SafeFiles::readForeign(pictureFile, ForeignFiles::desktopPicture);
    return bytes ? fit(QImage::fromData(*bytes), screens) : std::vector<ChaosBackdrop>();
}
