#include "Effects/Chaos/ChaosScene.h"
#include "Effects/Overlays/ReactionCardView.h"
#include "Effects/Overlays/StatsOverlayView.h"
#include "Effects/Pet/PetPresentation.h"
#include "Effects/Pet/View/DesktopPetView.h"
#include "Effects/StatsOverlayPresentation.h"
#include "Foundation/RawEnum.h"
#include "Views/ControlWindow.h"
#include "Foundation/Contrast.h"
#include "Views/Kit/KitAppearance.h"
#include "Views/Kit/KitStyle.h"
#include "Views/Kit/PageScaffold.h"
#include "Views/MenuBarPanel.h"
#include "Views/OnboardingWindow.h"
#include "fakes/FakeColorSchemeSource.h"
#include "fakes/ManualClock.h"
#include "support/ViewRig.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QFontInfo>
#include <QHash>
#include <QLabel>
#include <QPainter>
#include <QTextDocument>

#include <gtest/gtest.h>

namespace {

struct SchemeGuard {
    QPalette saved = QApplication::palette();
    explicit SchemeGuard(ColorScheme scheme) { QApplication::setPalette(KitStyle::palette(scheme)); }
    ~SchemeGuard() { QApplication::setPalette(saved); }
};

// What a desktop surface lies on: a wallpaper of the scheme's own brightness.
QColor wallpaper(ColorScheme scheme)
{
    return scheme == ColorScheme::dark ? QColor(24, 26, 32) : QColor(216, 220, 230);
}

// What most of the label's own area shows apart from its ink: the colour behind its text. On
// a gradient no one background colour need outnumber the text's own flat ink.
QColor colourBehind(const QImage &shot, const QRect &area, const QColor &ink = {})
{
    QHash<QRgb, int> counts;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (!ink.isValid() || shot.pixel(x, y) != ink.rgb())
                ++counts[shot.pixel(x, y)];
        }
    }
    // Nothing but ink: the text stands on its own colour.
    QRgb most = ink.isValid() ? ink.rgb() : 0;
    int best = -1;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        if (it.value() > best) {
            best = it.value();
            most = it.key();
        }
    }
    return QColor::fromRgb(most);
}

// Checks every visible, enabled plain-text label under `root` against the pixels `root`
// draws behind it; `skip` leaves out labels another shot covers.
void checkLabels(QWidget *root, const QString &where, const std::function<bool(QLabel *)> &skip = {})
{
    const QImage shot = root->grab().toImage();
    int checked = 0;
    for (QLabel *label : root->findChildren<QLabel *>()) {
        if (!label->isVisibleTo(root) || !label->isEnabled() || label->text().trimmed().isEmpty() ||
            (label->textFormat() != Qt::PlainText && Qt::mightBeRichText(label->text())) || (skip && skip(label)))
            continue;
        const QRect area = QRect(label->mapTo(root, QPoint(0, 0)), label->size()).intersected(shot.rect());
        if (area.isEmpty())
            continue;
        const QColor text = label->palette().color(QPalette::WindowText);
        const QColor behind = colourBehind(shot, area, text);
        const QColor ink = Contrast::over(text, behind);
        const double minimum = QFontInfo(label->font()).pixelSize() >= 18 ? Contrast::large : Contrast::text;
        EXPECT_GE(Contrast::ratio(ink, behind), minimum)
            << where.toStdString() << ": \"" << label->text().toStdString() << "\" " << ink.name().toStdString()
            << " on " << behind.name().toStdString();
        ++checked;
    }
    EXPECT_GT(checked, 0) << where.toStdString();
}

// The pixel of `area` that stands out most from `background`.
QColor mostDistinct(const QImage &shot, const QRect &area, const QColor &background)
{
    QColor best = background;
    double bestRatio = 1;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor pixel = QColor::fromRgb(shot.pixel(x, y));
            if (const double ratio = Contrast::ratio(pixel, background); ratio > bestRatio) {
                bestRatio = ratio;
                best = pixel;
            }
        }
    }
    return best;
}

