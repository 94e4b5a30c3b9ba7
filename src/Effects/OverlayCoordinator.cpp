#include "Effects/OverlayCoordinator.h"

#include "Effects/Overlays/CursorRippleView.h"
#include "Effects/Overlays/LidMotionView.h"
#include "Effects/Overlays/ReactionCardView.h"
#include "Effects/Overlays/ScreenshotFlashView.h"
#include "Foundation/ClearPlace.h"
#include "Foundation/Scheduler.h"
#include "Foundation/ScreenGeometry.h"
#include "Platform/OverlayWindowSupport.h"
#include "Services/Audio/SystemSoundPlayer.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <chrono>
#include <cmath>

namespace {

// A burst of clicks never piles up more ripples than this.
constexpr int maxRipples = 8;
// Cards sit this far below the top of the usable area and in from its right edge.
constexpr int cardInset = 28;
constexpr double systemCardSeconds = 2.4;
constexpr double arrivalCardSeconds = 2.2;

const QColor chargeGreen(52, 199, 89);
const QColor quietGrey(150, 160, 182);

std::chrono::milliseconds toMs(double seconds)
{
    return std::chrono::milliseconds(std::lround(seconds * 1000));
}

// The screen the user is looking at: the one under the pointer, else the primary one.
QScreen *activeScreen()
{
    if (QScreen *screen = QGuiApplication::screenAt(QCursor::pos()))
        return screen;
    return QGuiApplication::primaryScreen();
}

// The laptop's own panel moves with the lid; other displays do not.
QScreen *builtInScreen()
{
    for (QScreen *screen : QGuiApplication::screens()) {
        const QString name = screen->name();
        if (name.startsWith(QLatin1String("eDP")) || name.startsWith(QLatin1String("LVDS"))
            || name.startsWith(QLatin1String("DSI")))
            return screen;
    }
    return QGuiApplication::primaryScreen();
}

using Glyph = OverlayGlyphs::Glyph;
using Flourish = ReactionCard::Flourish;

void setLook(ReactionCard &card, Glyph glyph, const QColor &accent, Flourish flourish = Flourish::none)
{
    card.glyph = glyph;
    card.accent = accent;
    card.flourish = flourish;
}

ReactionCard systemCard(const SystemReactionEvent &event, ChargingVisualStyle chargingStyle)
{
    using Kind = SystemReactionEvent::Kind;
    const Flourish charge = chargingStyle == ChargingVisualStyle::burst ? Flourish::burst : Flourish::pulse;
    ReactionCard card;
    card.title = event.text();
    card.lifetimeSeconds = systemCardSeconds;
    switch (event.kind) {
    case Kind::chargerConnected:
        setLook(card, Glyph::bolt, chargeGreen, charge);
        break;
    case Kind::fullyCharged:
        setLook(card, Glyph::battery, chargeGreen, charge);
        break;
    case Kind::chargerDisconnected:
        setLook(card, Glyph::plug, quietGrey);
        break;
    case Kind::lowBattery:
        setLook(card, Glyph::battery, event.threshold <= 10 ? QColor(255, 84, 72) : QColor(255, 166, 40), Flourish::shake);
        card.glyphLevel = event.threshold / 100.0;
        break;
    case Kind::willSleep:
        setLook(card, Glyph::moon, QColor(130, 132, 255), Flourish::pulse);
        break;
    case Kind::didWake:
        setLook(card, Glyph::sun, QColor(255, 196, 64), Flourish::burst);
        break;
    }
    return card;
}

ReactionCard arrivalCard(const ArrivalReactionEvent &event)
{
    using Kind = ArrivalReactionEvent::Kind;
    ReactionCard card;
    card.title = event.text();
    card.entrance = ReactionCard::Entrance::fromRight;
    card.lifetimeSeconds = arrivalCardSeconds;
    switch (event.kind) {
    case Kind::download:
        setLook(card, Glyph::box, QColor(90, 200, 250),
                event.weight == DownloadWeight::heavy ? Flourish::burst : Flourish::none);
        card.glyphLevel = 1 + static_cast<int>(event.weight);
        break;
    case Kind::volumeConnected:
        setLook(card, Glyph::drive, QColor(255, 170, 64), Flourish::pulse);
        break;
    case Kind::volumeDisconnected:
        setLook(card, Glyph::drive, quietGrey);
        break;
    case Kind::displayConnected:
        setLook(card, Glyph::display, QColor(176, 132, 255), Flourish::pulse);
        break;
    case Kind::displayDisconnected:
        setLook(card, Glyph::display, quietGrey);
        break;
    }
    return card;
}

} // namespace

