#include "Effects/EffectsController.h"

#include "Effects/ClosureEffectModule.h"
#include "Effects/Pet/BloopyProgress.h"
#include "Effects/Pet/PetPresentation.h"
#include "Effects/Pet/View/PetWindow.h"
#include "Effects/Pet/View/QtPetDesktop.h"
#include "Foundation/RawEnum.h"

#include <chrono>

namespace {

namespace EffectIDs {
const EffectID keyboardSounds(QStringLiteral("keyboard-sounds"));
const EffectID mouseSounds(QStringLiteral("mouse-sounds"));
const EffectID tapReactions(QStringLiteral("tap-reactions"));
const EffectID desktopPet(QStringLiteral("desktop-pet"));
const EffectID desktopPhysics(QStringLiteral("desktop-physics"));
const EffectID systemReactions(QStringLiteral("system-reactions"));
const EffectID arrivalReactions(QStringLiteral("arrival-reactions"));
const EffectID screenshotReactions(QStringLiteral("screenshot-reactions"));
const EffectID cursorEffects(QStringLiteral("cursor-effects"));
const EffectID lidDance(QStringLiteral("lid-dance"));
}

constexpr double lidPreviewProgress = 0.55;
constexpr double lidPreviewFallbackAngle = 85;
constexpr std::chrono::milliseconds lidPreviewDuration{2000};
// The band shows while the lid moves and fades this long after it comes to rest.
constexpr std::chrono::milliseconds lidRestDelay{1500};
// How long the pet wears the badge of a reaction.
constexpr double petMomentSeconds = 1.1;

bool isPowerReaction(const SystemReactionEvent &event)
{
    using Kind = SystemReactionEvent::Kind;
    return event.kind != Kind::willSleep && event.kind != Kind::didWake;
}

}

EffectsController::EffectsController(Platform &platform, SettingsStore &settings, InputController &input,
                                     SoundController &sound, QObject *parent)
    : QObject(parent)
    , m_settings(settings)
    , m_clock(*platform.clock)
    , m_scheduler(*platform.scheduler)
    , m_overlaySupport(*platform.reactions.overlays)
    , m_input(input)
{
    ReactionSources &sources = platform.reactions;
    m_overlays = std::make_unique<OverlayCoordinator>(*sources.overlays, m_scheduler);
    m_statsOverlay = std::make_unique<StatsOverlayController>(*sources.overlays, m_scheduler);
    m_engine = std::make_unique<EffectEngine>();
    m_systemReactions = std::make_unique<SystemReactionController>(sources.power.get(), sources.sleep.get());
    m_arrivalReactions = std::make_unique<ArrivalReactionController>(
        sources.downloads.get(), sources.downloadsFolder, sources.mounts.get(), sources.displays.get(), *platform.clock);
    m_screenshotReactions = std::make_unique<ScreenshotReactionController>(sources.screenshots.get(),
                                                                           sources.screenshotFolder, *platform.clock);
    m_cursorEffects = std::make_unique<CursorEffectController>(*platform.inputCapture, *m_overlays,
                                                               [stats = &input.stats()] { stats->recordClick(); });
    if (platform.makeLidAngleReader)
        m_lidReader = platform.makeLidAngleReader();
    m_lidAngle = std::make_unique<LidAngleController>(m_lidReader.get(), m_scheduler);
    m_overlays->setSoundPlayer(&sound.systemSounds());
    m_overlays->cardsKeepClearOf = [hud = m_statsOverlay.get()]() -> std::optional<QRect> {
        if (!hud->view() || !hud->view()->isVisible())
            return std::nullopt;
        return hud->view()->frameGeometry();
    };
    m_chaosEscape = std::make_unique<EscapeKeyMonitor>(*platform.inputCapture);
    m_chaos = std::make_unique<ChaosEffectController>(*sources.overlays, *platform.desktopIcons, *platform.desktopPicture);

    wireModules();
    wireReactions();
    wireCursorAndHud();
    wireLidBand();
    wireChaosEscape();
    const auto relay = [this](auto *source) {
        connect(source, &std::remove_pointer_t<decltype(source)>::changed, this, &EffectsController::changed);
    };
    relay(m_systemReactions.get());
    relay(m_screenshotReactions.get());
    relay(m_cursorEffects.get());
    relay(m_arrivalReactions.get());
    relay(m_lidAngle.get());
    relay(m_chaos.get());
}

