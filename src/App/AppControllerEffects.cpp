// The AppController's effect engine, reaction controllers and overlays, kept apart from
// the start-up and input wiring so each part reads on its own.
#include "App/AppController.h"

#include "Effects/ClosureEffectModule.h"
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

}

void AppController::createEffects()
{
    ReactionSources &sources = m_platform.reactions;
    m_overlays = std::make_unique<OverlayCoordinator>(*sources.overlays, *m_platform.scheduler);
    m_statsOverlay = std::make_unique<StatsOverlayController>(*sources.overlays, *m_platform.scheduler);
    m_effects = std::make_unique<EffectEngine>();
    m_systemReactions = std::make_unique<SystemReactionController>(sources.power.get(), sources.sleep.get());
    m_arrivalReactions = std::make_unique<ArrivalReactionController>(
        sources.downloads.get(), sources.downloadsFolder, sources.mounts.get(), sources.displays.get(), *m_platform.clock);
    m_screenshotReactions =
        std::make_unique<ScreenshotReactionController>(sources.screenshots.get(), sources.screenshotFolder);
    m_cursorEffects = std::make_unique<CursorEffectController>(*m_platform.inputCapture, *m_overlays,
                                                               [stats = m_stats.get()] { stats->recordClick(); });
    if (m_platform.makeLidAngleReader)
        m_lidReader = m_platform.makeLidAngleReader();
    m_lidAngle = std::make_unique<LidAngleController>(m_lidReader.get(), *m_platform.scheduler);
}

void AppController::wireEffects()
{
    SettingsStore &settings = *m_settings;

    // Each module's identity is enabled exactly while its setting is on.
    const auto follow = [this](const EffectID &id, bool current, auto signal) {
        m_effects->setEnabled(id, current);
        connect(m_settings, signal, this, [this, id](bool enabled) { m_effects->setEnabled(id, enabled); });
    };
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
    m_effects->setPaused(settings.effectsPaused());
    connect(m_settings, &SettingsStore::effectsPausedChanged, this, [this](bool paused) {
        m_effects->setPaused(paused);
        refreshClickCounting();
    });

    const auto copyReactionGates = [this] {
        m_systemReactions->batteryEnabled = m_settings->batteryReactionsEnabled();
        m_systemReactions->wakeEnabled = m_settings->wakeReactionsEnabled();
    };
    copyReactionGates();
    connect(m_settings, &SettingsStore::batteryReactionsEnabledChanged, this, copyReactionGates);
    connect(m_settings, &SettingsStore::wakeReactionsEnabledChanged, this, copyReactionGates);

    const auto configureArrivals = [this] {
        m_arrivalReactions->configure(m_settings->downloadReactionsEnabled(), m_settings->deviceReactionsEnabled());
    };
    configureArrivals();
    connect(m_settings, &SettingsStore::downloadReactionsEnabledChanged, this, configureArrivals);
    connect(m_settings, &SettingsStore::deviceReactionsEnabledChanged, this, configureArrivals);

    m_systemReactions->onReaction = [this](const SystemReactionEvent &event) { handleSystemReaction(event); };
    m_screenshotReactions->onScreenshot = [this](const QUrl &file) { handleScreenshot(file); };
    m_arrivalReactions->onReaction = [this](const ArrivalReactionEvent &event) { handleArrival(event); };

    // The click observer counts clicks for the statistics and draws the ripples.
    const auto applyRippleStyle = [this] {
        m_cursorEffects->setStyle(fromRawOrFirst<CursorRippleStyle>(m_settings->cursorEffectStyleID()));
    };
    applyRippleStyle();
    connect(m_settings, &SettingsStore::cursorEffectStyleIDChanged, this, applyRippleStyle);
    connect(m_settings, &SettingsStore::interactionStatsEnabledChanged, this, [this] {
        refreshClickCounting();
        refreshStatsOverlay();
    });

    // The typing HUD.
    m_statsOverlay->setPlacement({settings.statsOverlayX(), settings.statsOverlayY()});
    const auto placeHud = [this] { m_statsOverlay->setPlacement({m_settings->statsOverlayX(), m_settings->statsOverlayY()}); };
    connect(m_settings, &SettingsStore::statsOverlayXChanged, this, placeHud);
    connect(m_settings, &SettingsStore::statsOverlayYChanged, this, placeHud);
    m_statsOverlay->onPlacementChanged = [this](PetPlacement placement) {
        m_settings->setStatsOverlayX(placement.x);
        m_settings->setStatsOverlayY(placement.y);
    };
    connect(m_settings, &SettingsStore::statsOverlayEnabledChanged, this, [this] { refreshStatsOverlay(); });
    m_statsOverlay->presentation().update(m_interactionSnapshot);
    connect(this, &AppController::interactionSnapshotChanged, this,
            [this](const InteractionSnapshot &snapshot) { m_statsOverlay->presentation().update(snapshot); });

    // The lid band follows the sensor and the chosen look.
    m_lidAngle->onProgress = [this](double) {
        const quint64 generation = ++m_lidMoveGeneration;
        m_lidMoving = true;
        refreshLidMotion();
        m_platform.scheduler->schedule(lidRestDelay, this, [this, generation] {
            if (generation != m_lidMoveGeneration)
                return;
            m_lidMoving = false;
            refreshLidMotion();
        });
    };
    connect(m_settings, &SettingsStore::lidDanceStyleIDChanged, this, [this] { refreshLidMotion(); });

    connect(m_permissions.get(), &PermissionManager::hasInputMonitoringChanged, this,
            [this] { refreshEffectCapabilities(); });
    connect(m_impacts.get(), &ImpactController::hardwareDetectedChanged, this, [this] { refreshEffectCapabilities(); });

    relayChanges(m_systemReactions.get());
    relayChanges(m_screenshotReactions.get());
    relayChanges(m_cursorEffects.get());
    relayChanges(m_arrivalReactions.get());
    relayChanges(m_lidAngle.get());
}