OverlayCoordinator::OverlayCoordinator(OverlayWindowSupport &support, Scheduler &scheduler, QObject *parent)
    : QObject(parent)
    , m_support(support)
    , m_scheduler(scheduler)
{
}

OverlayCoordinator::~OverlayCoordinator()
{
    for (const auto &panel : std::as_const(m_panels))
        delete panel.data();
}

QString OverlayCoordinator::soundName(const SystemReactionEvent &event)
{
    switch (event.kind) {
    case SystemReactionEvent::Kind::lowBattery:
        return QStringLiteral("Basso");
    case SystemReactionEvent::Kind::chargerConnected:
        return QStringLiteral("Glass");
    case SystemReactionEvent::Kind::chargerDisconnected:
        return QStringLiteral("Blow");
    case SystemReactionEvent::Kind::fullyCharged:
        return QStringLiteral("Hero");
    case SystemReactionEvent::Kind::willSleep:
        return QStringLiteral("Submarine");
    case SystemReactionEvent::Kind::didWake:
        return QStringLiteral("Morse");
    }
    return {};
}

QString OverlayCoordinator::soundName(const ArrivalReactionEvent &event)
{
    switch (event.kind) {
    case ArrivalReactionEvent::Kind::download:
        switch (event.weight) {
        case DownloadWeight::light:
            return QStringLiteral("Tink");
        case DownloadWeight::medium:
            return QStringLiteral("Pop");
        case DownloadWeight::heavy:
            return QStringLiteral("Hero");
        }
        break;
    case ArrivalReactionEvent::Kind::volumeConnected:
    case ArrivalReactionEvent::Kind::displayConnected:
        return QStringLiteral("Ping");
    case ArrivalReactionEvent::Kind::volumeDisconnected:
    case ArrivalReactionEvent::Kind::displayDisconnected:
        return QStringLiteral("Blow");
    }
    return {};
}

QList<OverlayPanel *> OverlayCoordinator::panels() const
{
    QList<OverlayPanel *> open;
    for (const auto &panel : m_panels) {
        if (panel)
            open.append(panel.data());
    }
    return open;
}

void OverlayCoordinator::reset()
{
    ++m_generation;
    const auto open = m_panels;
    m_panels.clear();
    for (const auto &panel : open)
        delete panel.data();
    m_lidMotion.update(0, std::nullopt, m_lidMotion.style(), false);
}

bool OverlayCoordinator::blendsTranslucent() const
{
    return m_support.blendsTranslucentWindows();
}

void OverlayCoordinator::presentTransient(OverlayPanel *panel, const QRect &geometry, double lifetimeSeconds)
{
    m_panels.append(panel);
    panel->present(geometry);
    const quint64 generation = m_generation;
    QPointer<OverlayPanel> guard(panel);
    m_scheduler.schedule(toMs(lifetimeSeconds), panel, [this, guard, generation] {
        if (guard && generation == m_generation)
            closePanel(guard.data());
    });
}

void OverlayCoordinator::replaceCard(QPointer<OverlayPanel> &slot, OverlayPanel *card, const QRect &geometry,
                                     double lifetimeSeconds)
{
    if (slot)
        closePanel(slot.data());
    slot = card;
    presentTransient(card, geometry, lifetimeSeconds);
}

void OverlayCoordinator::closePanel(OverlayPanel *panel)
{
    m_panels.removeAll(QPointer<OverlayPanel>(panel));
    panel->hide();
    panel->deleteLater();
}

void OverlayCoordinator::playSound(const QString &name)
{
    if (m_soundPlayer && !name.isEmpty())
        m_soundPlayer->play(name);
}

void OverlayCoordinator::showCursorRipple(QPointF at, CursorRippleStyle style)
{
    if (!std::isfinite(at.x()) || !std::isfinite(at.y()))
        return;
    int ripples = 0;
    OverlayPanel *oldest = nullptr;
    for (const auto &panel : std::as_const(m_panels)) {
        if (qobject_cast<CursorRippleView *>(panel.data())) {
            if (!oldest)
                oldest = panel.data();
            ++ripples;
        }
    }
    if (ripples >= maxRipples && oldest)
        closePanel(oldest);

    const QPointF centre = ScreenGeometry::toQt(at, ScreenGeometry::primaryScreenHeight());
    const int side = CursorRippleView::sidePoints;
    const QRect geometry(int(std::lround(centre.x())) - side / 2, int(std::lround(centre.y())) - side / 2, side, side);
    auto *view = new CursorRippleView(style, blendsTranslucent() ? OverlayPanel::Blending::translucent
                                                                 : OverlayPanel::Blending::shaped);
    presentTransient(view, geometry, CursorRippleView::lifetimeSeconds);
}