// Checks every visible, enabled button title under `root` (selected and checked ones as they
// are drawn) against the button's own fill, away from its rounded corners, and the edge of
// every field, push button, picker and check box square against what lies just outside it.
void checkControls(QWidget *root, const QString &where)
{
    const QImage shot = root->grab().toImage();
    int checked = 0;
    for (QAbstractButton *button : root->findChildren<QAbstractButton *>()) {
        if (!button->isVisibleTo(root) || !button->isEnabled() || button->text().trimmed().isEmpty())
            continue;
        const QRect area = QRect(button->mapTo(root, QPoint(0, 0)), button->size()).intersected(shot.rect());
        const QRect inner = area.adjusted(std::min(12, area.width() / 4), std::min(7, area.height() / 4),
                                          -std::min(12, area.width() / 4), -std::min(7, area.height() / 4));
        if (inner.isEmpty())
            continue;
        const QColor fill = colourBehind(shot, inner);
        const QColor ink = mostDistinct(shot, inner, fill);
        const double minimum = QFontInfo(button->font()).pixelSize() >= 18 ? Contrast::large : Contrast::text;
        EXPECT_GE(Contrast::ratio(ink, fill), minimum)
            << where.toStdString() << ": button \"" << button->text().toStdString() << "\" " << ink.name().toStdString()
            << " on " << fill.name().toStdString();
        ++checked;
    }
    for (QWidget *control : root->findChildren<QWidget *>()) {
        const bool edged = qobject_cast<QLineEdit *>(control) || qobject_cast<QComboBox *>(control) ||
                           qobject_cast<QPushButton *>(control);
        if (!edged || !control->isVisibleTo(root) || !control->isEnabled() || !control->parentWidget() ||
            qobject_cast<QComboBox *>(control->parentWidget()))
            continue;
        const QRect area = QRect(control->mapTo(root, QPoint(0, 0)), control->size());
        const int middle = area.center().y();
        if (area.left() < 3 || !shot.rect().contains(area.left() + 3, middle))
            continue;
        const QColor outside = QColor::fromRgb(shot.pixel(area.left() - 2, middle));
        const QColor edge = mostDistinct(shot, QRect(area.left(), middle - 2, 3, 5), outside);
        EXPECT_GE(Contrast::ratio(edge, outside), Contrast::large)
            << where.toStdString() << ": edge of " << control->metaObject()->className() << " \""
            << (qobject_cast<QPushButton *>(control) ? qobject_cast<QPushButton *>(control)->text()
                                                     : control->accessibleName())
                   .toStdString()
            << "\" " << edge.name().toStdString() << " on "
            << outside.name().toStdString();
    }
    for (QCheckBox *box : root->findChildren<QCheckBox *>()) {
        if (!box->isVisibleTo(root) || !box->isEnabled())
            continue;
        QStyleOptionButton option;
        option.initFrom(box);
        const QRect square = box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, box);
        const QPoint origin = box->mapTo(root, square.topLeft());
        const QColor outside = QColor::fromRgb(shot.pixel(box->mapTo(root, QPoint(0, 0)).x() - 2, origin.y() + 2));
        const QColor edge = mostDistinct(shot, QRect(origin.x(), origin.y() + square.height() / 2 - 2, 2, 5), outside);
        EXPECT_GE(Contrast::ratio(edge, outside), Contrast::large)
            << where.toStdString() << ": square of \"" << box->text().toStdString() << "\" " << edge.name().toStdString()
            << " on " << outside.name().toStdString();
    }
    EXPECT_GT(checked, 0) << where.toStdString();
}

