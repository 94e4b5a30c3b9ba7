#pragma once

#include <QImage>
#include <QSize>

// Images whose pixels sit in an anonymous mapping of their own, handed back to the system when
// the last copy goes. A run's desktop pictures are made on a worker thread: from the C
// library's heap they would, from the second run on, stay in that thread's arena, whose top
// is never returned.
namespace MappedImage {
// Uninitialised pixels; null when the size is empty or nothing can be mapped.
QImage make(QSize size, QImage::Format format);
// Premultiplied ARGB32 at the given size: halved by averaging while at least twice as large,
// then interpolated, so a large picture shrinks without aliasing.
QImage smoothScaled(const QImage &image, QSize size);
}
