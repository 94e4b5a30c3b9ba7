#include "Foundation/RawEnum.h"
#include "Services/InterfaceTheme.h"
#include "Foundation/Contrast.h"
#include "Foundation/Appearance.h"
#include "Views/Kit/KitControlStyle.h"
#include "Views/Kit/KitStyle.h"
#include "Views/Kit/SelectableTile.h"
#include "Views/Kit/SwitchToggle.h"
#include "Views/Kit/TextLabels.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileDialog>
#include <QHoverEvent>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QPainterPath>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QStyleOption>
#include <QTemporaryDir>
#include <QToolTip>
#include <QTreeView>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <cmath>
#include <map>

// Every check renders a control on the kit's card, first in light and then, without rebuilding
// it, in dark: colours taken once at construction would fail the second scheme.
namespace {

const QColor violet = InterfaceThemes::accent(InterfaceTheme::violet);

struct SchemeGuard {
    QPalette saved = QApplication::palette();
    ~SchemeGuard() { QApplication::setPalette(saved); }
};

const char *name(ColorScheme scheme)
{
    return scheme == ColorScheme::dark ? "dark" : "light";
}

// A card of the kit's control background holding one control at a fixed size, with the
// window's accent as the control's highlight, as the pages give it.
struct Card {
    QWidget host;
    explicit Card(QWidget *control, QSize size)
    {
        host.setAutoFillBackground(true);
        host.setBackgroundRole(QPalette::Base);
        KitStyle::applyWindowPalette(&host, violet);
        control->setParent(&host);
        control->setGeometry(QRect(QPoint(4, 4), size));
        host.resize(size + QSize(8, 8));
        host.ensurePolished();
        control->ensurePolished();
    }
    QImage shot() { return host.grab().toImage(); }
};

QColor pixel(const QImage &image, QPoint at)
{
    return QColor::fromRgb(image.pixel(at));
}

double saturation(const QColor &color)
{
    return color.toHsv().hsvSaturationF();
}

// The pixel along `line` that stands out most from `background`.
QColor mostDistinct(const QImage &image, const QList<QPoint> &line, const QColor &background)
{
    QColor best = background;
    for (const QPoint &point : line) {
        if (Contrast::ratio(pixel(image, point), background) > Contrast::ratio(best, background))
            best = pixel(image, point);
    }
    return best;
}

QList<QPoint> row(int y, int from, int to)
{
    QList<QPoint> points;
    for (int x = from; x <= to; ++x)
        points.append({x, y});
    return points;
}

QList<QPoint> column(int x, int from, int to)
{
    QList<QPoint> points;
    for (int y = from; y <= to; ++y)
        points.append({x, y});
    return points;
}

QList<QPoint> area(const QRect &box)
{
    QList<QPoint> points;
    for (int y = box.top(); y <= box.bottom(); ++y)
        points.append(row(y, box.left(), box.right()));
    return points;
}

int countDistinct(const QImage &image, const QList<QPoint> &line, const QColor &background, double ratio)
{
    return int(std::count_if(line.begin(), line.end(),
                             [&](const QPoint &point) { return Contrast::ratio(pixel(image, point), background) >= ratio; }));
}

void setScheme(ColorScheme scheme)
{
    QApplication::setPalette(KitStyle::palette(scheme));
    QCoreApplication::processEvents();
}

}

TEST(KitControlStyle, SliderHasARoundHandleAnAccentFillAndAVisibleGrooveInBothSchemesAndDimsWhenDisabled)
{
    const SchemeGuard guard;
    auto *slider = new QSlider(Qt::Horizontal);
    slider->setRange(0, 100);
    slider->setValue(25);
    Card card(slider, {200, 20});
    const int middle = 4 + 10;
    QStyleOptionSlider option;
    option.initFrom(slider);
    option.orientation = Qt::Horizontal;
    option.maximum = 100;
    option.sliderPosition = option.sliderValue = 25;
    const QRect knob =
        slider->style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, slider).translated(4, 4);
    // A quarter of the way along what the handle can travel.
    EXPECT_NEAR(knob.center().x(), 4 + 8 + 184 / 4, 1);
    for (ColorScheme scheme : {ColorScheme::light, ColorScheme::dark}) {
        setScheme(scheme);
        for (bool enabled : {true, false}) {
            slider->setEnabled(enabled);
            // Every theme's accent, as the window hands it down.
            for (InterfaceTheme theme : allCases<InterfaceTheme>()) {
                KitStyle::applyWindowPalette(&card.host, InterfaceThemes::accent(theme));
                const QImage shot = card.shot();
                const QColor behind = pixel(shot, {1, 1});
                const QColor empty = mostDistinct(shot, column(4 + 180, middle - 3, middle + 3), behind);
                const QColor filled = mostDistinct(shot, column(4 + 20, middle - 3, middle + 3), behind);
                const std::string where = std::string(name(scheme)) + (enabled ? " enabled " : " disabled ") +
                                          rawValue(theme).toStdString();
                if (enabled) {
                    EXPECT_GE(Contrast::ratio(empty, behind), Contrast::large) << where;
                    EXPECT_GE(Contrast::ratio(filled, behind), Contrast::large) << where;
                    EXPECT_GT(saturation(filled), 0.3) << where << ": the filled part is the accent";
                    EXPECT_LT(saturation(empty), 0.15) << where << ": the empty part is not";
                } else {
                    EXPECT_LT(Contrast::ratio(empty, behind), Contrast::large) << where;
                    EXPECT_LT(saturation(filled), 0.15) << where << ": a disabled slider shows no accent";
                }
                // A hairline edge: the handle's face shows right inside it.
                if (enabled) {
                    EXPECT_LT(Contrast::ratio(pixel(shot, {knob.left() + 1, knob.center().y()}), Qt::white), 1.3) << where;
                }
                // Round: the handle's bounding corners show the card, its outline stands out.
                EXPECT_EQ(pixel(shot, knob.topLeft()), behind) << where;
                EXPECT_EQ(pixel(shot, knob.bottomRight()), behind) << where;
                EXPECT_GE(Contrast::ratio(mostDistinct(shot, row(knob.center().y(), knob.left(), knob.right()), behind), behind),
                          enabled ? Contrast::large : 1.0)
                    << where << ": the handle's outline";
            }
        }
        // Under the pointer the enabled handle's outline takes the accent.
        slider->setEnabled(true);
        slider->setAttribute(Qt::WA_UnderMouse, true);
        const QPoint onHandle = knob.center() - QPoint(4, 4);
        QHoverEvent hover(QEvent::HoverMove, onHandle, onHandle, onHandle);
        QCoreApplication::sendEvent(slider, &hover);
        const QImage hovered = card.shot();
        EXPECT_GT(saturation(pixel(hovered, {knob.left(), knob.center().y()})), 0.3) << name(scheme);
        slider->setAttribute(Qt::WA_UnderMouse, false);
        QHoverEvent leave(QEvent::HoverLeave, QPointF(-1, -1), QPointF(-1, -1), onHandle);
        QCoreApplication::sendEvent(slider, &leave);
    }
}

