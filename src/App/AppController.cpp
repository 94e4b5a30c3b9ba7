#include "App/AppController.h"

#include "Views/ControlWindow.h"
#include "Views/OnboardingWindow.h"

#include <QApplication>

AppController::AppController(Platform platform, SettingsStore *settings, QObject *parent)
    : QObject(parent)
    , m_platform(std::move(platform))
{
    if (!settings) {
        m_ownedSettings = std::make_unique<SettingsStore>(*m_platform.defaults);
        settings = m_ownedSettings.get();
    }
    m_settings = settings;

    m_permissions = std::make_unique<PermissionManager>(*m_platform.permissionProbe);
    m_impacts = std::make_unique<ImpactController>(m_platform.findMotionSensor, *m_platform.clock);
    m_login = std::make_unique<LaunchAtLoginManager>();
    m_journal = std::make_unique<FocusJournalStore>(*m_platform.defaults, *m_platform.clock);
    m_stats = std::make_unique<InteractionStats>(*m_settings, *m_platform.clock);
    m_keyboard = std::make_unique<KeyboardMonitor>(*m_platform.inputCapture, *m_platform.keyLabels);
    m_mouse = std::make_unique<MouseMonitor>(*m_platform.inputCapture);
    createEffects();
    wireInput();
    wireEffects();

    relayChanges(m_settings);
    relayChanges(m_permissions.get());
    relayChanges(m_impacts.get());
    relayChanges(m_login.get());
    relayChanges(m_journal.get());
}

AppController::~AppController()
{
    delete m_controlWindow;
    delete m_onboardingWindow;
}

void AppController::start()
{
    if (m_started)
        return;
    if (!takeRunLock())
        return;
    m_started = true;

    m_permissions->refresh();
    requestInputMonitoringOnce();
    refreshKeyboardMonitoring();
    refreshMouseMonitoring();
    // Starting the sensor once tells whether the machine has one, which the interface shows
    // even while tap reactions are off.
    m_impacts->start();
    refreshImpactSensing();
    refreshEffectCapabilities();
    registerEffectModules();
    m_stats->setShowsLastKey(m_settings->statsOverlayEnabled());
    refreshStatisticsTimer();
    refreshStatsOverlay();

    connect(qApp, &QCoreApplication::aboutToQuit, this, &AppController::handleTermination);

    if (!m_settings->hasCompletedOnboarding())
        showOnboarding();
    else
        showControlPanel(SettingsPage::home);
}

bool AppController::takeRunLock()
{
    auto lock = RunLock::acquire(m_platform.runLockPath);
    if (lock) {
        m_runLock = std::move(*lock);
        return true;
    }
    const QString title = QStringLiteral("Plinkly is already open");
    const QString text = lock.error().refusal == RunLock::Refusal::alreadyRunning
        ? QStringLiteral("Plinkly is already running. Quit the open copy before starting this one so sounds and "
                         "reactions don't play twice.")
        : QStringLiteral("Plinkly couldn’t secure its input session (") + lock.error().error.message
            + QStringLiteral("). No input monitoring was started.");
    m_platform.shell->showCriticalAlert(title, text);
    m_platform.shell->quit();
    return false;
}

void AppController::handleTermination()
{
    m_stats->flush();
    m_platform.defaults->sync();
}

void AppController::wireInput()
{
    m_keyboard->wantsLabel = [stats = m_stats.get()] { return stats->wantsKeyLabels(); };
    m_keyboard->onEvent = [this](const KeySoundEvent &event) { handleKeyEvent(event); };

    m_stats->setEnabled(m_settings->interactionStatsEnabled());
    m_interactionSnapshot = m_stats->snapshot();
    m_statisticsTimer.setInterval(std::chrono::seconds(1));
    connect(&m_statisticsTimer, &QTimer::timeout, this, [this] {
        refreshInteractionSnapshot();
        m_stats->flushIfDue();
    });

    m_impacts->setSensitivity(m_settings->sensitivity());
    m_impacts->setCooldown(m_settings->cooldown());
    connect(m_settings, &SettingsStore::sensitivityChanged, this, [this](double value) { m_impacts->setSensitivity(value); });
    connect(m_settings, &SettingsStore::cooldownChanged, this, [this](double value) { m_impacts->setCooldown(value); });

    const auto refreshInput = [this] {
        if (!m_started)
            return;
        refreshKeyboardMonitoring();
        refreshMouseMonitoring();
        refreshImpactSensing();
    };
    connect(m_settings, &SettingsStore::effectsPausedChanged, this, refreshInput);
    connect(m_settings, &SettingsStore::typingEnabledChanged, this, refreshInput);
    connect(m_settings, &SettingsStore::mouseEnabledChanged, this, refreshInput);
    connect(m_settings, &SettingsStore::slapEnabledChanged, this, refreshInput);
    connect(m_settings, &SettingsStore::interactionStatsEnabledChanged, this, [this, refreshInput](bool enabled) {
        m_stats->setEnabled(enabled);
        if (!enabled)
            m_stats->flush();
        refreshInput();
        if (m_started)
            refreshStatisticsTimer();
    });
    connect(m_settings, &SettingsStore::statsOverlayEnabledChanged, this,
            [this](bool enabled) { m_stats->setShowsLastKey(enabled); });
    connect(m_permissions.get(), &PermissionManager::hasInputMonitoringChanged, this, [this] {
        if (m_started)
            publishCaptureState();
    });
}