// A painted surface (card, capsule, banner) in `area` of `shot`: its fill is of the scheme's
// brightness, and its text reads on it. The darkest pixel of small antialiased text falls short
// of its colour, so a caption's is held to `minimum` below the text ratio.
void checkSurface(const QImage &shot, const QRectF &area, ColorScheme scheme, const QString &where,
                  double minimum = Contrast::text)
{
    const QRect inner = area.toAlignedRect().adjusted(4, 3, -4, -3).intersected(shot.rect());
    ASSERT_FALSE(inner.isEmpty()) << where.toStdString();
    const QColor fill = colourBehind(shot, inner);
    const QColor ink = mostDistinct(shot, inner, fill);
    EXPECT_GE(Contrast::ratio(ink, fill), minimum)
        << where.toStdString() << ": " << ink.name().toStdString() << " on " << fill.name().toStdString();
    EXPECT_EQ(Contrast::luminance(fill) < Contrast::luminance(ink), scheme == ColorScheme::dark)
        << where.toStdString() << ": " << fill.name().toStdString() << " fill in the wrong scheme";
}

// What a translucent top-level widget shows over the scheme's wallpaper.
QImage overWallpaper(QWidget *widget, ColorScheme scheme)
{
    QImage shot(widget->size(), QImage::Format_RGB32);
    shot.fill(wallpaper(scheme));
    widget->render(&shot, QPoint(), QRegion(), QWidget::DrawChildren);
    return shot;
}

bool insidePage(QLabel *label)
{
    for (QWidget *parent = label->parentWidget(); parent; parent = parent->parentWidget()) {
        if (qobject_cast<PageScaffold *>(parent))
            return true;
    }
    return false;
}

}

