#include "Effects/Pet/View/PetBodyImage.h"

#include "Effects/Pet/View/PetPictures.h"
#include "Services/ImageFile.h"
#include "Services/ResourceBundle.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <mutex>

namespace {
constexpr double cellWidth = 64;
constexpr double cellHeight = 62;

QImage wavesSymbol()
{
    QImage image(int(cellWidth) * 2, int(cellHeight) * 2, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(2);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(80, 120, 200), 4, Qt::SolidLine, Qt::RoundCap));
    for (double y : {20.0, 31.0, 42.0}) {
        QPainterPath wave;
        wave.moveTo(8, y);
        for (double x = 8; x < 56; x += 12)
            wave.quadTo(x + 3, y - 5, x + 6, y), wave.quadTo(x + 9, y + 5, x + 12, y);
        painter.drawPath(wave);
    }
    return image;
}
}

namespace PetBodyImage {

QImage load(const QStringList &candidates)
{
    for (const QString &path : candidates) {
        const QFileInfo file(path);
        const QString doubled = file.dir().filePath(file.completeBaseName() + QStringLiteral("@2x.") + file.suffix());
        if (QImage image = ImageFile::read(doubled); !image.isNull()) {
            image.setDevicePixelRatio(2);
            return image;
        }
        if (const QImage image = ImageFile::read(path); !image.isNull())
            return image;
    }
    return wavesSymbol();
}

const QImage &mascotImage()
{
    static std::once_flag once;
    static QImage image;
    std::call_once(once, [] {
        const QString relative = QStringLiteral("Pet/bloopy-dolphin-body.png");
        // The checkout's own Resources folder, recorded where this file was built.
        const QDir sourceRoot = QFileInfo(QStringLiteral(__FILE__)).dir().filePath(QStringLiteral("../../../.."));
        image = load({ResourceBundle::filePath(relative),
                      QDir::cleanPath(sourceRoot.filePath(QStringLiteral("Resources/") + relative))});
    });
    return image;
}

const QImage &fitted(double ratio)
{
    static QHash<int, QImage> cache;
    const int key = int(std::lround(ratio * 100));
    auto found = cache.find(key);
    if (found == cache.end()) {
        const QImage &image = mascotImage();
        const QSize size = (image.deviceIndependentSize().scaled(cellWidth, cellHeight, Qt::KeepAspectRatio) * ratio)
                               .toSize();
        QImage scaled = image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        scaled.setDevicePixelRatio(ratio);
        found = cache.insert(key, scaled);
    }
    return *found;
}

const QImage &tinted(const QColor &tint, double ratio)
{
    static QHash<QPair<QRgb, int>, QImage> cache;
    const QPair<QRgb, int> key(tint.rgba(), int(std::lround(ratio * 100)));
    auto found = cache.find(key);
    if (found == cache.end())
        found = cache.insert(key, PetPictures::multiplied(fitted(ratio), tint));
    return *found;
}

const QImage &shadow(const QColor &color, double radius, double ratio)
{
    static QHash<QPair<QRgb, QPair<int, int>>, QImage> cache;
    const QPair<QRgb, QPair<int, int>> key(color.rgba(),
                                           {int(std::lround(radius * 10)), int(std::lround(ratio * 100))});
    auto found = cache.find(key);
    if (found == cache.end())
        found = cache.insert(key, PetPictures::blurredShape(fitted(ratio), color, radius));
    return *found;
}
}
