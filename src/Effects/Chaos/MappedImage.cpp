#include "Effects/Chaos/MappedImage.h"

#include <QPainter>

#include <sys/mman.h>

namespace {
struct Mapping {
    void *address;
    size_t length;
};

void unmap(void *info)
{
    const auto *mapping = static_cast<Mapping *>(info);
    ::munmap(mapping->address, mapping->length);
    delete mapping;
}

bool isHalvable(QImage::Format format)
{
    return format == QImage::Format_RGB32 || format == QImage::Format_ARGB32_Premultiplied;
}

// Each pixel the rounded mean of a 2 × 2 block, channel by channel (premultiplied, so a
// transparent neighbour does not darken); an odd last row or column is left out.
QImage halved(const QImage &image)
{
    QImage result = MappedImage::make(image.size() / 2, image.format());
    const int width = result.width();
    for (int y = 0; y < result.height(); ++y) {
        const auto *top = reinterpret_cast<const quint32 *>(image.constScanLine(2 * y));
        const auto *bottom = reinterpret_cast<const quint32 *>(image.constScanLine(2 * y + 1));
        auto *out = reinterpret_cast<quint32 *>(result.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const quint32 block[4] = {top[2 * x], top[2 * x + 1], bottom[2 * x], bottom[2 * x + 1]};
            // Two channels at a time, each in 16 bits with room for the sum of four.
            quint32 redBlue = 0x00020002, alphaGreen = 0x00020002;
            for (const quint32 pixel : block) {
                redBlue += pixel & 0x00ff00ff;
                alphaGreen += (pixel >> 8) & 0x00ff00ff;
            }
            out[x] = ((redBlue >> 2) & 0x00ff00ff) | (((alphaGreen >> 2) & 0x00ff00ff) << 8);
        }
    }
    return result;
}

QImage drawn(const QImage &image, QSize size)
{
    QImage result = MappedImage::make(size, QImage::Format_ARGB32_Premultiplied);
    if (result.isNull())
        return {};
    QPainter painter(&result);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRect(QPoint(), size), image);
    return result;
}
}

QImage MappedImage::make(QSize size, QImage::Format format)
{
    if (size.isEmpty() || format == QImage::Format_Invalid)
        return {};
    // QImage's own row length: whole 32-bit words.
    const qsizetype bytesPerLine = (qsizetype(size.width()) * QImage::toPixelFormat(format).bitsPerPixel() + 31) / 32 * 4;
    const size_t length = size_t(bytesPerLine) * size_t(size.height());
    // Every page is written at once: populated in one go rather than fault by fault.
    void *address = ::mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE, -1, 0);
    if (address == MAP_FAILED)
        return {};
    return QImage(static_cast<uchar *>(address), size.width(), size.height(), bytesPerLine, format, unmap,
                  new Mapping{address, length});
}

QImage MappedImage::smoothScaled(const QImage &image, QSize size)
{
    if (image.isNull() || size.isEmpty())
        return {};
    const auto halvable = [&size](const QImage &picture) {
        return picture.width() >= 2 * size.width() && picture.height() >= 2 * size.height();
    };
    QImage picture = image;
    if (halvable(picture) && !isHalvable(picture.format()))
        picture = drawn(picture, picture.size());
    while (!picture.isNull() && halvable(picture))
        picture = halved(picture);
    return picture.isNull() ? QImage() : drawn(picture, size);
}
