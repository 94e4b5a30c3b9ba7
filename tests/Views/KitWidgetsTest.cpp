#include "Views/Kit/DashboardCard.h"
#include "Views/Kit/ColorSwatch.h"
#include "Views/Kit/Disclosure.h"
#include "Views/Kit/FlowGrid.h"
#include "Views/Kit/KeyedRows.h"
#include "Views/Kit/SegmentedPicker.h"
#include "Views/Kit/SettingSlider.h"
#include "Views/Kit/SwitchToggle.h"
#include "Views/Kit/SymbolIcon.h"
#include "Views/Kit/TextLabels.h"
#include "Views/Kit/VolumeControl.h"
#include "Views/PageBar.h"
#include "Views/Kit/SettingsText.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QSlider>
#include <QToolButton>
#include <QVBoxLayout>

#include <gtest/gtest.h>

TEST(SymbolIcon, EverySymbolTheInterfaceUsesDrawsSomething)
{
    QStringList symbols = SymbolIcon::knownSymbols();
    for (SettingsPage page : allCases<SettingsPage>())
        symbols << PageBar::symbol(page);
    for (const char *pack : {"dog", "fart", "feminine", "dude", "ouch", "buckling", "clicky", "topre", "panda", ""})
        symbols << SettingsText::packIcon(QLatin1String(pack));
    for (const QString &symbol : symbols) {
        ASSERT_TRUE(SymbolIcon::isKnown(symbol)) << symbol.toStdString();
        const QImage image = SymbolIcon::icon(symbol, Qt::red).pixmap(24, 24).toImage();
        int inked = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x)
                inked += qAlpha(image.pixel(x, y)) > 128 ? 1 : 0;
        }
        EXPECT_GE(inked, 12) << symbol.toStdString() << " is blank";
    }
    EXPECT_TRUE(SymbolIcon::icon(QStringLiteral("no.such.symbol"), Qt::red).isNull());
}

TEST(SymbolIcon, InkTakesTheTintAndCutOutsStayClear)
{
    const QImage image = SymbolIcon::icon(QStringLiteral("bolt.circle.fill"), QColor(0, 0, 255)).pixmap(48, 48).toImage();
    const QRgb edge = image.pixel(24, 3);
    EXPECT_GT(qAlpha(edge), 200);
    EXPECT_EQ(qBlue(edge), 255);
    EXPECT_EQ(qRed(edge), 0);
    // The bolt is cut out of the disc.
    EXPECT_LT(qAlpha(image.pixel(24, 24)), 60);
}

TEST(VolumeControl, ShowingNeverWritesAndStepsFromTheShownValue)
{
    double stored = 1.8;
    int writes = 0;
    VolumeControl control(QStringLiteral("Keyboard"), {[&] { return stored; }, [&](double value) {
                                                            stored = value;
                                                            ++writes;
                                                        }});
    control.sync();
    EXPECT_EQ(control.readoutText(), "180%  BOOST");
    EXPECT_EQ(control.findChild<QSlider *>()->value(), 150);
    EXPECT_EQ(writes, 0);

    const auto buttons = control.findChildren<QToolButton *>();
    ASSERT_EQ(buttons.size(), 2);
    buttons[1]->click();
    EXPECT_DOUBLE_EQ(stored, 1.5);
    stored = 0.03;
    control.sync();
    buttons[0]->click();
    EXPECT_DOUBLE_EQ(stored, 0.0);
    control.findChild<QSlider *>()->setValue(37);
    EXPECT_DOUBLE_EQ(stored, 0.37);
    EXPECT_EQ(writes, 3);

    stored = std::nan("");
    control.sync();
    EXPECT_EQ(control.readoutText(), "—");
    EXPECT_EQ(writes, 3);
}

TEST(SettingSlider, ClampsOnlyWhatItShows)
{
    double stored = 5.0;
    int writes = 0;
    SettingSlider slider(QStringLiteral("Cooldown"), {[&] { return stored; }, [&](double value) {
                                                         stored = value;
                                                         ++writes;
                                                     }},
                         0.2, 1.5, QStringLiteral("s"));
    EXPECT_EQ(slider.readoutText(), "5.00s");
    EXPECT_EQ(slider.findChild<QSlider *>()->value(), 1000);
    stored = 0.2;
    slider.sync();
    EXPECT_EQ(slider.readoutText(), "0.20s");
    EXPECT_EQ(writes, 0);
}

