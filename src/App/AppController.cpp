#include "App/AppController.h"

#include "App/PetCommands.h"

#include "Effects/Pet/PetPresentation.h"
#include "Foundation/PublishedProperty.h"

#include <QApplication>

AppController::AppController(Platform platform, SettingsStore *settings, QObject *parent)
    : AppModel(parent)
    , m_platform(std::move(platform))
{
    if (!settings) {
        m_ownedSettings = std::make_unique<SettingsStore>(*m_platform.defaults);
        settings = m_ownedSettings.get();
    }
    m_settings = settings;

    m_login = std::make_unique<LaunchAtLoginManager>();
    m_journal = std::make_unique<FocusJournalStore>(*m_platform.defaults, *m_platform.clock);
    m_sound = std::make_unique<SoundController>(m_platform, *m_settings);
    m_input = std::make_unique<InputController>(m_platform, *m_settings, *m_sound);
    m_effects = std::make_unique<EffectsController>(m_platform, *m_settings, *m_input, *m_sound);
    m_focus = std::make_unique<FocusController>(*m_settings, *m_journal, *m_platform.workspace, *m_platform.clock,
                                                *m_platform.scheduler);
    m_effects->onPetAction = [this](PetAction action) { handlePetAction(action); };
    m_effects->chaosEffects().onTriggered = [this](ChaosMode mode) { handleChaosEffect(mode); };
    wirePetToFocus();
    forwardSignals();

    relayChanges(m_settings);
    relayChanges(m_login.get());
    relayChanges(m_journal.get());
    relayChanges(m_sound.get());
    relayChanges(m_input.get());
    relayChanges(m_effects.get());
    relayChanges(m_focus.get());

    // Pausing every effect, losing input access and starting a focus session put a toy away.
    m_focus->onSessionStarting = [this] { stopScreenToys(); };
    connect(m_settings, &SettingsStore::effectsPausedChanged, this, [this](bool paused) {
        if (paused)
            stopScreenToys();
    });
    connect(&permissions(), &PermissionManager::hasInputMonitoringChanged, this, [this] {
        if (!permissions().hasInputMonitoring())
            stopScreenToys();
    });
}

AppController::~AppController()
{
    // The input threads call into the sound roads: they stop before anything goes.
    m_input->stop();
}

void AppController::forwardSignals()
{
    connect(m_sound.get(), &SoundController::pendingSoundPackIDsChanged, this, &AppController::pendingSoundPackIDsChanged);
    connect(m_sound.get(), &SoundController::keyboardAudioErrorChanged, this, &AppController::keyboardAudioErrorChanged);
    connect(m_sound.get(), &SoundController::mouseAudioErrorChanged, this, &AppController::mouseAudioErrorChanged);
    connect(m_sound.get(), &SoundController::reactionAudioErrorChanged, this, &AppController::reactionAudioErrorChanged);
    connect(m_input.get(), &InputController::monitorActiveChanged, this, &AppController::monitorActiveChanged);
    connect(m_input.get(), &InputController::inputCaptureModeChanged, this, &AppController::inputCaptureModeChanged);
    connect(m_input.get(), &InputController::interactionSnapshotChanged, this,
            &AppController::interactionSnapshotChanged);
}

bool AppController::startListening()
{
    if (std::exchange(m_listening, true))
        return m_started;
    if (!takeRunLock())
        return false;
    m_started = true;
    m_login->renewEntry();
    m_sound->start();
    m_input->start();
    connect(qApp, &QCoreApplication::aboutToQuit, this, &AppController::handleTermination);
    return true;
}

void AppController::start()
{
    if (!startListening() || std::exchange(m_shown, true))
        return;
    m_effects->start();

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

ScreenToyController &AppController::screenToys()
{
    if (m_screenToys)
        return *m_screenToys;
    ScreenToySources &sources = m_platform.screenToys;
    m_screenToys = std::make_unique<ScreenToyController>(
        [this] { return permissions().hasInputMonitoring(); },
        ScreenToyController::Sources{*sources.pointer, *m_platform.inputCapture, *m_platform.reactions.overlays,
                                     *sources.reduceMotion, sources.sleep.get()},
        std::make_unique<ScreenToySound>(m_platform.makeAudioOutput ? m_platform.makeAudioOutput() : nullptr),
        *m_platform.clock);
    ScreenToyController *toys = m_screenToys.get();
    toys->setVolume(float(m_settings->toyVolume()));
    toys->setHandTone(fromRawOrFirst<ScreenToyHandTone>(m_settings->toyHandToneID()));
    connect(m_settings, &SettingsStore::toyVolumeChanged, toys, [toys](double volume) { toys->setVolume(float(volume)); });
    connect(m_settings, &SettingsStore::toyHandToneIDChanged, toys,
            [toys](const QString &id) { toys->setHandTone(fromRawOrFirst<ScreenToyHandTone>(id)); });
    connect(toys, &ScreenToyController::activeToyChanged, this,
            [this, toys] { setClickSoundsSuppressed(toys->activeToy().has_value()); });
    relayChanges(toys);
    return *toys;
}

void AppController::stopScreenToys()
{
    if (m_screenToys)
        m_screenToys->stop();
}

void AppController::handleTermination()
{
    stopScreenToys();
    // Keys already typed when the quit came are read and counted before the counts are saved.
    m_input->stop();
    saveState();
}

void AppController::saveState()
{
    emit stateSaving();
    m_input->stats().flush();
    m_platform.defaults->sync();
}

void AppController::setRequestedSettingsPage(SettingsPage page)
{
    publish(this, m_requestedSettingsPage, page, &AppController::requestedSettingsPageChanged);
}

void AppController::showControlPanel(SettingsPage page)
{
    // Asked before our own window comes forward, while the user's application is still in front.
    m_focus->prepareControlPanel(page == SettingsPage::focus);
    setRequestedSettingsPage(page);
    emit controlPanelRequested(page);
}

void AppController::showOnboarding()
{
    emit onboardingRequested();
}

void AppController::resetVisuals()
{
    stopScreenToys();
    effects().resetAll();
    overlays().reset();
}

void AppController::finishOnboarding()
{
    m_settings->setHasCompletedOnboarding(true);
    emit onboardingFinished();
    showControlPanel(SettingsPage::home);
}

// The session's moods and lines reach the pet through its controller, and its countdown shows
// on the pet while a session runs.
void AppController::wirePetToFocus()
{
    m_focus->onPetUpdate = [this](PetMood mood, const QString &line) { m_effects->pet().update(mood, line); };
    FocusSessionController &session = m_focus->session();
    const auto showCountdown = [this, &session] {
        const bool running = session.isActive();
        m_effects->pet().presentation().setFocusRemainingSeconds(
            running ? std::optional<int>(session.remainingSeconds()) : std::nullopt, running && session.isPaused());
    };
    connect(&session, &FocusSessionController::isActiveChanged, this, showCountdown);
    connect(&session, &FocusSessionController::isPausedChanged, this, showCountdown);
    connect(&session, &FocusSessionController::remainingSecondsChanged, this, showCountdown);
}

void AppController::handlePetAction(PetAction action)
{
    PetCommands::perform(*this, action);
}

void AppController::handleChaosEffect(ChaosMode mode)
{
    if (m_settings->petEnabled())
        m_effects->pet().update(PetMood::celebrating, PetCommands::chaosLine(mode));
}
