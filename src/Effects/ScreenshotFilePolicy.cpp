#include "Effects/ScreenshotFilePolicy.h"

#include <array>

bool ScreenshotFilePolicy::isScreenshotFile(const QString &fileName, bool screenshotsOnlyFolder)
{
    if (fileName.startsWith(u'.'))
        return false;
    const QString lower = fileName.toLower();
    static constexpr std::array imageSuffixes{".png", ".jpg", ".jpeg", ".webp", ".avif", ".bmp", ".tif", ".tiff"};
    bool image = false;
    for (const char *suffix : imageSuffixes)
        image = image || lower.endsWith(QLatin1String(suffix));
    if (!image)
        return false;
    if (screenshotsOnlyFolder)
        return true;
    static constexpr std::array hints{"screenshot", "screen shot", "screen_shot", "screencapture", "screen capture"};
    for (const char *hint : hints) {
        if (lower.contains(QLatin1String(hint)))
            return true;
    }
    return false;
}