void OverlayCoordinator::flashScreenshot()
{
    const auto blending = blendsTranslucent() ? OverlayPanel::Blending::translucent : OverlayPanel::Blending::shaped;
    for (QScreen *screen : QGuiApplication::screens())
        presentTransient(new ScreenshotFlashView(blending), screen->geometry(), ScreenshotFlashView::lifetimeSeconds);
}

void OverlayCoordinator::showSystemReaction(const SystemReactionEvent &event, ChargingVisualStyle chargingStyle)
{
    playSound(soundName(event));
    QScreen *screen = activeScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    const auto blending = blendsTranslucent() ? OverlayPanel::Blending::translucent : OverlayPanel::Blending::shaped;
    auto *view = new ReactionCardView(systemCard(event, chargingStyle), blending);
    const QSize size = view->panelSize();
    const QRect geometry(area.center().x() - size.width() / 2, area.top() + cardInset - ReactionCardView::margin,
                         size.width(), size.height());
    replaceCard(m_systemCard, view, clearOfTheHud(geometry, area), systemCardSeconds);
}

void OverlayCoordinator::showArrival(const ArrivalReactionEvent &event)
{
    playSound(soundName(event));
    QScreen *screen = activeScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    const auto blending = blendsTranslucent() ? OverlayPanel::Blending::translucent : OverlayPanel::Blending::shaped;
    auto *view = new ReactionCardView(arrivalCard(event), blending);
    const QSize size = view->panelSize();
    const QRect geometry(area.right() + 1 - cardInset - view->cardSize().width() - ReactionCardView::margin,
                         area.top() + cardInset - ReactionCardView::margin, size.width(), size.height());
    replaceCard(m_arrivalCard, view, clearOfTheHud(geometry, area), arrivalCardSeconds);
}

QRect OverlayCoordinator::clearOfTheHud(const QRect &geometry, const QRect &area) const
{
    const int margin = ReactionCardView::margin;
    const QRect card = geometry.adjusted(margin, margin, -margin, -margin);
    const std::optional<QRect> hud = cardsKeepClearOf ? cardsKeepClearOf() : std::nullopt;
    return cardPlace(card, hud, area).adjusted(-margin, -margin, margin, margin);
}

QRect OverlayCoordinator::cardPlace(const QRect &preferred, std::optional<QRect> keepClearOf, const QRect &area)
{
    if (!keepClearOf)
        return preferred;
    const QRectF window(*keepClearOf);
    const QRectF inset = QRectF(area).adjusted(cardInset, cardInset, -cardInset, -cardInset);
    const std::optional<QPointF> place = ClearPlace::nearest(QRectF(preferred), {&window, 1}, inset, cardInset);
    return place ? QRect(place->toPoint(), preferred.size()) : preferred;
}

void OverlayCoordinator::updateLidMotion(double progress, double angle, LidDanceStyle style, bool visible)
{
    m_lidMotion.update(progress, angle, style, visible);
    if (!visible) {
        closeLidViewWhenFaded();
        return;
    }
    if (m_lidView)
        return;
    QScreen *screen = builtInScreen();
    if (!screen)
        return;
    const QRect full = screen->geometry();
    const int bandHeight = int(std::lround(full.height() * LidMotionView::bandShare));
    auto *view = new LidMotionView(m_lidMotion, blendsTranslucent() ? OverlayPanel::Blending::translucent
                                                                     : OverlayPanel::Blending::shaped);
    m_lidView = view;
    m_panels.append(view);
    view->present(QRect(full.left(), full.bottom() + 1 - bandHeight, full.width(), bandHeight));
}

void OverlayCoordinator::closeLidViewWhenFaded()
{
    if (!m_lidView)
        return;
    const quint64 generation = m_generation;
    QPointer<LidMotionView> view = m_lidView;
    m_scheduler.schedule(toMs(LidMotionView::fadeSeconds + 0.05), view, [this, view, generation] {
        if (view && generation == m_generation && !m_lidMotion.isVisible())
            closePanel(view.data());
    });
}
