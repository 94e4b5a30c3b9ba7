#include "Effects/OverlayCoordinator.h"
#include "Effects/Overlays/CursorRippleView.h"
#include "Effects/Overlays/LidMotionView.h"
#include "Effects/Overlays/ReactionCardView.h"
#include "Effects/Overlays/ScreenshotFlashView.h"
#include "Foundation/ScreenGeometry.h"
#include "fakes/FakeOverlayWindowSupport.h"
#include "fakes/FakeSystemSoundPlayer.h"
#include "fakes/ManualClock.h"

#include <QCoreApplication>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QScreen>

#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {

struct CoordinatorFixture {
    ManualClock clock;
    ManualScheduler scheduler{clock};
    FakeOverlayWindowSupport support;
    FakeSystemSoundPlayer sounds;
    OverlayCoordinator overlays{support, scheduler};

    CoordinatorFixture() { overlays.setSoundPlayer(&sounds); }

    template <typename View>
    QList<View *> open() const
    {
        QList<View *> views;
        for (OverlayPanel *panel : overlays.panels()) {
            if (auto *view = qobject_cast<View *>(panel))
                views.append(view);
        }
        return views;
    }
};

bool isClickThrough(const QWidget *panel)
{
    return panel->windowFlags().testFlag(Qt::WindowTransparentForInput)
        && panel->windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus)
        && panel->windowFlags().testFlag(Qt::WindowStaysOnTopHint)
        && panel->testAttribute(Qt::WA_ShowWithoutActivating);
}

} // namespace

TEST(OverlayCoordinator, RippleIsCentredOnTheYUpPointInEveryStyleAndGoneAfterItsLifetime)
{
    CoordinatorFixture f;
    const qreal height = ScreenGeometry::primaryScreenHeight();
    for (CursorRippleStyle style : allCases<CursorRippleStyle>()) {
        f.overlays.showCursorRipple(QPointF(200, height - 150), style);
        const auto ripples = f.open<CursorRippleView>();
        ASSERT_EQ(ripples.size(), 1);
        EXPECT_EQ(ripples.front()->style(), style);
        EXPECT_EQ(ripples.front()->geometry().center(), QPoint(200, 150) - QPoint(1, 1));
        EXPECT_TRUE(ripples.front()->isVisible());
        EXPECT_TRUE(isClickThrough(ripples.front()));

        f.scheduler.advance(610ms);
        EXPECT_EQ(f.open<CursorRippleView>().size(), 1);
        f.scheduler.advance(20ms);
        EXPECT_TRUE(f.open<CursorRippleView>().isEmpty());
    }
    EXPECT_TRUE(f.sounds.played.isEmpty());
}

TEST(OverlayCoordinator, ABurstOfClicksKeepsAtMostEightRipples)
{
    CoordinatorFixture f;
    for (int i = 0; i < 20; ++i)
        f.overlays.showCursorRipple(QPointF(100 + i, 100), CursorRippleStyle::neon);
    EXPECT_EQ(f.open<CursorRippleView>().size(), 8);
}

TEST(OverlayCoordinator, ScreenshotFlashCoversEveryScreenSilently)
{
    CoordinatorFixture f;
    f.overlays.flashScreenshot();
    const auto flashes = f.open<ScreenshotFlashView>();
    ASSERT_EQ(flashes.size(), QGuiApplication::screens().size());
    EXPECT_EQ(flashes.front()->geometry(), QGuiApplication::primaryScreen()->geometry());
    EXPECT_TRUE(isClickThrough(flashes.front()));
    EXPECT_TRUE(f.sounds.played.isEmpty());
    f.scheduler.advance(500ms);
    EXPECT_TRUE(f.overlays.panels().isEmpty());
}