TEST(KitControlStyle, SliderFillRunsFromTheMinimumWhicheverWayTheSliderLies)
{
    struct Case {
        Qt::Orientation orientation;
        bool inverted;
        QSize size;
        QPoint filledAt, emptyAt;
    };
    const SchemeGuard guard;
    setScheme(ColorScheme::dark);
    for (const Case &c : {Case{Qt::Horizontal, false, {200, 20}, {4 + 30, 14}, {4 + 170, 14}},
                          Case{Qt::Horizontal, true, {200, 20}, {4 + 170, 14}, {4 + 30, 14}},
                          Case{Qt::Vertical, false, {20, 200}, {14, 4 + 170}, {14, 4 + 30}}}) {
        auto *slider = new QSlider(c.orientation);
        slider->setRange(0, 100);
        slider->setValue(50);
        slider->setInvertedAppearance(c.inverted);
        Card card(slider, c.size);
        const QImage shot = card.shot();
        EXPECT_GT(saturation(pixel(shot, c.filledAt)), 0.3) << int(c.orientation) << c.inverted;
        EXPECT_LT(saturation(pixel(shot, c.emptyAt)), 0.15) << int(c.orientation) << c.inverted;
        // The groove stops where the handle's centre can go no further, short of either end.
        const QColor behind = pixel(shot, {1, 1});
        for (const int along : {4 + 1, 4 + 198}) {
            const QPoint end = c.orientation == Qt::Horizontal ? QPoint(along, 14) : QPoint(14, along);
            EXPECT_EQ(pixel(shot, end), behind) << int(c.orientation) << c.inverted << " at " << along;
        }
    }
}

TEST(KitControlStyle, ScrollBarHasNoArrowsAThumbThatStandsOutAndWidensOnHover)
{
    const SchemeGuard guard;
    auto *bar = new QScrollBar(Qt::Vertical);
    bar->setRange(0, 100);
    bar->setPageStep(100);
    Card card(bar, {12, 200});
    EXPECT_TRUE(bar->testAttribute(Qt::WA_Hover));
    int middle = 0;
    const auto thumbWidth = [&](const QImage &shot, const QColor &trough) {
        return countDistinct(shot, row(middle, 4, 4 + 11), trough, Contrast::large);
    };
    for (ColorScheme scheme : {ColorScheme::light, ColorScheme::dark}) {
        setScheme(scheme);
        for (int value : {0, 100}) {
            bar->setValue(value);
            bar->setAttribute(Qt::WA_UnderMouse, false);
            // Half the content fits: the thumb is the half of the bar at the value's end.
            middle = value == 0 ? 4 + 50 : 4 + 150;
            const QImage resting = card.shot();
            const QColor behind = pixel(resting, {1, 1});
            const std::string where = std::string(name(scheme)) + " at " + std::to_string(value);
            // Without arrow buttons the thumb reaches the very end it lies at.
            const int end = value == 0 ? 4 + 1 : 4 + 198;
            const int otherEnd = value == 0 ? 4 + 198 : 4 + 1;
            EXPECT_GT(thumbWidth(resting, behind), 0) << where;
            EXPECT_EQ(pixel(resting, {4 + 11, middle}), behind) << where << ": the thumb keeps clear of the bar's edge";
            EXPECT_GE(Contrast::ratio(mostDistinct(resting, row(end, 4, 15), behind), behind), Contrast::large) << where;
            EXPECT_EQ(mostDistinct(resting, row(otherEnd, 4, 15), behind), behind) << where << ": no arrow at the far end";

            bar->setAttribute(Qt::WA_UnderMouse, true);
            const QImage hovered = card.shot();
            const QColor trough = pixel(hovered, {4 + 10, value == 0 ? 4 + 190 : 4 + 10});
            EXPECT_NE(trough, behind) << where << ": the hovered bar shows its trough";
            EXPECT_GE(Contrast::ratio(mostDistinct(hovered, row(middle, 4, 15), trough), trough), Contrast::large) << where;
            EXPECT_GT(thumbWidth(hovered, trough), thumbWidth(resting, behind)) << where << ": thin until hovered";
        }
    }
    bar->setValue(0);
    bar->setAttribute(Qt::WA_UnderMouse, false);
    for (QStyle::SubControl arrow : {QStyle::SC_ScrollBarAddLine, QStyle::SC_ScrollBarSubLine}) {
        QStyleOptionSlider option;
        option.initFrom(bar);
        option.orientation = Qt::Vertical;
        option.maximum = 100;
        option.pageStep = 100;
        EXPECT_TRUE(bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, arrow, bar).isEmpty());
    }
    bar->setEnabled(false);
    middle = 4 + 50;
    const QImage disabled = card.shot();
    const QColor behind = pixel(disabled, {1, 1});
    EXPECT_LT(Contrast::ratio(mostDistinct(disabled, row(middle, 4, 15), behind), behind), Contrast::large);
    // Nothing to scroll: no thumb at all rather than one as long as the bar.
    bar->setEnabled(true);
    bar->setRange(0, 0);
    EXPECT_EQ(mostDistinct(card.shot(), row(middle, 4, 15), behind), behind);
}