void EffectsController::wireChaosEscape()
{
    // A run's panels ask once whether Esc is heard globally; that is when listening starts.
    m_chaos->hearsGlobalKeys = [this] { return m_chaosEscape->start(); };
    m_chaosEscape->onKeyCode = [this](std::uint16_t keyCode) {
        if (keyCode == EscapeKeyMonitor::escapeKeyCode)
            m_chaos->handleGlobalKey(KeySoundEvent{.keyCode = keyCode});
    };
    connect(m_chaos.get(), &ChaosEffectController::isActiveChanged, this, [this](bool active) {
        if (!active)
            m_chaosEscape->stop();
    });
}

void EffectsController::start()
{
    m_started = true;
    refreshEffectCapabilities();
    registerEffectModules();
    refreshStatsOverlay();
}

// Each module's identity is enabled exactly while its setting is on.
void EffectsController::wireModules()
{
    const auto follow = [this](const EffectID &id, bool current, auto signal) {
        m_engine->setEnabled(id, current);
        connect(&m_settings, signal, this, [this, id](bool enabled) { m_engine->setEnabled(id, enabled); });
    };
    SettingsStore &settings = m_settings;
    follow(EffectIDs::keyboardSounds, settings.typingEnabled(), &SettingsStore::typingEnabledChanged);
    follow(EffectIDs::mouseSounds, settings.mouseEnabled(), &SettingsStore::mouseEnabledChanged);
    follow(EffectIDs::tapReactions, settings.slapEnabled(), &SettingsStore::slapEnabledChanged);
    follow(EffectIDs::desktopPet, settings.petEnabled(), &SettingsStore::petEnabledChanged);
    follow(EffectIDs::desktopPhysics, settings.physicsEffectsEnabled(), &SettingsStore::physicsEffectsEnabledChanged);
    follow(EffectIDs::systemReactions, settings.systemReactionsEnabled(), &SettingsStore::systemReactionsEnabledChanged);
    follow(EffectIDs::arrivalReactions, settings.arrivalReactionsEnabled(), &SettingsStore::arrivalReactionsEnabledChanged);
    follow(EffectIDs::screenshotReactions, settings.screenshotReactionsEnabled(),
           &SettingsStore::screenshotReactionsEnabledChanged);
    follow(EffectIDs::cursorEffects, settings.cursorEffectsEnabled(), &SettingsStore::cursorEffectsEnabledChanged);
    follow(EffectIDs::lidDance, settings.lidDanceEnabled(), &SettingsStore::lidDanceEnabledChanged);
    m_engine->setPaused(settings.effectsPaused());
    connect(&m_settings, &SettingsStore::effectsPausedChanged, this, [this](bool paused) {
        m_engine->setPaused(paused);
        refreshClickCounting();
    });
}

void EffectsController::wireReactions()
{
    const auto copyReactionGates = [this] {
        m_systemReactions->batteryEnabled = m_settings.batteryReactionsEnabled();
        m_systemReactions->wakeEnabled = m_settings.wakeReactionsEnabled();
    };
    copyReactionGates();
    connect(&m_settings, &SettingsStore::batteryReactionsEnabledChanged, this, copyReactionGates);
    connect(&m_settings, &SettingsStore::wakeReactionsEnabledChanged, this, copyReactionGates);

    const auto configureArrivals = [this] {
        m_arrivalReactions->configure(m_settings.downloadReactionsEnabled(), m_settings.deviceReactionsEnabled());
    };
    configureArrivals();
    connect(&m_settings, &SettingsStore::downloadReactionsEnabledChanged, this, configureArrivals);
    connect(&m_settings, &SettingsStore::deviceReactionsEnabledChanged, this, configureArrivals);

    m_systemReactions->onReaction = [this](const SystemReactionEvent &event) { showSystemReaction(event); };
    m_screenshotReactions->onScreenshot = [this](const QUrl &) { showScreenshotReaction(); };
    m_arrivalReactions->onReaction = [this](const ArrivalReactionEvent &event) {
        m_overlays->showArrival(event);
        pet().presentation().showMoment(PetMoment::package, petMomentSeconds);
    };
}

