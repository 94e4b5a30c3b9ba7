#include "Effects/Chaos/ChaosBackdrop.h"

#include "Effects/Chaos/DesktopWallpaperGeometry.h"
#include "Effects/Chaos/MappedImage.h"
#include "Foundation/SafeFiles.h"

#include <QFile>
#include <QImageReader>

namespace {
// Qt's allocation limit for decoded images, which a picture decoded into our own mapping
// would otherwise bypass.
bool withinAllocationLimit(QSize size)
{
    const qint64 limit = qint64(QImageReader::allocationLimit()) << 20;
    return limit == 0 || qint64(size.width()) * size.height() * 4 <= limit;
}
}

std::vector<ChaosBackdrop> ChaosBackdrop::fit(const QImage &image, const std::vector<ChaosScreen> &screens)
{
    if (image.isNull())
        return {};
    std::vector<ChaosBackdrop> result;
    for (const ChaosScreen &screen : screens) {
        const QRectF frame = DesktopWallpaperGeometry::spriteFrame(image.size(), screen.frame, screen.visibleFrame);
        result.push_back({MappedImage::smoothScaled(image, frame.size().toSize()), frame});
    }
    return result;
}

std::vector<ChaosBackdrop> ChaosBackdrop::load(const QString &pictureFile, const std::vector<ChaosScreen> &screens)
{
    if (pictureFile.isEmpty())
        return {};
    const UniqueFd descriptor = SafeFiles::openForeign(pictureFile, ForeignFiles::desktopPicture);
    QFile file;
    if (!descriptor || !file.open(descriptor.get(), QIODevice::ReadOnly, QFileDevice::DontCloseHandle))
        return {};
    // Read where it lies, not copied into memory first; the content names the format.
    QImageReader reader(&file);
    // Decoded into a mapping when the reader says beforehand what it will make; otherwise it
    // allocates its own.
    QImage decoded;
    if (withinAllocationLimit(reader.size()))
        decoded = MappedImage::make(reader.size(), reader.imageFormat());
    return reader.read(&decoded) ? fit(decoded, screens) : std::vector<ChaosBackdrop>();
}
