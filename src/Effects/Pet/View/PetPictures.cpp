#include "Effects/Pet/View/PetPictures.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {
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

namespace PetPictures {

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
}