void AppController::requestInputMonitoringOnce()
{
    const bool inputWanted =
        m_settings->typingEnabled() || m_settings->mouseEnabled() || m_settings->interactionStatsEnabled();
    if (!inputWanted || m_settings->effectsPaused() || m_permissions->hasInputMonitoring()
        || m_settings->didRequestInputMonitoringV2())
        return;
    m_settings->setDidRequestInputMonitoringV2(true);
    m_permissions->request();
}

void AppController::retryInputMonitoring()
{
    m_permissions->refresh();
    m_keyboard->stop();
    refreshKeyboardMonitoring();
    if (m_mouse->isRunning()) {
        m_mouse->stop();
        refreshMouseMonitoring();
    }
}

bool AppController::keyboardWanted() const
{
    // The statistics count keys even while typing sounds are off.
    return m_settings->typingEnabled() || m_settings->interactionStatsEnabled();
}

void AppController::refreshKeyboardMonitoring()
{
    if (!m_settings->effectsPaused() && keyboardWanted())
        m_keyboard->start();
    else
        m_keyboard->stop();
    publishCaptureState();
}

void AppController::refreshMouseMonitoring()
{
    if (!m_settings->effectsPaused() && m_settings->mouseEnabled())
        m_mouse->start();
    else
        m_mouse->stop();
}

void AppController::refreshImpactSensing()
{
    if (!m_impacts->hardwareDetected())
        return;
    if (!m_settings->effectsPaused() && m_settings->slapEnabled())
        m_impacts->start();
    else
        m_impacts->stop();
}

void AppController::publishCaptureState()
{
    const auto state = InputCapturePolicy::state(m_settings->effectsPaused(), keyboardWanted(), m_keyboard->captureLevel(),
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

void AppController::handleKeyEvent(const KeySoundEvent &event)
{
    if (m_stats->record(event) && event.label) {
        QMetaObject::invokeMethod(
            this,
            [this, label = *event.label] {
                if (m_settings->interactionStatsEnabled() && m_settings->statsOverlayEnabled())
                    m_statsOverlay->presentation().showKey(label);
            },
            Qt::QueuedConnection);
    }
}

void AppController::refreshStatisticsTimer()
{
    if (m_settings->interactionStatsEnabled()) {
        refreshInteractionSnapshot();
        m_statisticsTimer.start();
    } else {
        m_statisticsTimer.stop();
    }
}

void AppController::refreshInteractionSnapshot()
{
    const InteractionSnapshot snapshot = m_stats->snapshot();
    if (snapshot == m_interactionSnapshot)
        return;
    m_interactionSnapshot = snapshot;
    emit interactionSnapshotChanged(snapshot);
    emit changed();
}

void AppController::setRequestedSettingsPage(SettingsPage page)
{
    if (m_requestedSettingsPage == page)
        return;
    m_requestedSettingsPage = page;
    emit requestedSettingsPageChanged(page);
    emit changed();
}

void AppController::showControlPanel(SettingsPage page)
{
    setRequestedSettingsPage(page);
    if (!m_controlWindow) {
        m_controlWindow = new ControlWindow(*this);
        m_controlWindow->centerOnScreen();
    }
    m_controlWindow->show();
    m_controlWindow->raise();
    m_controlWindow->activateWindow();
}

void AppController::showOnboarding()
{
    if (!m_onboardingWindow) {
        m_onboardingWindow = new OnboardingWindow(*this);
        m_onboardingWindow->centerOnScreen();
    }
    m_onboardingWindow->show();
    m_onboardingWindow->raise();
    m_onboardingWindow->activateWindow();
}

void AppController::finishOnboarding()
{
    m_settings->setHasCompletedOnboarding(true);
    if (m_onboardingWindow) {
        m_onboardingWindow->close();
        m_onboardingWindow->deleteLater();
        m_onboardingWindow = nullptr;
    }
    showControlPanel(SettingsPage::home);
}
