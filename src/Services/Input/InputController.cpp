#include "Services/Input/InputController.h"

#include "Foundation/PublishedProperty.h"

InputController::InputController(Platform &platform, SettingsStore &settings, SoundController &sound, QObject *parent)
    : QObject(parent)
    , m_settings(settings)
    , m_sound(sound)
{
    m_permissions = std::make_unique<PermissionManager>(*platform.permissionProbe);
    m_impacts = std::make_unique<ImpactController>(platform.findMotionSensor, *platform.clock);
    m_stats = std::make_unique<InteractionStats>(m_settings, *platform.clock);
    m_keyboard = std::make_unique<KeyboardMonitor>(*platform.inputCapture, *platform.keyLabels);
    m_mouse = std::make_unique<MouseMonitor>(*platform.inputCapture);
    if (const SecureInputSource *secureInput = platform.secureInput.get())
        m_keyboard->isSecureInput = [secureInput] { return secureInput->isActive(); };
    wireStatistics();
    wireSources();
    connect(m_permissions.get(), &PermissionManager::changed, this, &InputController::changed);
    connect(m_impacts.get(), &ImpactController::changed, this, &InputController::changed);
}

InputController::~InputController()
{
    stop();
}

void InputController::stop()
{
    m_keyboard->stop();
    m_mouse->stop();
    m_impacts->stop();
}

void InputController::start()
{
    m_started = true;
    m_permissions->refresh();
    requestInputMonitoringOnce();
    refreshKeyboardMonitoring();
    refreshMouseMonitoring();
    // Starting the sensor once tells whether the machine has one, which the interface shows
    // even while tap reactions are off.
    m_impacts->start();
    refreshImpactSensing();
    m_stats->setShowsLastKey(m_settings.statsOverlayEnabled());
    refreshStatisticsTimer();
}

void InputController::wireStatistics()
{
    m_keyboard->wantsLabel = [stats = m_stats.get()] { return stats->wantsKeyLabels(); };
    m_keyboard->onEvent = [this](const KeySoundEvent &event) { handleKeyEvent(event); };

    m_stats->setEnabled(m_settings.interactionStatsEnabled());
    m_interactionSnapshot = m_stats->snapshot();
    m_statisticsTimer.setInterval(std::chrono::seconds(1));
    connect(&m_statisticsTimer, &QTimer::timeout, this, [this] {
        refreshInteractionSnapshot();
        m_stats->flushIfDue();
    });
    connect(&m_settings, &SettingsStore::statsOverlayEnabledChanged, this,
            [this](bool enabled) { m_stats->setShowsLastKey(enabled); });
}

void InputController::wireSources()
{
    m_mouse->onClick = [this](KeyGroup group, KeyPhase phase) {
        if (phase == KeyPhase::down)
            m_sound.handleMouseClick(group);
    };
    m_impacts->onImmediateImpact = [this](double strength) { m_sound.handleImpact(strength); };
    m_impacts->setSensitivity(m_settings.sensitivity());
    m_impacts->setCooldown(m_settings.cooldown());
    connect(&m_settings, &SettingsStore::sensitivityChanged, this, [this](double value) { m_impacts->setSensitivity(value); });
    connect(&m_settings, &SettingsStore::cooldownChanged, this, [this](double value) { m_impacts->setCooldown(value); });

    const auto refreshInput = [this] {
        if (!m_started)
            return;
        refreshKeyboardMonitoring();
        refreshMouseMonitoring();
        refreshImpactSensing();
    };
    connect(&m_settings, &SettingsStore::effectsPausedChanged, this, refreshInput);
    connect(&m_settings, &SettingsStore::typingEnabledChanged, this, refreshInput);
    connect(&m_settings, &SettingsStore::mouseEnabledChanged, this, refreshInput);
    connect(&m_settings, &SettingsStore::slapEnabledChanged, this, refreshInput);
    connect(&m_settings, &SettingsStore::interactionStatsEnabledChanged, this, [this, refreshInput](bool enabled) {
        m_stats->setEnabled(enabled);
        if (!enabled)
            m_stats->flush();
        refreshInput();
        if (m_started)
            refreshStatisticsTimer();
    });
    connect(m_permissions.get(), &PermissionManager::hasInputMonitoringChanged, this, [this] {
        if (m_started)
            publishCaptureState();
    });
}

void InputController::requestInputMonitoringOnce()
{
    const bool inputWanted =
        m_settings.typingEnabled() || m_settings.mouseEnabled() || m_settings.interactionStatsEnabled();
    if (!inputWanted || m_settings.effectsPaused() || m_permissions->hasInputMonitoring()
        || m_settings.didRequestInputMonitoringV2())
        return;
    m_settings.setDidRequestInputMonitoringV2(true);
    m_permissions->request();
}

void InputController::retryInputMonitoring()
{
    m_permissions->refresh();
    m_keyboard->stop();
    refreshKeyboardMonitoring();
    if (m_mouse->isRunning()) {
        m_mouse->stop();
        refreshMouseMonitoring();
    }
}

bool InputController::keyboardWanted() const
{
    // The statistics count keys even while typing sounds are off.
    return m_settings.typingEnabled() || m_settings.interactionStatsEnabled();
}

void InputController::refreshKeyboardMonitoring()
{
    if (!m_settings.effectsPaused() && keyboardWanted())
        m_keyboard->start();
    else
        m_keyboard->stop();
    publishCaptureState();
}

void InputController::refreshMouseMonitoring()
{
    if (!m_settings.effectsPaused() && m_settings.mouseEnabled())
        m_mouse->start();
    else
        m_mouse->stop();
}

void InputController::refreshImpactSensing()
{
    if (!m_impacts->hardwareDetected())
        return;
    if (!m_settings.effectsPaused() && m_settings.slapEnabled())
        m_impacts->start();
    else
        m_impacts->stop();
}

void InputController::publishCaptureState()
{
    const auto state = InputCapturePolicy::state(m_settings.effectsPaused(), keyboardWanted(), m_keyboard->captureLevel(),
                                                 m_permissions->hasInputMonitoring());
    if (state == m_captureState)
        return;
    const bool activeChanged = state.monitorActive != m_captureState.monitorActive;
    const bool modeChanged = state.mode != m_captureState.mode;
    m_captureState = state;
    if (activeChanged)
        emit monitorActiveChanged(state.monitorActive);
    if (modeChanged)
        emit inputCaptureModeChanged(state.mode);
    emit changed();
}

void InputController::handleKeyEvent(const KeySoundEvent &event)
{
    const bool counted = m_stats->record(event);
    m_sound.soundRouter().playKey(event);
    if (counted && event.label)
        emit keyLabelCounted(*event.label);
}

void InputController::refreshStatisticsTimer()
{
    if (m_settings.interactionStatsEnabled()) {
        refreshInteractionSnapshot();
        m_statisticsTimer.start();
    } else {
        m_statisticsTimer.stop();
    }
}

void InputController::refreshInteractionSnapshot()
{
    publish(this, m_interactionSnapshot, m_stats->snapshot(), &InputController::interactionSnapshotChanged);
}