// The click observer counts clicks for the statistics and draws the ripples; the typing HUD
// shows the statistics and the last key.
void EffectsController::wireCursorAndHud()
{
    const auto applyRippleStyle = [this] {
        m_cursorEffects->setStyle(fromRawOrFirst<CursorRippleStyle>(m_settings.cursorEffectStyleID()));
    };
    applyRippleStyle();
    connect(&m_settings, &SettingsStore::cursorEffectStyleIDChanged, this, applyRippleStyle);
    connect(&m_settings, &SettingsStore::interactionStatsEnabledChanged, this, [this] {
        refreshClickCounting();
        refreshStatsOverlay();
    });

    m_statsOverlay->setPlacement({m_settings.statsOverlayX(), m_settings.statsOverlayY()});
    const auto placeHud = [this] { m_statsOverlay->setPlacement({m_settings.statsOverlayX(), m_settings.statsOverlayY()}); };
    connect(&m_settings, &SettingsStore::statsOverlayXChanged, this, placeHud);
    connect(&m_settings, &SettingsStore::statsOverlayYChanged, this, placeHud);
    m_statsOverlay->onPlacementChanged = [this](PetPlacement placement) {
        m_settings.setStatsOverlayX(placement.x);
        m_settings.setStatsOverlayY(placement.y);
    };
    connect(&m_settings, &SettingsStore::statsOverlayEnabledChanged, this, [this] { refreshStatsOverlay(); });
    m_statsOverlay->presentation().update(m_input.interactionSnapshot());
    connect(&m_input, &InputController::interactionSnapshotChanged, this,
            [this](const InteractionSnapshot &snapshot) { m_statsOverlay->presentation().update(snapshot); });
    connect(&m_input, &InputController::keyLabelCounted, this, &EffectsController::showKeyLabel, Qt::QueuedConnection);

    connect(&m_input.permissions(), &PermissionManager::hasInputMonitoringChanged, this,
            [this] { refreshEffectCapabilities(); });
    // Icon places are read over the accessibility bus, so its arrival may make them readable.
    connect(&m_input.permissions(), &PermissionManager::hasAccessibilityChanged, m_chaos.get(),
            &ChaosEffectController::accessibilityChanged);
    // The last answer on icon places stands until the locator is asked again, across restarts.
    if (m_settings.desktopIconPositionsFound())
        m_chaos->restoreIconPositionsFound();
    connect(m_chaos.get(), &ChaosEffectController::hasIconPositionsChanged, this,
            [this](bool found) { m_settings.setDesktopIconPositionsFound(found); });
    connect(&m_input.impacts(), &ImpactController::hardwareDetectedChanged, this, [this] { refreshEffectCapabilities(); });
}

// The lid band follows the sensor and the chosen look.
void EffectsController::wireLidBand()
{
    m_lidAngle->onProgress = [this](double progress) {
        pet().presentation().setLidProgress(progress);
        const quint64 generation = ++m_lidMoveGeneration;
        m_lidMoving = true;
        refreshLidMotion();
        m_scheduler.schedule(lidRestDelay, this, [this, generation] {
            if (generation != m_lidMoveGeneration)
                return;
            m_lidMoving = false;
            refreshLidMotion();
        });
    };
    connect(&m_settings, &SettingsStore::lidDanceStyleIDChanged, this, [this] { refreshLidMotion(); });
}

