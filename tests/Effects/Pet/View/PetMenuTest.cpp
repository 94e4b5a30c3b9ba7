#include "Effects/Pet/PetPresentation.h"
#include "Effects/Pet/View/DesktopPetView.h"
#include "Effects/Pet/View/PetMenuCard.h"
#include "Foundation/Appearance.h"
#include "Foundation/Contrast.h"
#include "Views/Kit/KitStyle.h"
#include "fakes/ManualClock.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>

#include <gtest/gtest.h>

#include <algorithm>

namespace {
// A pet view in a menu-sized panel whose menu commands are recorded.
struct MenuRig {
    ManualClock clock;
    ManualScheduler scheduler{clock};
    PetPresentation presentation{scheduler};
    std::vector<PetAction> actions;
    DesktopPetView view{presentation, scheduler, {[this](PetAction action) {
                                                       actions.push_back(action);
                                                       presentation.setDialogueVisible(false);
                                                   },
                                                   {},
                                                   {}}};

    MenuRig() { view.resize(220, 300); }

    void click(QPointF at) { pressAndRelease(at, at); }
    void pressAndRelease(QPointF pressAt, QPointF releaseAt)
    {
        for (const auto &[type, at] : {std::pair{QEvent::MouseButtonPress, pressAt},
                                       std::pair{QEvent::MouseButtonRelease, releaseAt}}) {
            QMouseEvent event(type, at, view.mapToGlobal(at), Qt::LeftButton,
                              type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
            QCoreApplication::sendEvent(&view, &event);
        }
    }
    // Where the card's row of that title is, in the view.
    QPointF rowCentre(const QString &title) const
    {
        const std::optional<PetMenuCard> card = view.menuCard();
        for (const PetMenuItem &item : card->items()) {
            if (item.title == title)
                return item.rect.center() + view.cardRect()->topLeft();
        }
        ADD_FAILURE() << "no row " << title.toStdString();
        return {};
    }
    void tapPet() { click(view.figureFrame().center()); }
    // Clicks the card's item whose title (or, for header buttons, kind) matches.
    bool clickItem(const std::function<bool(const PetMenuItem &)> &match)
    {
        const auto card = view.menuCard();
        if (!card)
            return false;
        for (const PetMenuItem &item : card->items()) {
            if (match(item)) {
                click(item.rect.center() + view.cardRect()->topLeft());
                return true;
            }
        }
        return false;
    }
    bool clickTitled(const QString &title)
    {
        return clickItem([&](const PetMenuItem &item) { return item.title == title; });
    }
    bool clickKind(PetMenuItem::Kind kind)
    {
        return clickItem([&](const PetMenuItem &item) { return item.kind == kind; });
    }
};
}

TEST(PetMenu, EachPageHasItsRowsAndEachRowOneAction)
{
    const std::pair<PetMenuCategory, std::size_t> counts[] = {
        {PetMenuCategory::focus, 5}, {PetMenuCategory::sounds, 4}, {PetMenuCategory::effects, 5},
        {PetMenuCategory::bloopy, 5}};
    QSet<PetAction> sent;
    for (const auto &[category, count] : counts) {
        const auto rows = PetMenuCard::categoryOptions(category, false);
        EXPECT_EQ(rows.size(), count) << qPrintable(rawValue(category));
        for (const PetMenuRow &row : rows)
            sent.insert(row.action);
    }
    EXPECT_EQ(sent.size(), 19u);
    EXPECT_FALSE(sent.contains(PetAction::togglePause)) << "pausing belongs to the grid's own row";

    const auto roaming = PetMenuCard::categoryOptions(PetMenuCategory::bloopy, false)[1];
    const auto staying = PetMenuCard::categoryOptions(PetMenuCategory::bloopy, true)[1];
    EXPECT_EQ(roaming.title, "Stay in one spot");
    EXPECT_EQ(roaming.glyph, PetGlyph::mappin);
    EXPECT_EQ(staying.title, "Roam again");
    EXPECT_EQ(staying.glyph, PetGlyph::figureWalk);
    EXPECT_EQ(staying.action, PetAction::toggleStayPut);
}

TEST(PetMenu, TheGridNamesThePetAndFollowsARename)
{
    MenuRig rig;
    rig.tapPet();
    ASSERT_TRUE(rig.presentation.isDialogueVisible());
    auto card = rig.view.menuCard();
    EXPECT_EQ(card->title(), "What’s the move?");
    QStringList tiles;
    for (const PetMenuItem &item : card->items()) {
        if (item.kind == PetMenuItem::Kind::tile)
            tiles << item.title;
        EXPECT_NE(item.kind, PetMenuItem::Kind::back);
    }
    EXPECT_EQ(tiles, QStringList({"Focus", "Sounds", "Effects", "Bloopy"}));
    EXPECT_TRUE(card->reactionRect()) << "the tap's line shows under the header";

    rig.presentation.setName(QStringLiteral("Splash"));
    ASSERT_TRUE(rig.clickTitled("Splash"));
    EXPECT_EQ(rig.view.menuCategory(), PetMenuCategory::bloopy);
    EXPECT_EQ(rig.view.menuCard()->title(), "Splash");
    EXPECT_TRUE(rig.actions.empty());
    ASSERT_TRUE(rig.clickKind(PetMenuItem::Kind::back));
    EXPECT_FALSE(rig.view.menuCategory());
    EXPECT_TRUE(rig.presentation.isDialogueVisible());
}

TEST(PetMenu, ARowSendsOneActionClosesTheCardAndTheNextOpeningShowsTheGrid)
{
    MenuRig rig;
    rig.tapPet();
    ASSERT_TRUE(rig.clickTitled("Sounds"));
    ASSERT_TRUE(rig.clickTitled("Hear a key"));
    EXPECT_EQ(rig.actions, std::vector<PetAction>{PetAction::previewKeyboard});
    EXPECT_FALSE(rig.presentation.isDialogueVisible());
    EXPECT_FALSE(rig.view.menuCard());

    rig.tapPet();
    EXPECT_FALSE(rig.view.menuCategory());
    ASSERT_TRUE(rig.clickTitled("Pause or resume effects"));
    EXPECT_EQ(rig.actions.back(), PetAction::togglePause);

    rig.tapPet();
    ASSERT_TRUE(rig.clickTitled("Effects"));
    ASSERT_TRUE(rig.clickKind(PetMenuItem::Kind::close));
    EXPECT_FALSE(rig.presentation.isDialogueVisible());
    EXPECT_EQ(rig.actions.size(), 2u) << "closing sends nothing";
    EXPECT_EQ(rig.view.menuCategory(), PetMenuCategory::effects) << "closing keeps the page";
}

TEST(PetMenu, APressThatSlidesOffItsRowSendsNothing)
{
    MenuRig rig;
    rig.tapPet();
    ASSERT_TRUE(rig.clickTitled("Sounds"));
    const QPointF hearAKey = rig.rowCentre(QStringLiteral("Hear a key"));
    QString otherTitle;
    const std::optional<PetMenuCard> card = rig.view.menuCard();
    for (const PetMenuItem &item : card->items()) {
        if (item.kind == PetMenuItem::Kind::row && item.title != QStringLiteral("Hear a key"))
            otherTitle = item.title;
    }
    const QPointF other = rig.rowCentre(otherTitle);
    rig.pressAndRelease(hearAKey, other);
    rig.pressAndRelease(hearAKey, rig.view.figureFrame().center());
    EXPECT_TRUE(rig.actions.empty());
    EXPECT_TRUE(rig.presentation.isDialogueVisible());

    // The press is over with its release: a later click elsewhere sends that row only.
    rig.click(other);
    ASSERT_EQ(rig.actions.size(), 1u);
    EXPECT_NE(rig.actions.front(), PetAction::previewKeyboard);
}

TEST(PetMenu, ThePetsLineAndTheGridFitThePanel)
{
    MenuRig rig;
    rig.presentation.setName(QStringLiteral("An extremely long name"));
    rig.presentation.showReaction(QStringLiteral("A line far too long to fit on a single line of the card"), 5);
    rig.presentation.setDialogueVisible(true);
    const QRectF card = *rig.view.cardRect();
    EXPECT_GE(card.top(), 0);
    EXPECT_LE(card.bottom(), rig.view.figureFrame().top() - DesktopPetView::slotSpacing);
    EXPECT_EQ(card.width(), PetMenuCard::width);
}

TEST(PetMenu, ALongNameTakesTwoHeaderLinesThenIsCutAndTilesKeepTheirHeight)
{
    struct Case {
        const char *name;
        int lines;
        bool cut;
    };
    for (const Case c : {Case{"Bloopy", 1, false}, Case{"Captain Bubblesworth", 2, false},
                         Case{"Bubblesquidfinwhistlewhoopsalot", 1, true},
                         Case{"Admiral Bubblesworth the Third of the Seven Seas", 2, true}}) {
        SCOPED_TRACE(c.name);
        const PetMenuCard page({QString::fromUtf8(c.name), QStringLiteral("A line"), false, PetMenuCategory::bloopy});
        ASSERT_EQ(page.titleLines().size(), c.lines);
        EXPECT_EQ(page.titleLines().join(QString()).endsWith(QChar(0x2026)), c.cut);
        if (!c.cut) {
            EXPECT_EQ(page.titleLines().join(QString()).remove(QLatin1Char(' ')),
                      QString::fromUtf8(c.name).remove(QLatin1Char(' ')));
        }

        const PetMenuCard grid({QString::fromUtf8(c.name), QStringLiteral("A line"), false, std::nullopt});
        for (const PetMenuItem &item : grid.items()) {
            if (item.kind == PetMenuItem::Kind::tile) {
                EXPECT_GE(item.rect.height(), 53);
            }
        }
    }
}

// A name too long for its tile is cut with "…" in a readable size, at a small desktop font and
// at the kit's own.
TEST(PetMenu, ALongNameOnItsTileIsCutAtAReadableSize)
{
    const QFont saved = QGuiApplication::font();
    QFont inPoints = saved;
    inPoints.setPointSizeF(9);
    QFont inPixels = saved;
    inPixels.setPixelSize(13);
    for (const QFont &body : {inPoints, inPixels}) {
        QGuiApplication::setFont(body);
        const PetMenuCard grid({QStringLiteral("Admiral Bubblesworth the Third"), std::nullopt, false, std::nullopt});
        const auto tile = std::ranges::find(grid.items(), PetMenuCategory::bloopy, &PetMenuItem::category);
        ASSERT_NE(tile, grid.items().end());
        const PetMenuCard::FittedText fitted = PetMenuCard::tileTitle(tile->title, tile->rect.width() - 8);
        EXPECT_TRUE(fitted.text.endsWith(QChar(0x2026))) << fitted.text.toStdString();
        const double size = fitted.font.pixelSize() > 0 ? fitted.font.pixelSize() : fitted.font.pointSizeF();
        EXPECT_GE(size, Appearance::readableSize(fitted.font)) << body.pixelSize();
    }
    QGuiApplication::setFont(saved);
}

// The card's lines are set in the desktop's font roles: a caption under a headline, each
// growing with the desktop's font.
TEST(PetMenu, TheCardsLinesFollowTheDesktopsFontRoles)
{
    const QFont saved = QGuiApplication::font();
    std::vector<double> titleHeights, lineHeights;
    for (const int bodyPixels : {12, 20}) {
        QFont body = saved;
        body.setPixelSize(bodyPixels);
        QGuiApplication::setFont(body);
        const PetMenuCard card({QStringLiteral("Bloopy"), QStringLiteral("A line"), false, std::nullopt});
        ASSERT_TRUE(card.reactionRect());
        titleHeights.push_back(card.titleRect().height());
        lineHeights.push_back(card.reactionRect()->height());
    }
    QGuiApplication::setFont(saved);
    for (std::size_t i = 0; i < 2; ++i)
        EXPECT_LT(lineHeights[i], titleHeights[i] * 0.9) << i;
    EXPECT_GT(titleHeights[1], titleHeights[0] * 1.4);
    EXPECT_GT(lineHeights[1], lineHeights[0] * 1.4);
}

// Nothing behind the card reads through it: painted over black and over white, its inside is
// the same, in both schemes.
TEST(PetMenu, NothingBehindTheCardShowsThroughIt)
{
    const QPalette saved = QGuiApplication::palette();
    const PetMenuCard card({QStringLiteral("Bloopy"), QStringLiteral("A line"), false, std::nullopt});
    for (const ColorScheme scheme : {ColorScheme::light, ColorScheme::dark}) {
        QGuiApplication::setPalette(KitStyle::palette(scheme));
        std::vector<QImage> shots;
        for (const QColor behind : {QColor(Qt::black), QColor(Qt::white)}) {
            QImage image(int(PetMenuCard::width), int(card.height()), QImage::Format_ARGB32_Premultiplied);
            image.fill(behind);
            QPainter painter(&image);
            card.paint(painter, std::nullopt, 1.0);
            painter.end();
            shots.push_back(image);
        }
        const int inset = int(PetMenuCard::cornerRadius);
        int differing = 0;
        for (int y = inset; y < shots[0].height() - inset; ++y) {
            for (int x = 2; x < shots[0].width() - 2; ++x)
                differing += shots[0].pixel(x, y) != shots[1].pixel(x, y);
        }
        EXPECT_EQ(differing, 0) << (scheme == ColorScheme::dark ? "dark" : "light");
    }
    QGuiApplication::setPalette(saved);
}

// The card's rim is the scheme's separator over what lies behind the card, and follows a
// switch of scheme: one card painted light, dark, then light again.
TEST(PetMenu, TheCardsRimIsTheSeparatorOfTheSchemeShown)
{
    const QPalette saved = QGuiApplication::palette();
    const PetMenuCard card({QStringLiteral("Bloopy"), QStringLiteral("A line"), false, std::nullopt});
    for (const ColorScheme scheme : {ColorScheme::light, ColorScheme::dark, ColorScheme::light}) {
        const char *name = scheme == ColorScheme::dark ? "dark" : "light";
        QGuiApplication::setPalette(KitStyle::palette(scheme));
        // A wallpaper of the scheme's own brightness.
        const QColor behind = scheme == ColorScheme::dark ? QColor(24, 26, 32) : QColor(216, 220, 230);
        QImage image(int(PetMenuCard::width * 2), int(card.height() * 2), QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(2);
        image.fill(behind);
        QPainter painter(&image);
        card.paint(painter, std::nullopt, 1.0);
        painter.end();
        // The outermost pixel row and columns of the card's straight edges hold only the rim
        // (the card's height, set by its text, need not end on a whole pixel).
        const QColor rim = Contrast::over(Appearance::color(ColorRole::separator), behind);
        const QPoint edges[] = {{image.width() / 2, 0}, {0, image.height() / 2}, {image.width() - 1, image.height() / 2}};
        for (const QPoint edge : edges) {
            const QColor drawn = image.pixelColor(edge);
            EXPECT_NEAR(drawn.red(), rim.red(), 2) << name << " at " << edge.x() << "," << edge.y();
            EXPECT_NEAR(drawn.green(), rim.green(), 2) << name << " at " << edge.x() << "," << edge.y();
            EXPECT_NEAR(drawn.blue(), rim.blue(), 2) << name << " at " << edge.x() << "," << edge.y();
        }
    }
    QGuiApplication::setPalette(saved);
}