TEST(KitControlStyle, ScrollBarThumbFollowsTheValueAndPageAndClicksAboveItPageUp)
{
    const SchemeGuard guard;
    setScheme(ColorScheme::light);
    auto *bar = new QScrollBar(Qt::Vertical);
    bar->setRange(0, 300);
    bar->setPageStep(100);
    Card card(bar, {12, 200});
    bar->setValue(150);
    QStyleOptionSlider option;
    option.initFrom(bar);
    option.orientation = Qt::Vertical;
    option.maximum = 300;
    option.pageStep = 100;
    option.sliderPosition = option.sliderValue = 150;
    const QRect thumb = bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, bar);
    // A quarter of the length for a page of a quarter of the content, halfway along the rest.
    EXPECT_NEAR(thumb.height(), 50, 1);
    EXPECT_NEAR(thumb.top(), 75, 1);
    EXPECT_EQ(bar->style()->hitTestComplexControl(QStyle::CC_ScrollBar, &option, {6, 10}, bar), QStyle::SC_ScrollBarSubPage);
    EXPECT_EQ(bar->style()->hitTestComplexControl(QStyle::CC_ScrollBar, &option, {6, 100}, bar), QStyle::SC_ScrollBarSlider);
    EXPECT_EQ(bar->style()->hitTestComplexControl(QStyle::CC_ScrollBar, &option, {6, 190}, bar), QStyle::SC_ScrollBarAddPage);
}

TEST(KitControlStyle, PickerShowsAChevronOnItsOwnFillWithNoBoxAndARoundedEdge)
{
    const SchemeGuard guard;
    QComboBox *picker = TextLabels::picker();
    picker->addItems({QStringLiteral("Cream"), QStringLiteral("Blue")});
    Card card(picker, {160, 28});
    for (ColorScheme scheme : {ColorScheme::light, ColorScheme::dark}) {
        setScheme(scheme);
        for (bool enabled : {true, false}) {
            picker->setEnabled(enabled);
            const std::string where = std::string(name(scheme)) + (enabled ? " enabled" : " disabled");
            const QImage shot = card.shot();
            const QColor behind = pixel(shot, {1, 1});
            const QColor fill = pixel(shot, {4 + 6, 4 + 4});
            QStyleOptionComboBox option;
            option.initFrom(picker);
            option.rect = picker->rect();
            const QRect arrow =
                picker->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxArrow, picker).translated(4, 4);
            ASSERT_FALSE(arrow.isEmpty()) << where;
            // A box around the arrow would draw a line down its side and along its top.
            const int middle = arrow.center().y();
            EXPECT_EQ(countDistinct(shot, column(arrow.left() + 1, arrow.top() + 3, arrow.bottom() - 3), fill, 1.3), 0) << where;
            EXPECT_EQ(countDistinct(shot, row(arrow.top() + 3, arrow.left() + 1, arrow.right() - 3), fill, 1.3), 0) << where;
            const QColor chevron = mostDistinct(shot, column(arrow.center().x(), middle - 3, middle + 3), fill);
            const QColor edge = mostDistinct(shot, row(middle, 3, 7), behind);
            if (enabled) {
                EXPECT_GE(Contrast::ratio(chevron, fill), Contrast::large) << where;
                EXPECT_GE(Contrast::ratio(edge, behind), Contrast::large) << where;
            } else {
                EXPECT_GT(Contrast::ratio(chevron, fill), 1.2) << where << ": still there";
                EXPECT_LT(Contrast::ratio(chevron, fill), Contrast::large) << where << ": dimmed";
                EXPECT_LT(Contrast::ratio(edge, behind), Contrast::large) << where;
            }
            EXPECT_EQ(pixel(shot, {4, 4}), behind) << where << ": rounded corner";
        }
    }
}