// The surfaces every scheme switch must reach, built once in light and kept through
// light -> dark -> light switches made the way the desktop makes them.
TEST(ContrastWalk, EverySurfaceReadsInBothSchemesAcrossLiveSwitches)
{
    const SchemeGuard guard(ColorScheme::light);
    FakeColorSchemeSource source;
    const KitAppearance appearance(source);
    ViewRig rig({QStringLiteral("typingEnabled=true"), QStringLiteral("mouseSoundsEnabled=true"),
                 QStringLiteral("impactEnabled=true")});
    SettingsViewState state(SettingsPage::home);
    ControlWindow window(*rig.app, state);
    window.resize(760, 620);
    window.show();
    MenuBarPanel panel(*rig.app);
    panel.show();
    OnboardingWindow onboarding(*rig.app);
    onboarding.show();

    ManualClock clock;
    ManualScheduler scheduler{clock};
    PetPresentation pet{scheduler};
    DesktopPetView capsuleView(pet, scheduler, {});
    capsuleView.resize(300, 200);
    PetPresentation menuPet{scheduler};
    DesktopPetView cardView(menuPet, scheduler, {});
    cardView.resize(320, 420);
    StatsOverlayPresentation typing(scheduler);
    typing.showKey(QStringLiteral("A"));
    StatsOverlayView hud(typing, true);
    hud.resize(StatsOverlayView::panelSize);
    ReactionCardView card({QStringLiteral("Charger connected"), OverlayGlyphs::Glyph::bolt, 1.0, QColor(255, 166, 40)},
                          ReactionCardView::Blending::translucent);
    card.resize(card.panelSize());
    ChaosScene chaos(ChaosMode::gravity, {}, QRectF(0, 0, 800, 300), 300);
    // The banner fully faded in.
    for (int frame = 0; frame < 30; ++frame)
        chaos.step();

    window.state().setClipStudioPresented(true);
    for (const auto &[wish, scheme] : {std::pair{ColorSchemePreference::noPreference, ColorScheme::light},
                                       std::pair{ColorSchemePreference::dark, ColorScheme::dark},
                                       std::pair{ColorSchemePreference::light, ColorScheme::light}}) {
        source.set(wish);
        QCoreApplication::processEvents();
        ASSERT_EQ(KitStyle::scheme(QApplication::palette()), scheme);
        const QString name = scheme == ColorScheme::dark ? QStringLiteral("dark ") : QStringLiteral("light ");

        // The studio was open across the switch; then the pages behind it.
        ASSERT_NE(window.studioSheet(), nullptr);
        checkLabels(window.studioSheet(), name + QStringLiteral("studio"));
        checkControls(window.studioSheet(), name + QStringLiteral("studio"));
        window.state().setClipStudioPresented(false);
        QCoreApplication::processEvents();
        checkLabels(&window, name + QStringLiteral("window"), insidePage);
        checkControls(&window, name + QStringLiteral("window"));
        for (SettingsPage page : allCases<SettingsPage>()) {
            window.openPage(page);
            QCoreApplication::processEvents();
            for (PageScaffold *scaffold : window.findChildren<PageScaffold *>()) {
                if (scaffold->isVisible()) {
                    checkLabels(scaffold->widget(), name + rawValue(page));
                    checkControls(scaffold->widget(), name + rawValue(page));
                }
            }
        }
        // A running session's card, its text on the card's own tint.
        rig.app->startFocusSession();
        window.openPage(SettingsPage::focus);
        QCoreApplication::processEvents();
        for (PageScaffold *scaffold : window.findChildren<PageScaffold *>()) {
            // The countdown's digits fill most of its own area, hiding the colour behind them.
            if (scaffold->isVisible())
                checkLabels(scaffold->widget(), name + QStringLiteral("focus session"),
                            [](QLabel *label) { return label->accessibleName() == QStringLiteral("Time left"); });
        }
        rig.app->focus().stop(false);
        QCoreApplication::processEvents();
        checkLabels(&panel, name + QStringLiteral("panel"));
        checkControls(&panel, name + QStringLiteral("panel"));
        checkLabels(&onboarding, name + QStringLiteral("onboarding"));
        checkControls(&onboarding, name + QStringLiteral("onboarding"));

        pet.showReaction(QStringLiteral("Boop! What’s the plan?"), 30);
        capsuleView.advanceAnimation(1);
        ASSERT_TRUE(capsuleView.capsuleRect());
        checkSurface(overWallpaper(&capsuleView, scheme), *capsuleView.capsuleRect(), scheme, name + "speech capsule");
        menuPet.showReaction(QStringLiteral("Boop! What’s the plan?"), 30);
        menuPet.setDialogueVisible(true);
        cardView.advanceAnimation(1);
        ASSERT_TRUE(cardView.cardRect() && cardView.menuCard() && cardView.menuCard()->reactionRect());
        const QImage cardShot = overWallpaper(&cardView, scheme);
        const QPointF cardOrigin = cardView.cardRect()->topLeft();
        checkSurface(cardShot, *cardView.cardRect(), scheme, name + "pet menu card");
        checkSurface(cardShot, cardView.menuCard()->titleRect().translated(cardOrigin), scheme, name + "pet card title");
        checkSurface(cardShot, cardView.menuCard()->reactionRect()->translated(cardOrigin), scheme,
                     name + "pet card reaction line", Contrast::large);
        // The keys, clicks and rate above their captions.
        const QImage hudShot = overWallpaper(&hud, scheme);
        checkSurface(hudShot, QRectF(16, 14, hudShot.width() - 86, 30), scheme, name + "typing HUD");
        checkSurface(hudShot, QRectF(16, 44, hudShot.width() - 86, 20), scheme, name + "typing HUD captions",
                     Contrast::large);
        QImage reactionShot(card.frameAt(1.0).size(), QImage::Format_RGB32);
        reactionShot.fill(wallpaper(scheme));
        QPainter(&reactionShot).drawImage(0, 0, card.frameAt(1.0));
        const QRectF reactionCard(QPointF(0, (card.panelSize().height() - card.cardSize().height()) / 2.0),
                                  card.cardSize());
        checkSurface(reactionShot, reactionCard.adjusted(reactionShot.width() / 3.0, 14, -40, -14), scheme,
                     name + "reaction card");
        QImage chaosShot(800, 300, QImage::Format_RGB32);
        chaosShot.fill(wallpaper(scheme));
        QPainter painter(&chaosShot);
        chaos.paint(painter);
        painter.end();
        checkSurface(chaosShot, QRectF(140, 66, 520, 28), scheme, name + "chaos banner");

        window.state().setClipStudioPresented(true);
        QCoreApplication::processEvents();
    }
}
