#include "Views/Studio/ClipStudioView.h"
#include "Views/Studio/StudioFixture.h"
#include "Views/Studio/StudioWaveformView.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>

#include <gtest/gtest.h>

namespace {
template <typename Widget>
Widget *named(QWidget &root, const QString &name)
{
    for (Widget *widget : root.findChildren<Widget *>()) {
        if (widget->accessibleName() == name || widget->property("text").toString() == name)
            return widget;
    }
    return nullptr;
}
}

TEST(ClipStudioView, HandlesAndSlidersWriteTheSameSelection)
{
    StudioFixture studio;
    ClipStudioView view(studio.packs.get(), studio.makePlayer(), &studio.shell,
                        studio.writeTone("tone.wav", 48000));
    view.resize(680, 740);
    view.show();
    ClipStudioModel &model = view.model();
    ASSERT_TRUE(QTest::qWaitFor([&] { return model.clip().has_value(); }, 30000));
    QTest::qWait(10);

    auto *waveform = view.findChild<StudioWaveformView *>();
    ASSERT_NE(waveform, nullptr);
    QWidget *start = waveform->startHandle();
    EXPECT_EQ(start->accessibleName(), "Crop start handle");
    EXPECT_EQ(start->toolTip(), "Drag to choose where the clip starts");
    const int track = waveform->width() - 28;
    QTest::mousePress(start, Qt::LeftButton, {}, QPoint(14, 70));
    QMouseEvent move(QEvent::MouseMove, QPointF(14 + track / 2, 70),
                     start->mapToGlobal(QPointF(14 + track / 2, 70)), Qt::NoButton, Qt::LeftButton, {});
    QApplication::sendEvent(start, &move);
    QTest::mouseRelease(start, Qt::LeftButton);
    EXPECT_NEAR(model.start(), 0.5, 1.0 / track);
    EXPECT_EQ(model.start() * 48000, std::trunc(model.start() * 48000)) << "on a whole frame";
    QTest::qWait(10);

    auto *startSlider = named<QSlider>(view, "Start");
    auto *endSlider = named<QSlider>(view, "End");
    ASSERT_TRUE(startSlider && endSlider);
    EXPECT_NEAR(startSlider->value(), 500'000, 1000) << "the slider follows the handle";
    endSlider->setValue(250'000);
    EXPECT_EQ(model.end(), 0.25);
    QTest::qWait(10);
    EXPECT_EQ(waveform->selection().end, 0.25);
    EXPECT_TRUE(named<QLabel>(view, "0.25")) << "the value reads with two decimals";

    named<QPushButton>(view, "Apply Edit")->click();
    EXPECT_EQ(model.error().value_or(QString()), ClipStudioModel::selectionRefused);
}

// A filled-in pack field still says what it is: each has a label above it, not only its placeholder.
TEST(ClipStudioView, PackFieldsKeepTheirLabelsOnceFilledIn)
{
    StudioFixture studio;
    ClipStudioView view(studio.packs.get(), studio.makePlayer(), &studio.shell, QString());
    for (const char *name : {"Pack name", "Creator name", "License / permission to share"}) {
        auto *field = named<QLineEdit>(view, QString::fromUtf8(name));
        ASSERT_NE(field, nullptr) << name;
        const QLabel *title = nullptr;
        for (const QLabel *label : view.findChildren<QLabel *>())
            if (label->buddy() == field)
                title = label;
        ASSERT_NE(title, nullptr) << name;
        EXPECT_EQ(title->text(), QString::fromUtf8(name));
    }
}