TEST(KitControlStyle, LevelBarFillsItsShareInTheAccentVisibleOnTheCardAndTheTrack)
{
    const SchemeGuard guard;
    auto *bar = new QProgressBar;
    bar->setRange(200, 1200);
    bar->setTextVisible(false);
    Card card(bar, {200, 6});
    for (ColorScheme scheme : {ColorScheme::light, ColorScheme::dark}) {
        setScheme(scheme);
        for (const auto &[value, filledTo] : {std::pair{700, 100}, std::pair{200, 0}, std::pair{1200, 200}}) {
            bar->setValue(value);
            const QImage shot = card.shot();
            const QColor behind = pixel(shot, {1, 1});
            const std::string where = std::string(name(scheme)) + " at " + std::to_string(value);
            int filled = 0;
            for (int x = 4 + 4; x < 4 + 196; ++x)
                filled += saturation(pixel(shot, {x, 4 + 3})) > 0.3 ? 1 : 0;
            const QColor ink = pixel(shot, {4 + 50, 4 + 3});
            const QColor track = pixel(shot, {4 + 150, 4 + 3});
            EXPECT_NEAR(filled, std::clamp(4 + filledTo, 8, 200) - 8, 2) << where;
            if (filled > 0) {
                EXPECT_GE(Contrast::ratio(ink, behind), Contrast::large) << where;
            }
            if (filledTo < 200) {
                EXPECT_GT(Contrast::ratio(track, behind), 1.4) << where << ": the empty track shows";
            }
            if (filled > 0 && filledTo < 200) {
                EXPECT_GE(Contrast::ratio(ink, track), Contrast::large) << where;
            }
        }
    }
}

// A bar's track and fill are capsules: each end a half circle of the bar's height, not a
// stretched half ellipse. The bar is drawn tall enough for the difference to show, and
// compared with a capsule made of two circles and the rectangle between them.
TEST(KitControlStyle, LevelBarEndsAreHalfCirclesOfItsHeight)
{
    const SchemeGuard guard;
    auto *bar = new QProgressBar;
    bar->setRange(0, 100);
    bar->setTextVisible(false);
    Card card(bar, {200, 24});
    for (ColorScheme scheme : {ColorScheme::light, ColorScheme::dark}) {
        setScheme(scheme);
        for (const int value : {0, 100}) {
            bar->setValue(value);
            const QImage shot = card.shot();
            const QColor behind = pixel(shot, {1, 1});
            const QColor ink = pixel(shot, {4 + 100, 4 + 12});
            QImage capsule(shot.size(), QImage::Format_RGB32);
            capsule.fill(behind);
            {
                QPainter painter(&capsule);
                painter.setRenderHint(QPainter::Antialiasing);
                QPainterPath path;
                path.setFillRule(Qt::WindingFill);
                path.addEllipse(QRectF(4, 4, 24, 24));
                path.addEllipse(QRectF(4 + 200 - 24, 4, 24, 24));
                path.addRect(QRectF(4 + 12, 4, 200 - 24, 24));
                painter.fillPath(path, ink);
            }
            int worst = 0;
            for (const int left : {4, 4 + 200 - 12}) {
                for (const QPoint &point : area(QRect(left, 4, 12, 24))) {
                    const QColor drawn = pixel(shot, point), round = pixel(capsule, point);
                    worst = std::max({worst, std::abs(drawn.red() - round.red()), std::abs(drawn.green() - round.green()),
                                      std::abs(drawn.blue() - round.blue())});
                }
            }
            const int span = std::max({std::abs(ink.red() - behind.red()), std::abs(ink.green() - behind.green()),
                                       std::abs(ink.blue() - behind.blue())});
            EXPECT_LE(worst, span / 4) << name(scheme) << " at " << value << ", of " << span;
        }
    }
}

TEST(KitControlStyle, DisabledSwitchDimsItsKnobAndTrackInBothSchemesYetKeepsTheKnobVisible)
{
    const SchemeGuard guard;
    auto *toggle = new SwitchToggle(QStringLiteral("Typing sounds"));
    toggle->setAccent(violet);
    Card card(toggle, {38, 22});
    for (ColorScheme scheme : {ColorScheme::light, ColorScheme::dark}) {
        setScheme(scheme);
        for (bool checked : {false, true}) {
            toggle->setChecked(checked);
            struct Look {
                QColor knob, track;
            };
            const auto look = [&](bool enabled) {
                toggle->setEnabled(enabled);
                const QImage shot = card.shot();
                const int knobX = checked ? 4 + 27 : 4 + 11;
                const int trackX = checked ? 4 + 8 : 4 + 30;
                return Look{pixel(shot, {knobX, 4 + 11}), pixel(shot, {trackX, 4 + 11})};
            };
            const Look on = look(true);
            const Look off = look(false);
            const QColor behind = pixel(card.shot(), {1, 1});
            const std::string where = std::string(name(scheme)) + (checked ? " on" : " off");
            EXPECT_LT(Contrast::ratio(off.track, behind), Contrast::ratio(on.track, behind)) << where;
            EXPECT_LT(Contrast::ratio(off.knob, off.track), Contrast::ratio(on.knob, on.track)) << where;
            EXPECT_GT(Contrast::ratio(off.knob, off.track), 1.2) << where << ": the knob still tells the state";
            EXPECT_LT(saturation(off.track), 0.15) << where;
            if (scheme == ColorScheme::dark) {
                EXPECT_LT(Contrast::ratio(off.knob, behind), 0.6 * Contrast::ratio(on.knob, behind)) << where;
            }
        }
    }
}