TEST(DashboardCard, TheWholeRowRunsTheActionAndOnlySwitchCardsHaveASwitch)
{
    int actions = 0;
    bool enabled = true;
    DashboardCard plain(QStringLiteral("Focus"), QStringLiteral("Sub"), QStringLiteral("timer"), std::nullopt,
                        [&] { ++actions; });
    EXPECT_EQ(plain.toggle(), nullptr);
    plain.rowButton()->click();
    EXPECT_EQ(actions, 1);

    DashboardCard switched(QStringLiteral("Typing"), QStringLiteral("Sub"), QStringLiteral("keyboard"),
                           Binding<bool>{[&] { return enabled; }, [&](bool on) { enabled = on; }}, [&] { ++actions; });
    ASSERT_NE(switched.toggle(), nullptr);
    EXPECT_TRUE(switched.toggle()->isChecked());
    switched.toggle()->click();
    EXPECT_FALSE(enabled);
    EXPECT_EQ(actions, 1);
}

TEST(FlowGrid, ColumnsAdaptToTheWidthAndRowsFollowIt)
{
    QWidget host;
    auto *grid = new FlowGrid(170, 9, 9, &host);
    for (int index = 0; index < 5; ++index) {
        auto *tile = new QWidget;
        tile->setMinimumHeight(30);
        tile->setFixedHeight(30);
        grid->addWidget(tile);
    }
    struct Case {
        int width;
        int columns;
        int height;
    };
    for (const Case &c : {Case{100, 1, 5 * 30 + 4 * 9}, Case{348, 1, 186}, Case{349, 2, 3 * 30 + 2 * 9},
                          Case{600, 3, 2 * 30 + 9}, Case{1000, 5, 30}}) {
        EXPECT_EQ(grid->columnsFor(c.width), c.columns) << c.width;
        EXPECT_EQ(grid->heightForWidth(c.width), c.height) << c.width;
    }
}

TEST(FlowGrid, BalancedRowsEvenOutAndShareTheWholeWidth)
{
    QWidget host;
    auto *grid = new FlowGrid(100, 10, 10, &host);
    grid->setRows(FlowGrid::Rows::balanced);
    std::vector<QWidget *> tiles;
    for (int index = 0; index < 4; ++index) {
        tiles.push_back(new QWidget);
        tiles.back()->setFixedHeight(30);
        grid->addWidget(tiles.back());
    }
    struct Case {
        int width;
        int tileWidth;
        int height;
    };
    // Three fit at 340 but four then wrap as two and two; at 1000 four share the whole row.
    for (const Case &c : {Case{340, 165, 70}, Case{430, 100, 30}, Case{1000, 242, 30}, Case{150, 150, 150}}) {
        grid->setGeometry(QRect(0, 0, c.width, grid->heightForWidth(c.width)));
        EXPECT_EQ(grid->heightForWidth(c.width), c.height) << c.width;
        for (QWidget *tile : tiles)
            EXPECT_EQ(tile->geometry().width(), c.tileWidth) << c.width;
    }
}

TEST(Bind, UpdatesQuietlyAndLeavesAFieldBeingTypedIn)
{
    QWidget window;
    auto *slider = new QSlider(&window);
    auto *field = new QLineEdit(&window);
    auto *other = new QLineEdit(&window);
    int moves = 0;
    QObject::connect(slider, &QSlider::valueChanged, [&] { ++moves; });
    Bind::value(slider, 40);
    EXPECT_EQ(slider->value(), 40);
    EXPECT_EQ(moves, 0);

    window.show();
    window.activateWindow();
    field->setFocus();
    QCoreApplication::processEvents();
    ASSERT_TRUE(field->hasFocus());
    field->setText(QStringLiteral("half a wor"));
    Bind::text(field, QStringLiteral("stored"));
    Bind::text(other, QStringLiteral("stored"));
    EXPECT_EQ(field->text(), "half a wor");
    EXPECT_EQ(other->text(), "stored");
}

