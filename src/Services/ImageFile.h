#pragma once

#include <QImage>
#include <QString>

namespace ImageFile {
// The image in a file, read by the reader its suffix names; null when the file is missing or
// unreadable. Left to guess, Qt loads every image format plugin to ask which one knows it.
QImage read(const QString &path);
}