void EffectsController::refreshEffectCapabilities()
{
    EffectCapabilityProfile profile;
    if (m_input.permissions().hasInputMonitoring())
        profile.available.insert(EffectCapability::inputMonitoring);
    if (m_input.impacts().hardwareDetected())
        profile.available.insert(EffectCapability::motionSensor);
    if (m_lidAngle->hasSensor())
        profile.available.insert(EffectCapability::lidAngleSensor);
    m_engine->setCapabilityProfile(profile);
}

void EffectsController::registerEffectModules()
{
    const auto module = [this](const EffectID &id, EffectCapabilities required, std::function<void()> start,
                               std::function<void()> stop, std::function<void()> reset = [] {}) {
        m_engine->registerModule(std::make_shared<ClosureEffectModule>(id, std::move(required), this, std::move(start),
                                                                        std::move(stop), std::move(reset)));
    };
    // The sound modules hand over to the input wiring, which knows what each source needs;
    // without permission the keyboard and mouse still hear our own windows.
    InputController &input = m_input;
    const auto keyboard = [&input] { input.refreshKeyboardMonitoring(); };
    const auto mouse = [&input] { input.refreshMouseMonitoring(); };
    const auto impacts = [&input] { input.refreshImpactSensing(); };
    module(EffectIDs::keyboardSounds, {}, keyboard, keyboard);
    module(EffectIDs::mouseSounds, {}, mouse, mouse);
    module(EffectIDs::tapReactions, {EffectCapability::motionSensor}, impacts, impacts);
    module(EffectIDs::desktopPet, {}, [this] { pet().show(); }, [this] { pet().hide(); }, [this] { pet().reset(); });
    module(EffectIDs::desktopPhysics, {}, [this] { m_chaos->start(); }, [this] { m_chaos->stop(); },
           [this] { m_chaos->reset(); });
    module(EffectIDs::systemReactions, {}, [this] { m_systemReactions->start(); }, [this] { m_systemReactions->stop(); });
    module(EffectIDs::arrivalReactions, {}, [this] { m_arrivalReactions->start(); }, [this] { m_arrivalReactions->stop(); });
    module(EffectIDs::screenshotReactions, {}, [this] { m_screenshotReactions->start(); },
           [this] { m_screenshotReactions->stop(); });
    module(EffectIDs::cursorEffects, {EffectCapability::inputMonitoring}, [this] { m_cursorEffects->setShowsRipples(true); },
           [this] { m_cursorEffects->setShowsRipples(false); });
    const auto lidBand = [this](bool running) {
        return [this, running] {
            if (running)
                m_lidAngle->start();
            else
                m_lidAngle->stop();
            refreshLidMotion();
        };
    };
    module(EffectIDs::lidDance, {EffectCapability::lidAngleSensor}, lidBand(true), lidBand(false));
    refreshClickCounting();
}

void EffectsController::refreshClickCounting()
{
    m_cursorEffects->setCountsClicks(m_started && m_settings.interactionStatsEnabled() && !m_settings.effectsPaused());
}

void EffectsController::refreshStatsOverlay()
{
    m_statsOverlay->setVisible(m_started && m_settings.interactionStatsEnabled() && m_settings.statsOverlayEnabled());
}

void EffectsController::showKeyLabel(const QString &label)
{
    if (m_settings.interactionStatsEnabled() && m_settings.statsOverlayEnabled())
        m_statsOverlay->presentation().showKey(label);
}

void EffectsController::refreshLidMotion()
{
    // A preview owns the band until it ends.
    if (m_lidPreviewShowing)
        return;
    const std::optional<double> angle = m_lidAngle->angle();
    m_overlays->updateLidMotion(m_lidAngle->progress(), angle.value_or(lidPreviewFallbackAngle),
                                fromRawOrFirst<LidDanceStyle>(m_settings.lidDanceStyleID()),
                                m_engine->isRunning(EffectIDs::lidDance) && angle.has_value() && m_lidMoving);
}

void EffectsController::previewLidDance()
{
    const quint64 generation = ++m_lidPreviewGeneration;
    m_lidPreviewShowing = true;
    m_overlays->updateLidMotion(lidPreviewProgress, m_lidAngle->angle().value_or(lidPreviewFallbackAngle),
                                fromRawOrFirst<LidDanceStyle>(m_settings.lidDanceStyleID()), true);
    m_scheduler.schedule(lidPreviewDuration, this, [this, generation] {
        if (generation != m_lidPreviewGeneration)
            return;
        m_lidPreviewShowing = false;
        refreshLidMotion();
    });
}