TEST(KeyedRows, RebuildsOnlyWhenTheIdentifiersChange)
{
    KeyedRows rows(new QVBoxLayout);
    int made = 0;
    const auto make = [&](const QString &id) {
        ++made;
        return new QLineEdit(id);
    };
    EXPECT_TRUE(rows.setIds({QStringLiteral("a"), QStringLiteral("b")}, make));
    QWidget *first = rows.row(QStringLiteral("a"));
    EXPECT_FALSE(rows.setIds({QStringLiteral("a"), QStringLiteral("b")}, make));
    EXPECT_EQ(rows.row(QStringLiteral("a")), first);
    EXPECT_EQ(made, 2);
    EXPECT_TRUE(rows.setIds({QStringLiteral("b"), QStringLiteral("a")}, make));
    EXPECT_EQ(made, 4);
    EXPECT_TRUE(rows.setIds({}, make));
    EXPECT_EQ(rows.findChildren<QLineEdit *>().size(), 0);
}

TEST(SegmentedPicker, ShowsQuietlyAndReportsOnlyClicks)
{
    SegmentedPicker picker(QStringLiteral("Face"), {{QStringLiteral("happy"), QStringLiteral("Happy")},
                                                     {QStringLiteral("sleepy"), QStringLiteral("Sleepy")}});
    QStringList chosen;
    QObject::connect(&picker, &SegmentedPicker::chosen, [&](const QString &value) { chosen << value; });
    picker.setCurrentValue(QStringLiteral("sleepy"));
    EXPECT_EQ(picker.currentValue(), "sleepy");
    picker.setCurrentValue(QStringLiteral("grumpy-typo"));
    EXPECT_EQ(picker.currentValue(), "happy");
    EXPECT_TRUE(chosen.isEmpty());
    picker.findChildren<QPushButton *>()[1]->click();
    EXPECT_EQ(chosen, QStringList{QStringLiteral("sleepy")});
}

TEST(Disclosure, UserTogglesAreReportedAndShownStateIsNot)
{
    Disclosure group(QStringLiteral("Appearance"));
    auto *content = new QLabel(QStringLiteral("inside"));
    group.body()->addWidget(content);
    group.show();
    QList<bool> reported;
    QObject::connect(&group, &Disclosure::expandedChanged, [&](bool expanded) { reported << expanded; });
    EXPECT_FALSE(content->isVisible());
    group.setExpanded(true);
    EXPECT_TRUE(content->isVisible());
    EXPECT_TRUE(reported.isEmpty());
    group.findChild<QToolButton *>()->click();
    EXPECT_FALSE(group.isExpanded());
    EXPECT_FALSE(content->isVisible());
    EXPECT_EQ(reported, QList<bool>{false});
}

TEST(ColorSwatch, AClickLeavesTheSelectionToTheSetting)
{
    ColorSwatch swatch(Qt::red, QStringLiteral("Tan hand tone"));
    int clicks = 0;
    QObject::connect(&swatch, &QAbstractButton::clicked, [&] { ++clicks; });
    swatch.click();
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(swatch.isSelected());
    swatch.setSelected(true);
    swatch.click();
    EXPECT_TRUE(swatch.isSelected());
}

TEST(TextLabels, ErrorLineShowsOnlyWhileThereIsAnError)
{
    QWidget parent;
    QLabel *error = TextLabels::error(&parent);
    parent.show();
    EXPECT_FALSE(error->isVisible());
    TextLabels::setError(error, QStringLiteral("Choose an available sound library."));
    EXPECT_TRUE(error->isVisible());
    EXPECT_EQ(error->text(), "Choose an available sound library.");
    TextLabels::setError(error, std::nullopt);
    EXPECT_FALSE(error->isVisible());
}

TEST(PageBar, TitlesGoUnderTheirSymbolsOnlyWhenOneWouldNotFitBeside)
{
    PageBar bar;
    const auto titlesStacked = [&](int width) {
        bar.resize(width, 54);
        QResizeEvent event(bar.size(), QSize());
        QCoreApplication::sendEvent(&bar, &event);
        QImage plain(bar.size(), QImage::Format_ARGB32);
        bar.render(&plain);
        // A stacked title is drawn low in the bar, below where a title beside its symbol ends.
        int lowInk = 0;
        for (int y = plain.height() / 2 + 7; y <= plain.height() / 2 + 10; ++y) {
            for (int x = 0; x < plain.width(); ++x)
                lowInk += qGray(plain.pixel(x, y)) < 120 ? 1 : 0;
        }
        return lowInk > 20;
    };
    EXPECT_FALSE(titlesStacked(760));
    EXPECT_TRUE(titlesStacked(480));
}
