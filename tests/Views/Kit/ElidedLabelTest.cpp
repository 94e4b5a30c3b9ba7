#include "Views/Kit/ElidedLabel.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QImage>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <cmath>

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

// Line breaks the text carries start new lines, and what is left past the last line is joined
// onto it and always ends in an ellipsis, even where the joined words would fit.
TEST(ElidedLabel, KeepsTheTextsOwnLineBreaksAndMarksWhatItJoinsOnTheLastLine)
{
    ElidedLabel label;
    label.setMaximumLines(2);
    const int width = label.fontMetrics().horizontalAdvance(QStringLiteral("Water the plants and more")) + 4;
    struct Case {
        QString text;
        QString shown;
        bool cut;
    };
    for (const Case &c : {Case{QStringLiteral("Water the plants\nFeed the cat"), QStringLiteral("Water the plants\nFeed the cat"), false},
                          Case{QStringLiteral("Water\nFeed\nRest"), QStringLiteral("Water\nFeed Rest") + QChar(0x2026), true},
                          Case{QStringLiteral("Water"), QStringLiteral("Water"), false}}) {
        label.setFullText(c.text);
        label.resize(width, label.heightForWidth(width));
        EXPECT_EQ(label.text(), c.shown) << c.text.toStdString();
        EXPECT_EQ(label.toolTip(), c.cut ? c.text : QString()) << c.text.toStdString();
    }
}

// The number of lines can change after the text is given, and the label fits the text again
// at once: aligned to the top while it may wrap, centred as one line, and never fewer than one.
TEST(ElidedLabel, FitsItsTextAgainWhenTheNumberOfLinesChanges)
{
    const QString text = QStringLiteral("Reflect on what went well and what to change next time");
    ElidedLabel label(text);
    const int width = label.fontMetrics().horizontalAdvance(text) / 4;
    label.resize(width, 100);
    struct Step {
        int lines;
        qsizetype shownLines;
        Qt::Alignment vertical;
        bool heightFollowsWidth;
    };
    for (const Step &step : {Step{3, 3, Qt::AlignTop, true}, Step{1, 1, Qt::AlignVCenter, false},
                             Step{2, 2, Qt::AlignTop, true}, Step{0, 1, Qt::AlignVCenter, false}}) {
        label.setMaximumLines(step.lines);
        EXPECT_EQ(label.text().split(QLatin1Char('\n')).size(), step.shownLines) << step.lines;
        EXPECT_TRUE(label.text().endsWith(QChar(0x2026))) << step.lines;
        EXPECT_EQ(label.alignment() & Qt::AlignVertical_Mask, step.vertical) << step.lines;
        EXPECT_EQ(label.hasHeightForWidth(), step.heightFollowsWidth) << step.lines;
    }
}

// Its height for a width is that of the lines its text takes in the room left by its margins:
// one pixel less room takes another line.
TEST(ElidedLabel, HeightForAWidthCountsTheLinesInTheRoomInsideItsMargins)
{
    ElidedLabel label(QStringLiteral("Stretch and look away"));
    label.setMaximumLines(3);
    label.setContentsMargins(3, 2, 9, 4);
    const int lineHeight = label.fontMetrics().height();
    const int whole = int(std::ceil(QFontMetricsF(label.font()).horizontalAdvance(label.fullText()))) + 3 + 9;
    EXPECT_EQ(label.heightForWidth(whole), lineHeight + 2 + 4);
    EXPECT_GE(label.heightForWidth(whole - 1), 2 * lineHeight + 2 + 4);
    EXPECT_EQ(label.sizeHint(), QSize(whole, lineHeight + 2 + 4));
}

// In a layout a label that may wrap is given the height its lines need at the width it gets,
// and a larger font fits the text again.
TEST(ElidedLabel, IsGivenTheHeightOfItsLinesInALayoutAndRefitsForANewFont)
{
    QWidget card;
    auto *layout = new QVBoxLayout(&card);
    auto *label = new ElidedLabel(QStringLiteral("Reflect on what went well and what to change next time"));
    label->setMaximumLines(3);
    layout->addWidget(label);
    layout->addStretch(1);
    const int width = label->fontMetrics().horizontalAdvance(label->fullText()) / 2;
    card.resize(width, 300);
    card.show();
    QCoreApplication::processEvents();
    EXPECT_GE(label->text().split(QLatin1Char('\n')).size(), 2);
    EXPECT_GE(label->height(), label->heightForWidth(label->width()));

    // One line cut by the larger font, and one with room to spare that only asks for more height.
    ElidedLabel line(QStringLiteral("Watching Screenshots"));
    line.resize(line.sizeHint());
    ElidedLabel roomy(QStringLiteral("Watching Screenshots"));
    roomy.resize(roomy.sizeHint() * 3);
    QFont larger = line.font();
    larger.setPointSizeF(larger.pointSizeF() * 1.5);
    line.setFont(larger);
    roomy.setFont(larger);
    EXPECT_TRUE(line.text().endsWith(QChar(0x2026))) << line.text().toStdString();
    EXPECT_EQ(line.toolTip(), line.fullText());
    EXPECT_EQ(roomy.text(), roomy.fullText());
    EXPECT_GE(roomy.sizeHint().height(), QFontMetrics(larger).height());
    EXPECT_GE(roomy.sizeHint().width(), QFontMetrics(larger).horizontalAdvance(roomy.fullText()));
}

// A new text asks its layout for new room even while the label is too narrow to show more than
// an ellipsis for either text: given room later, the new text shows whole.
TEST(ElidedLabel, AsksForRoomForANewTextWhileItShowsOnlyAnEllipsis)
{
    QWidget row;
    auto *layout = new QHBoxLayout(&row);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *label = new ElidedLabel(QStringLiteral("Watching Screenshots"));
    label->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    layout->addWidget(label, 1);
    layout->addStretch(1);
    row.resize(label->minimumSizeHint().width(), 30);
    row.show();
    QCoreApplication::processEvents();
    ASSERT_EQ(label->text(), QString(QChar(0x2026)));
    const QString longer = QStringLiteral("Watching Holiday Photographs of the Summer");
    label->setFullText(longer);
    row.resize(label->fontMetrics().horizontalAdvance(longer) * 3, 30);
    QCoreApplication::processEvents();
    EXPECT_EQ(label->text(), longer);
    EXPECT_TRUE(label->toolTip().isEmpty());
}
