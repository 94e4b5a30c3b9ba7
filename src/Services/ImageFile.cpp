#include "Services/ImageFile.h"

#include <QFileInfo>
#include <QImageReader>

namespace ImageFile {
QImage read(const QString &path)
{
    QImageReader reader(path, QFileInfo(path).suffix().toLower().toLatin1());
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}
}
