#include "Effects/Pet/View/PetBodyImage.h"

#include "Services/ResourceBundle.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
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

// A box blur run three times along each axis comes close to a Gaussian of the same radius.
void boxBlurAlpha(std::vector<float> &alpha, int width, int height, int radius)
{
    std::vector<float> line(std::size_t(std::max(width, height)));
    const auto pass = [&](int count, int length, auto at) {
        for (int i = 0; i < count; ++i) {
            for (int j = 0; j < length; ++j)
                line[std::size_t(j)] = at(i, j);
            float sum = 0;
            for (int j = -radius; j <= radius; ++j)
                sum += line[std::size_t(std::clamp(j, 0, length - 1))];
            for (int j = 0; j < length; ++j) {
                at(i, j) = sum / float(2 * radius + 1);
                sum += line[std::size_t(std::min(j + radius + 1, length - 1))]
                    - line[std::size_t(std::max(j - radius, 0))];
            }
        }
    };
    for (int round = 0; round < 3; ++round) {
        pass(height, width, [&](int y, int x) -> float & { return alpha[std::size_t(y * width + x)]; });
        pass(width, height, [&](int x, int y) -> float & { return alpha[std::size_t(y * width + x)]; });
    }
}
}

namespace PetBodyImage {

QImage load(const QStringList &candidates)
{
    for (const QString &path : candidates) {
        const QFileInfo file(path);
        const QString doubled = file.dir().filePath(file.completeBaseName() + QStringLiteral("@2x.") + file.suffix());
        QImage image(doubled);
        if (!image.isNull()) {
            image.setDevicePixelRatio(2);
            return image;
        }
        image = QImage(path);
        if (!image.isNull())
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

QImage multiplied(const QImage &image, const QColor &tint)
{
    QImage result = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const float r = float(tint.redF()), g = float(tint.greenF()), b = float(tint.blueF());
    for (int y = 0; y < result.height(); ++y) {
        auto *pixel = reinterpret_cast<QRgb *>(result.scanLine(y));
        for (int x = 0; x < result.width(); ++x) {
            const QRgb p = pixel[x];
            pixel[x] = qRgba(int(std::lround(float(qRed(p)) * r)), int(std::lround(float(qGreen(p)) * g)),
                             int(std::lround(float(qBlue(p)) * b)), qAlpha(p));
        }
    }
    return result;
}

QImage blurredShape(const QImage &image, const QColor &color, double radius)
{
    const double ratio = image.devicePixelRatio();
    // Three box passes of radius r spread like a Gaussian whose radius is about 1.7 r.
    const int box = std::max(1, int(std::lround(radius * ratio / 1.7)));
    const int margin = int(std::ceil(radius * ratio));
    const int width = image.width() + 2 * margin, height = image.height() + 2 * margin;
    std::vector<float> alpha(std::size_t(width * height), 0.0f);
    const QImage source = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < source.height(); ++y) {
        const auto *pixel = reinterpret_cast<const QRgb *>(source.constScanLine(y));
        for (int x = 0; x < source.width(); ++x)
            alpha[std::size_t((y + margin) * width + x + margin)] = float(qAlpha(pixel[x])) / 255.0f;
    }
    boxBlurAlpha(alpha, width, height, box);
    QImage result(width, height, QImage::Format_ARGB32_Premultiplied);
    result.setDevicePixelRatio(ratio);
    for (int y = 0; y < height; ++y) {
        auto *pixel = reinterpret_cast<QRgb *>(result.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const double a = std::clamp(double(alpha[std::size_t(y * width + x)]) * color.alphaF(), 0.0, 1.0);
            pixel[x] = qRgba(int(std::lround(color.red() * a)), int(std::lround(color.green() * a)),
                             int(std::lround(color.blue() * a)), int(std::lround(255 * a)));
        }
    }
    return result;
}

const QImage &tinted(const QColor &tint)
{
    static QHash<QRgb, QImage> cache;
    auto found = cache.find(tint.rgba());
    if (found == cache.end())
        found = cache.insert(tint.rgba(), multiplied(mascotImage(), tint));
    return *found;
}

const QImage &shadow(const QColor &color, double radius)
{
    static QHash<QPair<QRgb, int>, QImage> cache;
    const QPair<QRgb, int> key(color.rgba(), int(std::lround(radius * 10)));
    auto found = cache.find(key);
    if (found == cache.end())
        found = cache.insert(key, blurredShape(mascotImage(), color, radius));
    return *found;
}
}