TEST(OverlayCoordinator, EachReactionPlaysItsSoundAndShowsOneCardAtATime)
{
    struct Case {
        std::function<void(OverlayCoordinator &)> show;
        QString sound;
        QString title;
        ReactionCard::Flourish flourish;
    };
    using SKind = SystemReactionEvent::Kind;
    using AKind = ArrivalReactionEvent::Kind;
    const std::vector<Case> cases{
        {[](auto &o) { o.showSystemReaction(SystemReactionEvent::of(SKind::chargerConnected), ChargingVisualStyle::burst); },
         "Glass", "Charger connected", ReactionCard::Flourish::burst},
        {[](auto &o) { o.showSystemReaction(SystemReactionEvent::of(SKind::chargerConnected), ChargingVisualStyle::quiet); },
         "Glass", "Charger connected", ReactionCard::Flourish::pulse},
        {[](auto &o) { o.showSystemReaction(SystemReactionEvent::of(SKind::fullyCharged), ChargingVisualStyle::quiet); },
         "Hero", "Battery fully charged", ReactionCard::Flourish::pulse},
        {[](auto &o) { o.showSystemReaction(SystemReactionEvent::lowBattery(5), ChargingVisualStyle::burst); }, "Basso",
         "Battery crossed 5%", ReactionCard::Flourish::shake},
        {[](auto &o) { o.showSystemReaction(SystemReactionEvent::of(SKind::willSleep), ChargingVisualStyle::burst); },
         "Submarine", "Computer going to sleep", ReactionCard::Flourish::pulse},
        {[](auto &o) { o.showArrival(ArrivalReactionEvent::download(DownloadWeight::medium)); }, "Pop",
         "Medium download landed", ReactionCard::Flourish::none},
        {[](auto &o) { o.showArrival(ArrivalReactionEvent::of(AKind::volumeConnected)); }, "Ping",
         "External drive connected", ReactionCard::Flourish::pulse},
        {[](auto &o) { o.showArrival(ArrivalReactionEvent::of(AKind::displayDisconnected)); }, "Blow",
         "Display disconnected", ReactionCard::Flourish::none},
    };
    for (const Case &c : cases) {
        CoordinatorFixture f;
        c.show(f.overlays);
        c.show(f.overlays);
        EXPECT_EQ(f.sounds.played, QStringList({c.sound, c.sound}));
        QCoreApplication::processEvents();
        const auto cards = f.open<ReactionCardView>();
        ASSERT_EQ(cards.size(), 1) << c.title.toStdString();
        EXPECT_EQ(cards.front()->card().title, c.title);
        EXPECT_EQ(cards.front()->card().flourish, c.flourish);
        EXPECT_TRUE(isClickThrough(cards.front()));
        EXPECT_TRUE(QGuiApplication::primaryScreen()->availableGeometry().intersects(cards.front()->geometry()));
        EXPECT_LE(QFontMetricsF(ReactionCardView::titleFont()).horizontalAdvance(c.title),
                  cards.front()->cardSize().width() - ReactionCardView::chromeWidth)
            << "the whole title fits on the card";
        EXPECT_EQ(cards.front()->geometry().size(), cards.front()->panelSize());
        f.scheduler.advance(3s);
        EXPECT_TRUE(f.overlays.panels().isEmpty());
    }
}

TEST(OverlayCoordinator, SystemAndArrivalCardsCanShowTogether)
{
    CoordinatorFixture f;
    f.overlays.showSystemReaction(SystemReactionEvent::of(SystemReactionEvent::Kind::didWake), ChargingVisualStyle::burst);
    f.overlays.showArrival(ArrivalReactionEvent::download(DownloadWeight::heavy));
    const auto cards = f.open<ReactionCardView>();
    ASSERT_EQ(cards.size(), 2);
    // The system card is centred at the top, the arrival card at the top right.
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_NEAR(cards[0]->geometry().center().x(), area.center().x(), 1);
    EXPECT_EQ(cards[1]->geometry().right() - ReactionCardView::margin, area.right() - 28);
}

TEST(OverlayCoordinator, LidBandFollowsVisibilityAndFadesBeforeClosing)
{
    CoordinatorFixture f;
    f.overlays.updateLidMotion(0.4, 70, LidDanceStyle::aurora, true);
    auto bands = f.open<LidMotionView>();
    ASSERT_EQ(bands.size(), 1);
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(bands.front()->geometry().bottom(), screen.bottom());
    EXPECT_EQ(bands.front()->geometry().width(), screen.width());
    EXPECT_LT(bands.front()->geometry().height(), screen.height() / 2);
    EXPECT_TRUE(isClickThrough(bands.front()));
    EXPECT_EQ(f.overlays.lidMotion().style(), LidDanceStyle::aurora);

    // Updates move the same band.
    f.overlays.updateLidMotion(0.9, 40, LidDanceStyle::prism, true);
    EXPECT_EQ(f.open<LidMotionView>(), bands);
    EXPECT_DOUBLE_EQ(f.overlays.lidMotion().progress(), 0.9);

    // Hidden and shown again before the fade ends: the band stays.
    f.overlays.updateLidMotion(0.9, 40, LidDanceStyle::prism, false);
    f.overlays.updateLidMotion(0.9, 40, LidDanceStyle::prism, true);
    f.scheduler.advance(1s);
    EXPECT_EQ(f.open<LidMotionView>().size(), 1);

    f.overlays.updateLidMotion(0.9, 40, LidDanceStyle::prism, false);
    EXPECT_EQ(f.open<LidMotionView>().size(), 1);
    f.scheduler.advance(1s);
    EXPECT_TRUE(f.open<LidMotionView>().isEmpty());
    EXPECT_TRUE(f.sounds.played.isEmpty());
}