void AppController::refreshEffectCapabilities()
{
    EffectCapabilityProfile profile;
    if (m_permissions->hasInputMonitoring())
        profile.available.insert(EffectCapability::inputMonitoring);
    if (m_impacts->hardwareDetected())
        profile.available.insert(EffectCapability::motionSensor);
    if (m_lidReader && m_lidReader->isAvailable())
        profile.available.insert(EffectCapability::lidAngleSensor);
    m_effects->setCapabilityProfile(profile);
}

void AppController::registerEffectModules()
{
    const auto module = [this](const EffectID &id, EffectCapabilities required, std::function<void()> start,
                               std::function<void()> stop, std::function<void()> reset = [] {}) {
        m_effects->registerModule(std::make_shared<ClosureEffectModule>(id, std::move(required), this, std::move(start),
                                                                        std::move(stop), std::move(reset)));
    };
    // The sound modules hand over to the input wiring, which knows what each source needs;
    // without permission the keyboard and mouse still hear our own windows.
    module(EffectIDs::keyboardSounds, {}, [this] { refreshKeyboardMonitoring(); }, [this] { refreshKeyboardMonitoring(); });
    module(EffectIDs::mouseSounds, {}, [this] { refreshMouseMonitoring(); }, [this] { refreshMouseMonitoring(); });
    module(EffectIDs::tapReactions, {EffectCapability::motionSensor}, [this] { refreshImpactSensing(); },
           [this] { refreshImpactSensing(); });
    module(EffectIDs::desktopPet, {}, [] {}, [] {});
    module(EffectIDs::desktopPhysics, {}, [] {}, [] {});
    module(EffectIDs::systemReactions, {}, [this] { m_systemReactions->start(); }, [this] { m_systemReactions->stop(); });
    module(EffectIDs::arrivalReactions, {}, [this] { m_arrivalReactions->start(); }, [this] { m_arrivalReactions->stop(); });
    module(EffectIDs::screenshotReactions, {}, [this] { m_screenshotReactions->start(); },
           [this] { m_screenshotReactions->stop(); });
    module(EffectIDs::cursorEffects, {EffectCapability::inputMonitoring}, [this] { m_cursorEffects->setShowsRipples(true); },
           [this] { m_cursorEffects->setShowsRipples(false); });
    module(EffectIDs::lidDance, {EffectCapability::lidAngleSensor},
           [this] {
               m_lidAngle->start();
               refreshLidMotion();
           },
           [this] {
               m_lidAngle->stop();
               refreshLidMotion();
           });
    refreshClickCounting();
}

void AppController::refreshClickCounting()
{
    m_cursorEffects->setCountsClicks(m_started && m_settings->interactionStatsEnabled() && !m_settings->effectsPaused());
}

void AppController::refreshStatsOverlay()
{
    m_statsOverlay->setVisible(m_started && m_settings->interactionStatsEnabled() && m_settings->statsOverlayEnabled());
}

void AppController::refreshLidMotion()
{
    // A preview owns the band until it ends.
    if (m_lidPreviewShowing)
        return;
    const std::optional<double> angle = m_lidAngle->angle();
    m_overlays->updateLidMotion(m_lidAngle->progress(), angle.value_or(lidPreviewFallbackAngle),
                                fromRawOrFirst<LidDanceStyle>(m_settings->lidDanceStyleID()),
                                m_effects->isRunning(EffectIDs::lidDance) && angle.has_value() && m_lidMoving);
}

void AppController::previewLidDance()
{
    const quint64 generation = ++m_lidPreviewGeneration;
    m_lidPreviewShowing = true;
    m_overlays->updateLidMotion(lidPreviewProgress, m_lidAngle->angle().value_or(lidPreviewFallbackAngle),
                                fromRawOrFirst<LidDanceStyle>(m_settings->lidDanceStyleID()), true);
    m_platform.scheduler->schedule(lidPreviewDuration, this, [this, generation] {
        if (generation != m_lidPreviewGeneration)
            return;
        m_lidPreviewShowing = false;
        refreshLidMotion();
    });
}

void AppController::handleSystemReaction(const SystemReactionEvent &event)
{
    m_overlays->showSystemReaction(event, fromRawOrFirst<ChargingVisualStyle>(m_settings->chargingVisualStyleID()));
}

void AppController::handleScreenshot(const QUrl &)
{
    m_overlays->flashScreenshot();
}

void AppController::handleArrival(const ArrivalReactionEvent &event)
{
    m_overlays->showArrival(event);
}
