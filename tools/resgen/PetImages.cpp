#include "PetImages.h"

#include <QDir>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace {
// The body's cell in points; the face and flippers are drawn over it at run time.
constexpr int cellWidth = 64;
constexpr int cellHeight = 62;

const QColor outline = QColor::fromRgbF(0.36f, 0.19f, 0.35f);

QPainterPath bodyOutline()
{
    // Head and trunk in one rounded mass, the snout to the left, the tail rising at the right.
    QPainterPath body;
    body.moveTo(9, 37);
    body.cubicTo(3, 36, 1.5, 31, 5, 29);
    body.cubicTo(7, 28, 9, 28.5, 10.5, 28);
    body.cubicTo(11, 15, 20, 8, 31, 8);
    body.cubicTo(44, 8, 52, 17, 53, 29);
    body.cubicTo(54.5, 27, 57, 22, 61, 20);
    body.cubicTo(63, 19.5, 63.5, 21, 62.5, 23);
    body.cubicTo(61, 27, 59.5, 30, 60.5, 33);
    body.cubicTo(61.5, 36, 62, 39, 60, 40);
    body.cubicTo(57.5, 41, 55, 39, 53, 37);
    body.cubicTo(51, 49, 43, 57, 31, 57);
    body.cubicTo(21, 57, 13, 51, 11, 41);
    body.cubicTo(10.5, 39, 10, 37.5, 9, 37);
    body.closeSubpath();
    return body;
}

QPainterPath dorsalFin()
{
    QPainterPath fin;
    fin.moveTo(27, 10);
    fin.cubicTo(30, 5, 35, 1.5, 42, 1);
    fin.cubicTo(39.5, 4, 38.5, 7, 38.5, 11);
    fin.closeSubpath();
    return fin;
}

QImage drawBody(int scale)
{
    QImage image(cellWidth * scale, cellHeight * scale, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(scale, scale);

    QLinearGradient skin(QPointF(8, 4), QPointF(56, 58));
    skin.setColorAt(0, QColor::fromRgbF(0.95f, 0.86f, 0.99f));
    skin.setColorAt(1, QColor::fromRgbF(0.76f, 0.63f, 0.88f));
    const QPen line(outline, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);

    painter.setPen(line);
    painter.setBrush(skin);
    painter.drawPath(dorsalFin());
    painter.drawPath(bodyOutline());

    // A pale belly from the chin to under the tail, and a soft shine on the crown.
    painter.save();
    painter.setClipPath(bodyOutline());
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor::fromRgbF(1.0f, 0.96f, 0.93f));
    painter.drawEllipse(QRectF(8, 34, 44, 30));
    painter.setBrush(QColor(255, 255, 255, 110));
    painter.drawEllipse(QRectF(21, 11, 16, 7));
    painter.restore();

    // Cheeks beside where the face goes.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor::fromRgbF(1.0f, 0.6f, 0.72f, 0.55f));
    painter.drawEllipse(QRectF(13, 27, 7, 4.5));
    painter.drawEllipse(QRectF(39, 27, 7, 4.5));

    painter.setPen(line);
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(bodyOutline());
    return image;
}
}

namespace PetImages {
bool generate(const QString &folder)
{
    const QDir pet(folder);
    return drawBody(1).save(pet.filePath(QStringLiteral("bloopy-dolphin-body.png")))
        && drawBody(2).save(pet.filePath(QStringLiteral("bloopy-dolphin-body@2x.png")));
}
}
