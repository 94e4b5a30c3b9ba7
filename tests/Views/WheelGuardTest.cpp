#include "Foundation/RawEnum.h"
#include "Views/ControlWindow.h"
#include "Views/Kit/Disclosure.h"
#include "Views/Kit/PageScaffold.h"
#include "Views/Kit/SegmentedPicker.h"
#include "Views/MenuBarPanel.h"
#include "Views/Studio/ClipStudioView.h"
#include "Views/Studio/StudioFixture.h"
#include "support/ViewRig.h"

#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QTest>
#include <QWheelEvent>
#include <QtTest/qtestspontaneevent.h>

#include <gtest/gtest.h>

namespace {

// One notch of a mouse wheel over the middle of `widget`, downwards unless `up`.
void wheel(QWidget *widget, bool up = false)
{
    const QPointF local = QRectF(widget->rect()).center();
    QWheelEvent event(local, widget->mapToGlobal(local), QPoint(), QPoint(0, up ? 120 : -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    // Only a wheel event from the system travels on to the parents of a control that ignores
    // it; sendEvent would mark it as the application's own.
    QSpontaneKeyEvent::setSpontaneous(&event);
    qApp->notify(widget, &event);
}

// Every slider, picker, spin box and segment the user could wheel over.
QList<QWidget *> wheelableControls(QWidget *root)
{
    QList<QWidget *> controls;
    for (QWidget *widget : root->findChildren<QWidget *>()) {
        const bool segment = qobject_cast<QPushButton *>(widget) && qobject_cast<SegmentedPicker *>(widget->parentWidget());
        const bool wheelable = qobject_cast<QAbstractSlider *>(widget) || qobject_cast<QComboBox *>(widget) ||
                               qobject_cast<QAbstractSpinBox *>(widget) || segment;
        if (wheelable && widget->isVisibleTo(root) && widget->isEnabled() && !qobject_cast<QScrollBar *>(widget))
            controls << widget;
    }
    return controls;
}

int position(QWidget *control)
{
    if (auto *slider = qobject_cast<QAbstractSlider *>(control))
        return slider->value();
    if (auto *combo = qobject_cast<QComboBox *>(control))
        return combo->currentIndex();
    if (auto *button = qobject_cast<QPushButton *>(control))
        return button->isChecked();
    return 0;
}

}

TEST(WheelGuard, AWheelNotchOverAnyControlScrollsThePageAndChangesNoSetting)
{
    ViewRig rig({QStringLiteral("typingEnabled=true"), QStringLiteral("mouseSoundsEnabled=true"),
                 QStringLiteral("impactEnabled=true")});
    SettingsViewState state(SettingsPage::home);
    ControlWindow window(*rig.app, state);
    window.resize(760, 360);
    window.show();
    QCoreApplication::processEvents();
    QSet<QString> kinds;
    for (SettingsPage page : allCases<SettingsPage>()) {
        window.openPage(page);
        QCoreApplication::processEvents();
        // Folded groups hide controls too (the pet's colour and face segments).
        for (Disclosure *group : window.findChildren<Disclosure *>())
            group->setExpanded(true);
        QCoreApplication::processEvents();
        const QList<PageScaffold *> scaffolds = window.findChildren<PageScaffold *>();
        const auto shown = std::ranges::find_if(scaffolds, [](PageScaffold *s) { return s->isVisible(); });
        ASSERT_NE(shown, scaffolds.end()) << rawValue(page).toStdString();
        PageScaffold *scaffold = *shown;
        for (QWidget *control : wheelableControls(scaffold)) {
            kinds << QString::fromLatin1(control->metaObject()->className());
            scaffold->ensureWidgetVisible(control);
            QScrollBar *bar = scaffold->verticalScrollBar();
            const bool up = bar->value() == bar->maximum();
            const int scrolled = bar->value();
            const int before = position(control);
            const auto settings = rig.storedSettings();
            wheel(control, up);
            QCoreApplication::processEvents();
            const std::string where = rawValue(page).toStdString() + " " + control->accessibleName().toStdString();
            EXPECT_NE(bar->value(), scrolled) << where;
            EXPECT_EQ(position(control), before) << where;
            EXPECT_EQ(rig.storedSettings(), settings) << where;
        }
    }
    EXPECT_TRUE(kinds.contains(QStringLiteral("QSlider")));
    EXPECT_TRUE(kinds.contains(QStringLiteral("QPushButton")));

    // Clicked or tabbed to, a slider takes the wheel as usual.
    window.openPage(SettingsPage::sounds);
    QCoreApplication::processEvents();
    auto *slider = ViewRig::named<QAbstractSlider>(&window, QStringLiteral("Keyboard volume"));
    ASSERT_NE(slider, nullptr);
    window.activateWindow();
    slider->setFocus(Qt::TabFocusReason);
    const int before = slider->value();
    wheel(slider);
    EXPECT_NE(slider->value(), before);
}

TEST(WheelGuard, TheTrayPanelsSlidersAndPackPickersIgnoreAPassingWheel)
{
    ViewRig rig({QStringLiteral("typingEnabled=true"), QStringLiteral("mouseSoundsEnabled=true"),
                 QStringLiteral("impactEnabled=true")});
    MenuBarPanel panel(*rig.app);
    panel.show();
    // Showing the panel starts the app; the pickers fill once the pack library is read.
    const QList<QComboBox *> pickers = panel.findChildren<QComboBox *>();
    ASSERT_TRUE(ViewRig::waitFor([&] {
        return std::ranges::all_of(pickers, [](QComboBox *picker) { return picker->currentIndex() >= 0; });
    }));
    const QList<QWidget *> controls = wheelableControls(&panel);
    EXPECT_TRUE(std::ranges::any_of(controls, [](QWidget *c) { return qobject_cast<QComboBox *>(c) != nullptr; }));
    EXPECT_TRUE(std::ranges::any_of(controls, [](QWidget *c) { return qobject_cast<QAbstractSlider *>(c) != nullptr; }));
    for (QWidget *control : controls) {
        const int before = position(control);
        const auto settings = rig.storedSettings();
        wheel(control);
        wheel(control, true);
        QCoreApplication::processEvents();
        EXPECT_EQ(position(control), before) << control->accessibleName().toStdString();
        EXPECT_EQ(rig.storedSettings(), settings) << control->accessibleName().toStdString();
    }
}

// The studio's sliders and pickers, with a clip loaded and the page scrolled part way: a
// passing wheel scrolls the page, and only the control the user clicked or tabbed to takes it.
TEST(WheelGuard, TheStudiosSlidersAndPickersTakeTheWheelOnlyWithFocus)
{
    StudioFixture studio;
    ClipStudioView view(studio.packs.get(), studio.makePlayer(), &studio.shell,
                        studio.writeTone(QStringLiteral("tone.wav"), 48000));
    view.resize(680, 320);
    view.show();
    view.activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return view.model().clip().has_value(); }, 30000));
    QCoreApplication::processEvents();
    auto *scroll = view.findChild<QScrollArea *>();
    ASSERT_NE(scroll, nullptr);
    QScrollBar *bar = scroll->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0) << "the page must scroll for the wheel to have somewhere to go";

    const QList<QWidget *> controls = wheelableControls(&view);
    EXPECT_GE(std::ranges::count_if(controls, [](QWidget *c) { return qobject_cast<QSlider *>(c) != nullptr; }), 4);
    EXPECT_GE(std::ranges::count_if(controls, [](QWidget *c) { return qobject_cast<QComboBox *>(c) != nullptr; }), 2);
    for (QWidget *control : controls) {
        const std::string name = control->accessibleName().toStdString();
        scroll->ensureWidgetVisible(control);
        QCoreApplication::processEvents();
        // Half way down a slider, so the wheel could move it either way.
        if (auto *slider = qobject_cast<QAbstractSlider *>(control))
            slider->setValue((slider->minimum() + slider->maximum()) / 2);
        const bool up = bar->value() == bar->maximum();
        const int scrolled = bar->value();
        const int before = position(control);
        wheel(control, up);
        QCoreApplication::processEvents();
        EXPECT_NE(bar->value(), scrolled) << name;
        EXPECT_EQ(position(control), before) << name;

        control->setFocus(Qt::TabFocusReason);
        ASSERT_TRUE(control->hasFocus()) << name;
        const int reached = bar->value();
        wheel(control, position(control) > 0);
        QCoreApplication::processEvents();
        EXPECT_NE(position(control), before) << name;
        EXPECT_EQ(bar->value(), reached) << name;
        control->clearFocus();
    }
}
