#include "Views/Kit/ElidedLabel.h"

#include <QImage>

#include <gtest/gtest.h>

namespace {

// The columns from the first to the last one holding ink that differs from the background.
int inkWidth(QWidget &widget)
{
    const QImage image = widget.grab().toImage();
    const QRgb background = image.pixel(image.width() - 1, 0);
    int first = image.width(), last = -1;
    for (int x = 0; x < image.width(); ++x) {
        for (int y = 0; y < image.height(); ++y) {
            if (image.pixel(x, y) != background) {
                first = std::min(first, x);
                last = x;
                break;
            }
        }
    }
    return last < first ? 0 : last - first + 1;
}

}

TEST(ElidedLabel, ShowsMarkupInAUsersTextAsWritten)
{
    for (const QString &text : {QStringLiteral("<b>x</b>"), QStringLiteral("<i>a</i> < b"), QStringLiteral("&amp;")}) {
        ElidedLabel label(text);
        label.resize(label.sizeHint() + QSize(40, 0));
        // Drawn as rich text, the tags would vanish and the ink would be a fraction of the text's width.
        const int written = label.fontMetrics().horizontalAdvance(text);
        EXPECT_GT(inkWidth(label), written * 3 / 4) << text.toStdString();
        EXPECT_TRUE(label.toolTip().isEmpty()) << text.toStdString();
    }
}