void EffectsController::showSystemReaction(const SystemReactionEvent &event)
{
    m_overlays->showSystemReaction(event, fromRawOrFirst<ChargingVisualStyle>(m_settings.chargingVisualStyleID()));
    if (isPowerReaction(event))
        pet().presentation().showMoment(PetMoment::power, petMomentSeconds);
}

void EffectsController::showScreenshotReaction()
{
    m_overlays->flashScreenshot();
    pet().presentation().showMoment(PetMoment::camera, petMomentSeconds);
}

void EffectsController::previewScreenshotReaction()
{
    showScreenshotReaction();
}

void EffectsController::previewChargerReaction()
{
    if (m_settings.batteryReactionsEnabled())
        showSystemReaction(SystemReactionEvent::of(SystemReactionEvent::Kind::chargerConnected));
}

DesktopPetController &EffectsController::pet()
{
    if (!m_pet) {
        m_petDesktop = std::make_unique<QtPetDesktop>();
        m_pet = std::make_unique<DesktopPetController>(
            m_clock, m_scheduler, *m_petDesktop, [this](PetPresentation &presentation, PetPanelCallbacks callbacks) {
                return std::make_unique<PetWindow>(presentation, m_scheduler, m_overlaySupport, std::move(callbacks));
            });
        wirePet(*m_pet);
        m_ownWindows = std::make_unique<OwnWindowWatcher>(
            m_scheduler, [pet = m_pet.get()](std::vector<QRectF> frames) { pet->keepClearOf(std::move(frames)); });
    }
    return *m_pet;
}

void EffectsController::wirePet(DesktopPetController &pet)
{
    PetPresentation &presentation = pet.presentation();
    SettingsStore &settings = m_settings;
    const auto applyName = [&presentation, &settings] {
        presentation.setName(BloopyProgress::normalizedName(settings.petName()));
    };
    const auto applyAppearance = [&presentation, &settings] {
        presentation.setAppearance(settings.petColorID(), settings.petAccessoryID(), settings.petFaceID());
    };
    const auto applyStayPut = [&pet, &settings] { pet.setStaysPut(settings.petStayPut()); };
    const auto applyPlacement = [this, &pet, &settings] {
        if (!m_writingPetPlacement)
            pet.setPlacement({settings.petPositionX(), settings.petPositionY()});
    };
    applyName();
    applyAppearance();
    applyStayPut();
    applyPlacement();
    connect(&settings, &SettingsStore::petNameChanged, this, applyName);
    connect(&settings, &SettingsStore::petColorIDChanged, this, applyAppearance);
    connect(&settings, &SettingsStore::petAccessoryIDChanged, this, applyAppearance);
    connect(&settings, &SettingsStore::petFaceIDChanged, this, applyAppearance);
    connect(&settings, &SettingsStore::petStayPutChanged, this, applyStayPut);
    connect(&settings, &SettingsStore::petPositionXChanged, this, applyPlacement);
    connect(&settings, &SettingsStore::petPositionYChanged, this, applyPlacement);

    pet.onPlacementChanged = [this](PetPlacement placement) {
        m_writingPetPlacement = true;
        m_settings.setPetPositionX(placement.x);
        m_settings.setPetPositionY(placement.y);
        m_writingPetPlacement = false;
    };
    // The running chaos effect poses the pet.
    presentation.setPhysicsMode(m_chaos->activeMode());
    connect(m_chaos.get(), &ChaosEffectController::activeModeChanged, this,
            [this, &presentation] { presentation.setPhysicsMode(m_chaos->activeMode()); });

    pet.onAction = [this](PetAction action) {
        if (onPetAction)
            onPetAction(action);
    };
    connect(&pet, &DesktopPetController::changed, this, &EffectsController::changed);
}