TEST(KitControlStyle, MessageBoxIsACardWithASymbolicIconAHeadingAndNoButtonIcons)
{
    const SchemeGuard guard;
    struct Case {
        QMessageBox::Icon icon;
        ColorRole meaning;
    };
    for (const Case &c : {Case{QMessageBox::Warning, ColorRole::orange}, Case{QMessageBox::Information, ColorRole::cyan},
                          Case{QMessageBox::Critical, ColorRole::red}}) {
        setScheme(ColorScheme::light);
        QMessageBox box(c.icon, QStringLiteral("Couldn’t import that sound pack"),
                        QStringLiteral("Couldn’t import that sound pack"), QMessageBox::Ok);
        box.setInformativeText(QStringLiteral("Choose a folder that holds a manifest.json."));
        box.open();
        QCoreApplication::processEvents();
        EXPECT_EQ(box.backgroundRole(), QPalette::Base);
        EXPECT_TRUE(box.button(QMessageBox::Ok)->icon().isNull());
        QLabel *heading = nullptr;
        for (QLabel *label : box.findChildren<QLabel *>()) {
            if (label->text() == box.text())
                heading = label;
        }
        ASSERT_NE(heading, nullptr);
        EXPECT_GE(heading->font().weight(), QFont::DemiBold);
        for (ColorScheme scheme : {ColorScheme::light, ColorScheme::dark}) {
            setScheme(scheme);
            const QImage icon = box.iconPixmap().toImage();
            EXPECT_LE(icon.width(), 32 * icon.devicePixelRatio());
            const QColor card = KitStyle::color(ColorRole::controlBackground);
            QColor ink = card;
            for (int y = 0; y < icon.height(); ++y) {
                for (int x = 0; x < icon.width(); ++x) {
                    const QColor here = Contrast::over(QColor::fromRgba(icon.pixel(x, y)), card);
                    if (Contrast::ratio(here, card) > Contrast::ratio(ink, card))
                        ink = here;
                }
            }
            const std::string where = std::string(name(scheme)) + " icon " + std::to_string(int(c.icon));
            EXPECT_GE(Contrast::ratio(ink, card), Contrast::large) << where;
            // The icon is a picture: it must be drawn again in the new scheme's colour.
            const QColor meaning = KitStyle::color(c.meaning);
            EXPECT_NEAR(ink.red(), meaning.red(), 12) << where;
            EXPECT_NEAR(ink.green(), meaning.green(), 12) << where;
            EXPECT_NEAR(ink.blue(), meaning.blue(), 12) << where;
        }
        box.close();
    }
}

// The dialogs' buttons are the kit's flat ones, not a gradient: the fill halfway between the
// label and the top edge is the fill halfway to the bottom edge, for the plain and the default
// button alike.
TEST(KitControlStyle, DialogButtonsAreFlatLikeTheKitsOwn)
{
    const SchemeGuard guard;
    for (ColorScheme scheme : {ColorScheme::light, ColorScheme::dark}) {
        setScheme(scheme);
        QMessageBox box(QMessageBox::Warning, QStringLiteral("Heading"), QStringLiteral("Heading"),
                        QMessageBox::Ok | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Ok);
        box.open();
        QCoreApplication::processEvents();
        for (QMessageBox::StandardButton which : {QMessageBox::Ok, QMessageBox::Cancel}) {
            QAbstractButton *button = box.button(which);
            const QImage shot = button->grab().toImage();
            const int x = shot.width() / 6;
            const QColor upper = pixel(shot, {x, shot.height() / 4});
            const QColor lower = pixel(shot, {x, shot.height() * 3 / 4});
            EXPECT_LT(Contrast::ratio(upper, lower), 1.02)
                << name(scheme) << " " << button->text().toStdString() << " " << upper.name().toStdString() << " "
                << lower.name().toStdString();
        }
        box.close();
    }
}

// A text field's menu and a tooltip, made in either scheme: each reads in the scheme of the
// moment (its fill on the scheme's side, its text at least 4.5:1 on it), and the menu draws no
// pictures of the desktop's icon theme.
TEST(KitControlStyle, MenusAndTooltipsReadInTheSchemeOfTheMomentWithoutPictures)
{
    const SchemeGuard guard;
    // A desktop theme hands Qt a tooltip palette of its own at the start, which Qt keeps.
    const QPalette tooltips = QToolTip::palette();
    QToolTip::setPalette(KitStyle::palette(ColorScheme::light));
    // The fill at `fillAt`; the text somewhere in `text`.
    const auto reads = [](const QImage &shot, QPoint fillAt, const QRect &text, ColorScheme scheme,
                          const std::string &where) {
        const QColor fill = pixel(shot, fillAt);
        EXPECT_EQ(Contrast::luminance(fill) < 0.2, scheme == ColorScheme::dark) << where << " " << fill.name().toStdString();
        EXPECT_GE(Contrast::ratio(mostDistinct(shot, area(text), fill), fill), Contrast::text) << where;
    };
    for (ColorScheme scheme : {ColorScheme::light, ColorScheme::dark}) {
        setScheme(scheme);
        const std::string where = name(scheme);
        QMenu menu;
        QPixmap red(16, 16);
        red.fill(Qt::red);
        menu.addAction(QIcon(red), QStringLiteral("Undo"));
        menu.addAction(QStringLiteral("Select All"));
        menu.popup(QPoint(100, 100));
        QCoreApplication::processEvents();
        const QImage items = menu.grab().toImage();
        const QRect undo = menu.actionGeometry(menu.actions().first());
        reads(items, undo.topLeft() + QPoint(2, 2), undo, scheme, where + " menu");
        // The window is cut to the card's rounded corners.
        EXPECT_FALSE(menu.mask().contains(QPoint(0, 0))) << where;
        EXPECT_TRUE(menu.mask().contains(menu.rect().center())) << where;
        const QList<QPoint> inUndo = area(undo);
        EXPECT_EQ(std::count_if(inUndo.begin(), inUndo.end(),
                                [&](QPoint at) {
                                    const QColor here = pixel(items, at);
                                    return saturation(here) > 0.6 && (here.hsvHue() < 20 || here.hsvHue() > 340);
                                }),
                  0)
            << where << ": the menu drew the item's picture";
        menu.close();

        QLabel owner(QStringLiteral("Reset"));
        owner.show();
        QToolTip::showText(owner.mapToGlobal(QPoint(4, 4)), QStringLiteral("Reset all effects"), &owner);
        QCoreApplication::processEvents();
        QWidget *tip = nullptr;
        for (QWidget *widget : QApplication::allWidgets()) {
            if (widget->inherits("QTipLabel"))
                tip = widget;
        }
        ASSERT_NE(tip, nullptr) << where;
        const QImage tipShot = tip->grab().toImage();
        reads(tipShot, QPoint(2, 2), tipShot.rect(), scheme, where + " tooltip");
        QToolTip::hideText();
    }
    QToolTip::setPalette(tooltips);
}