TEST(OverlayCoordinator, ResetClosesEverythingAndAdvancesItsGeneration)
{
    CoordinatorFixture f;
    f.overlays.showCursorRipple(QPointF(10, 10), CursorRippleStyle::stars);
    f.overlays.flashScreenshot();
    f.overlays.showSystemReaction(SystemReactionEvent::lowBattery(20), ChargingVisualStyle::burst);
    f.overlays.showArrival(ArrivalReactionEvent::of(ArrivalReactionEvent::Kind::displayConnected));
    f.overlays.updateLidMotion(0.5, 80, LidDanceStyle::tide, true);
    const quint64 before = f.overlays.generation();

    f.overlays.reset();
    EXPECT_TRUE(f.overlays.panels().isEmpty());
    EXPECT_EQ(f.overlays.generation(), before + 1);
    EXPECT_FALSE(f.overlays.lidMotion().isVisible());
    f.scheduler.advance(5s);

    // New panels after a reset live their own full time.
    f.overlays.showCursorRipple(QPointF(10, 10), CursorRippleStyle::petals);
    EXPECT_EQ(f.overlays.panels().size(), 1);
}

TEST(OverlayCoordinator, WithoutACompositorPanelsAreShapedToWhatTheyDraw)
{
    CoordinatorFixture f;
    f.support.blends = false;
    f.overlays.showCursorRipple(QPointF(300, 300), CursorRippleStyle::neon);
    f.overlays.showSystemReaction(SystemReactionEvent::of(SystemReactionEvent::Kind::chargerConnected),
                                  ChargingVisualStyle::burst);
    for (OverlayPanel *panel : f.overlays.panels()) {
        EXPECT_EQ(panel->blending(), OverlayPanel::Blending::shaped);
        const QRegion shape = panel->mask();
        EXPECT_FALSE(shape.isEmpty());
        EXPECT_LT(shape.boundingRect().width() * shape.boundingRect().height(), panel->width() * panel->height() + 1);
    }
    // Once in, the card's shape holds the card but not the empty margin around it.
    const auto cards = f.open<ReactionCardView>();
    ASSERT_EQ(cards.size(), 1);
    const QRegion shape = OverlayPanel::shapeOf(cards.front()->frameAt(1.5));
    EXPECT_TRUE(shape.contains(QPoint(ReactionCardView::margin + 150, ReactionCardView::margin + 38)));
    EXPECT_FALSE(shape.contains(QPoint(2, 2)));
    EXPECT_TRUE(OverlayPanel::shapeOf(cards.front()->frameAt(5)).isEmpty());
}

// A card never lies over the typing HUD: it stays where it prefers when the HUD is elsewhere,
// else moves inside the screen's free area to a place apart from the HUD.
TEST(OverlayCoordinator, CardsKeepClearOfTheTypingHud)
{
    const QRect area(0, 32, 1440, 868);
    const QRect arrival(1100, 60, 312, 64);
    const QRect system(560, 60, 320, 64);
    const struct {
        const char *name;
        std::optional<QRect> hud;
        bool moves;
    } cases[] = {
        {"no HUD", std::nullopt, false},          {"HUD at the bottom", QRect(1100, 800, 310, 72), false},
        {"HUD at the same place", QRect(1100, 60, 310, 72), true}, {"HUD half under", QRect(1250, 90, 310, 72), true},
        {"HUD across the top", QRect(0, 32, 1440, 120), true},
    };
    for (const auto &c : cases) {
        for (const QRect &preferred : {arrival, system}) {
            const QRect placed = OverlayCoordinator::cardPlace(preferred, c.hud, area);
            EXPECT_EQ(placed.size(), preferred.size()) << c.name;
            EXPECT_EQ(placed != preferred, c.moves && c.hud->intersects(preferred)) << c.name;
            EXPECT_TRUE(area.contains(placed)) << c.name;
            if (c.hud) {
                EXPECT_FALSE(placed.intersects(*c.hud)) << c.name;
            }
        }
    }
    // No place apart from a HUD over the whole screen: the card stays where it prefers.
    EXPECT_EQ(OverlayCoordinator::cardPlace(arrival, area, area), arrival);

    // The coordinator asks where the HUD is for every card.
    CoordinatorFixture f;
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    f.overlays.cardsKeepClearOf = [&screen] { return std::optional(screen.adjusted(0, 0, 0, -screen.height() / 2)); };
    f.overlays.showArrival(ArrivalReactionEvent::download(DownloadWeight::medium));
    const auto cards = f.open<ReactionCardView>();
    ASSERT_EQ(cards.size(), 1);
    const int margin = ReactionCardView::margin;
    EXPECT_FALSE(cards[0]->geometry().adjusted(margin, margin, -margin, -margin).intersects(f.overlays.cardsKeepClearOf().value()));
}
