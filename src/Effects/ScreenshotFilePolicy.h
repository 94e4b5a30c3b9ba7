#pragma once

#include <QString>

namespace ScreenshotFilePolicy {

// Whether a new file in the watched folder is a finished screenshot. In a folder that does
// not hold screenshots only, the name has to say so.
bool isScreenshotFile(const QString &fileName, bool screenshotsOnlyFolder);

}