// Where the desktop offers no file chooser, Qt's own dialog shows every column's whole text:
// names of some forty characters, sizes, kinds and dates, at the kit's own font.
TEST(KitControlStyle, FileDialogShowsEveryColumnsWholeText)
{
    QTemporaryDir folder;
    for (const auto &[name, bytes] : {std::pair{"Cream Switches.zip", 149'504}, std::pair{"bonk.wav", 88'200},
                                      std::pair{"A pack with a rather long file name.zip", 2'411'724}}) {
        QFile file(folder.filePath(QString::fromUtf8(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.resize(bytes);
    }
    QFileDialog dialog(nullptr, QStringLiteral("Open"));
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(13);
    dialog.setFont(font);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setViewMode(QFileDialog::Detail);
    dialog.setDirectory(folder.path());
    dialog.show();
    auto *view = dialog.findChild<QTreeView *>(QStringLiteral("treeView"));
    ASSERT_NE(view, nullptr);
    const QDeadlineTimer deadline(5000);
    while (view->model()->rowCount(view->rootIndex()) < 3 && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    ASSERT_EQ(view->model()->rowCount(view->rootIndex()), 3);
    QCoreApplication::processEvents();
    const QAbstractItemView *items = view;
    for (int column = 0; column < 4; ++column)
        EXPECT_GE(view->columnWidth(column), items->sizeHintForColumn(column)) << column;
}

TEST(KitControlStyle, TileAndChipEdgesAndSymbolsOnTintedTilesStandOutInBothSchemes)
{
    const SchemeGuard guard;
    for (ColorScheme scheme : {ColorScheme::light, ColorScheme::dark}) {
        setScheme(scheme);
        for (InterfaceTheme theme : allCases<InterfaceTheme>()) {
            const KitStyle::TintedTile tile = KitStyle::tintedTile(InterfaceThemes::accent(theme), 0.10);
            const QColor fill = Contrast::over(tile.fill, KitStyle::color(ColorRole::controlBackground));
            EXPECT_GE(Contrast::ratio(tile.ink, fill), Contrast::large) << name(scheme) << " " << rawValue(theme).toStdString();
            EXPECT_LT(Contrast::ratio(fill, KitStyle::color(ColorRole::controlBackground)), 1.3) << "a tint, not a block";
        }
    }
    auto *tile = new SelectableTile(QStringLiteral("scope"), QStringLiteral("Target"), SelectableTile::Arrangement::stacked);
    Card card(tile, {90, 76});
    for (ColorScheme scheme : {ColorScheme::light, ColorScheme::dark}) {
        setScheme(scheme);
        const QImage shot = card.shot();
        const QColor behind = pixel(shot, {1, 1});
        EXPECT_GE(Contrast::ratio(mostDistinct(shot, row(4 + 38, 3, 6), behind), behind), Contrast::large) << name(scheme);
    }
}

TEST(KitControlStyle, CheckBoxSquareHasTheKitEdgeAndTheAccentWhenChecked)
{
    const SchemeGuard guard;
    QCheckBox *box = TextLabels::checkBox(QStringLiteral("Reaction pack"));
    Card card(box, {160, 22});
    QStyleOptionButton option;
    option.initFrom(box);
    const QRect square = box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, box).translated(4, 4);
    for (ColorScheme scheme : {ColorScheme::light, ColorScheme::dark}) {
        setScheme(scheme);
        for (const auto &[checked, enabled] : {std::pair{false, true}, std::pair{true, true}, std::pair{false, false}}) {
            box->setChecked(checked);
            box->setEnabled(enabled);
            const QImage shot = card.shot();
            const QColor behind = pixel(shot, {1, 1});
            const std::string where = std::string(name(scheme)) + (checked ? " checked" : "") + (enabled ? "" : " disabled");
            const QColor edge = mostDistinct(shot, row(square.center().y(), square.left(), square.left() + 1), behind);
            const QColor inside = pixel(shot, square.topLeft() + QPoint(3, 3));
            EXPECT_EQ(Contrast::ratio(edge, behind) >= Contrast::large, enabled) << where;
            EXPECT_EQ(saturation(inside) > 0.3, checked) << where;
        }
    }
}

TEST(KitControlStyle, ScrollBarPagesAndThumbCoverTheBarWithoutGapsAndAnyRangeLeavesTheThumbRoomToMove)
{
    const SchemeGuard guard;
    setScheme(ColorScheme::light);
    for (const Qt::Orientation orientation : {Qt::Vertical, Qt::Horizontal}) {
        auto *bar = new QScrollBar(orientation);
        const bool vertical = orientation == Qt::Vertical;
        Card card(bar, vertical ? QSize(12, 200) : QSize(200, 12));
        for (const auto &[maximum, value] : {std::pair{1, 0}, std::pair{1, 1}, std::pair{300, 150}}) {
            QStyleOptionSlider option;
            option.initFrom(bar);
            option.orientation = orientation;
            option.maximum = maximum;
            option.pageStep = 10;
            option.sliderPosition = option.sliderValue = value;
            const auto rect = [&](QStyle::SubControl part) {
                return bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, part, bar);
            };
            const QRect thumb = rect(QStyle::SC_ScrollBarSlider);
            const QString what = QStringLiteral("%1 max %2 at %3").arg(vertical ? "vertical" : "horizontal").arg(maximum).arg(value);
            // A range of one step still scrolls, so the thumb is shorter than the bar.
            EXPECT_LT(vertical ? thumb.height() : thumb.width(), 200) << what.toStdString();
            QRegion covered;
            int parts = 0;
            for (const QStyle::SubControl part : {QStyle::SC_ScrollBarSubPage, QStyle::SC_ScrollBarSlider, QStyle::SC_ScrollBarAddPage}) {
                const QRect r = rect(part);
                EXPECT_FALSE(covered.intersects(r)) << what.toStdString();
                covered += r;
                parts += r.width() * r.height();
            }
            EXPECT_EQ(covered, QRegion(option.rect)) << what.toStdString();
            EXPECT_EQ(parts, option.rect.width() * option.rect.height()) << what.toStdString();
        }
    }
}

TEST(KitControlStyle, ControlsTheKitLeavesAloneAreStillDrawnAndAScrollBarLeavingTheStyleStopsTrackingHover)
{
    const SchemeGuard guard;
    setScheme(ColorScheme::light);
    QImage image(120, 30, QImage::Format_ARGB32_Premultiplied);
    const QStyle *style = QApplication::style();
    const auto drawn = [&](QStyle::ComplexControl control, QStyleOptionComplex &option) {
        image.fill(Qt::transparent);
        option.rect = image.rect();
        option.palette = QApplication::palette();
        option.state = QStyle::State_Enabled;
        QPainter painter(&image);
        style->drawComplexControl(control, &option, &painter);
        painter.end();
        int inked = 0;
        for (const QPoint &point : area(image.rect()))
            inked += qAlpha(image.pixel(point)) > 0;
        return inked;
    };
    QStyleOptionComboBox editable;
    editable.editable = true;
    EXPECT_GT(drawn(QStyle::CC_ComboBox, editable), 0);
    QStyleOptionSpinBox spin;
    spin.subControls = QStyle::SC_All;
    EXPECT_GT(drawn(QStyle::CC_SpinBox, spin), 0);

    for (const QString &base : {QStringLiteral("Fusion"), QStringLiteral("Windows")}) {
        KitControlStyle kit(base);
        QScrollBar bar;
        kit.polish(&bar);
        EXPECT_TRUE(bar.testAttribute(Qt::WA_Hover)) << base.toStdString();
        kit.unpolish(&bar);
        EXPECT_FALSE(bar.testAttribute(Qt::WA_Hover)) << base.toStdString();
    }
}

TEST(KitControlStyle, DarkHuesAreTheLighterDesignAndStandAsTheyAreWhileEveryHueIsReadable)
{
    const SchemeGuard guard;
    // The dark scheme's hues are designed light enough for its window; the contrast rule only
    // has to darken some light-scheme hues on the light window.
    const std::vector<std::pair<ColorRole, QColor>> darkHues{
        {ColorRole::green, QColor(48, 209, 88)}, {ColorRole::orange, QColor(255, 159, 10)},
        {ColorRole::red, QColor(255, 105, 97)},  {ColorRole::yellow, QColor(255, 214, 10)},
        {ColorRole::cyan, QColor(100, 210, 255)}, {ColorRole::pink, QColor(255, 100, 140)},
    };
    const QPalette dark = KitStyle::palette(ColorScheme::dark);
    const QPalette light = KitStyle::palette(ColorScheme::light);
    for (const auto &[role, designed] : darkHues) {
        EXPECT_EQ(Appearance::color(dark, role), designed) << int(role);
        for (const QPalette &palette : {dark, light})
            EXPECT_GE(Contrast::ratio(Appearance::color(palette, role), palette.color(QPalette::Window)), Contrast::text)
                << int(role);
    }
}

// The picker's chevron is a V pointing down, the same on both sides of the arrow's middle: its
// arms end as far out and as high on each side, and it comes to a point below them.
TEST(KitControlStyle, PickerChevronIsAnEvenVPointingDownInBothSchemes)
{
    const SchemeGuard guard;
    QComboBox *picker = TextLabels::picker();
    picker->addItems({QStringLiteral("Cream"), QStringLiteral("Blue")});
    Card card(picker, {160, 28});
    QStyleOptionComboBox option;
    option.initFrom(picker);
    option.rect = picker->rect();
    const QRect arrow =
        picker->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxArrow, picker).translated(4, 4);
    // Column x mirrors column mirror - x about the arrow's middle; the picker's edge left out.
    const int mirror = arrow.left() + arrow.right();
    const QRect inside = arrow.adjusted(3, 3, -3, -3);
    for (ColorScheme scheme : {ColorScheme::light, ColorScheme::dark}) {
        setScheme(scheme);
        const QImage shot = card.shot();
        const QColor fill = pixel(shot, {4 + 6, 4 + 4});
        const double strongest = Contrast::ratio(mostDistinct(shot, area(inside), fill), fill);
        ASSERT_GE(strongest, Contrast::large) << name(scheme);
        // How much of the chevron's ink a pixel holds, 0 on the fill and 1 on its strongest.
        const auto ink = [&](QPoint at) { return (Contrast::ratio(pixel(shot, at), fill) - 1) / (strongest - 1); };
        double worst = 0;
        QRect inked;
        for (const QPoint &at : area(inside)) {
            worst = std::max(worst, std::abs(ink(at) - ink({mirror - at.x(), at.y()})));
            if (ink(at) > 0.25)
                inked |= QRect(at, QSize(1, 1));
        }
        EXPECT_LT(worst, 0.2) << name(scheme) << ": the arms mirror each other";
        EXPECT_NEAR(inked.width(), 9, 1) << name(scheme);
        EXPECT_NEAR(inked.height(), 5, 1) << name(scheme);
        EXPECT_LE(std::abs(inked.center().y() - arrow.center().y()), 1) << name(scheme);
        // The arms' ends on the top row, and only the point on the bottom one.
        const int middle = mirror / 2;
        EXPECT_GT(ink({inked.left(), inked.top()}), 0.25) << name(scheme);
        EXPECT_LT(ink({middle, inked.top()}), 0.25) << name(scheme);
        EXPECT_GT(ink({middle, inked.bottom()}), 0.25) << name(scheme);
        EXPECT_LT(ink({inked.left(), inked.bottom()}), 0.25) << name(scheme);
    }
}

// A checked box shows a tick: ink along its short stroke down from the left, at the point where
// it turns and along its long stroke up to the right, none in the corners the tick leaves clear.
// A partly checked box shows a level dash instead, and an unchecked one no mark at all.
TEST(KitControlStyle, CheckBoxMarksATickInTwoStrokesADashWhenPartlyCheckedAndNothingWhenUnchecked)
{
    const SchemeGuard guard;
    QCheckBox *box = TextLabels::checkBox(QStringLiteral("Reaction pack"));
    box->setTristate(true);
    Card card(box, {160, 22});
    QStyleOptionButton option;
    option.initFrom(box);
    const QRect square = box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, box).translated(4, 4);
    const QRectF inner = QRectF(square).adjusted(0.5, 0.5, -0.5, -0.5);
    // A place in the box in shares of its side from its middle, y down.
    const auto at = [&](double u, double v) {
        const QPointF point = inner.center() + QPointF(u, v) * inner.width();
        return QPoint(int(std::floor(point.x())), int(std::floor(point.y())));
    };
    struct Place {
        const char *name;
        QPointF share;
    };
    const Place shortStroke{"short stroke", {-0.18, 0.1}}, turn{"turn", {-0.08, 0.2}},
        longStroke{"long stroke", {0.1, 0.0}}, longEnd{"long stroke's end", {0.22, -0.15}},
        dashLeft{"dash's left", {-0.15, 0}}, dashRight{"dash's right", {0.15, 0}}, topLeft{"top left", {-0.22, -0.22}},
        bottomRight{"bottom right", {0.22, 0.25}}, below{"below the middle", {0, 0.25}},
        above{"above the middle", {0, -0.25}};
    struct Case {
        Qt::CheckState state;
        std::vector<Place> inked, clear;
    };
    const Case cases[] = {
        {Qt::Checked, {shortStroke, turn, longStroke, longEnd}, {topLeft, bottomRight, above}},
        {Qt::PartiallyChecked, {dashLeft, dashRight}, {turn, longEnd, below, above}},
        {Qt::Unchecked, {}, {shortStroke, turn, longStroke, longEnd, dashLeft, dashRight, topLeft, bottomRight}},
    };
    for (ColorScheme scheme : {ColorScheme::light, ColorScheme::dark}) {
        setScheme(scheme);
        for (const Case &c : cases) {
            box->setCheckState(c.state);
            const QImage shot = card.shot();
            // The box's own fill: the colour most of its inside shows.
            std::map<QRgb, int> counts;
            for (const QPoint &point : area(square.adjusted(2, 2, -2, -2)))
                ++counts[shot.pixel(point)];
            const QColor fill = QColor::fromRgb(
                std::max_element(counts.begin(), counts.end(), [](auto &a, auto &b) { return a.second < b.second; })->first);
            const std::string where = std::string(name(scheme)) + " state " + std::to_string(int(c.state)) + ": ";
            for (const Place &place : c.inked)
                EXPECT_GE(Contrast::ratio(pixel(shot, at(place.share.x(), place.share.y())), fill), 1.5)
                    << where << place.name;
            for (const Place &place : c.clear)
                EXPECT_LT(Contrast::ratio(pixel(shot, at(place.share.x(), place.share.y())), fill), 1.1)
                    << where << place.name;
        }
    }
}
