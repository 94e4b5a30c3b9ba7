#include "App/AppController.h"

#include "Services/ResourceBundle.h"

#include "Services/Audio/MouseSoundPolicy.h"
#include "Services/Audio/SoundBankLoader.h"

#include <QApplication>
#include <QPromise>
#include <QtConcurrent/QtConcurrentRun>

#include <cmath>

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
    m_packs = m_platform.packLibraryRoot.isEmpty()
        ? std::make_unique<SoundPackManager>(ContentEditions::current())
        : std::make_unique<SoundPackManager>(m_platform.packLibraryRoot, m_platform.packResourceBundle);
    m_impacts = std::make_unique<ImpactController>(m_platform.findMotionSensor, *m_platform.clock);
    m_login = std::make_unique<LaunchAtLoginManager>();
    m_journal = std::make_unique<FocusJournalStore>(*m_platform.defaults, *m_platform.clock);
    m_stats = std::make_unique<InteractionStats>(*m_settings, *m_platform.clock);
    m_keyboard = std::make_unique<KeyboardMonitor>(*m_platform.inputCapture, *m_platform.keyLabels);
    m_mouse = std::make_unique<MouseMonitor>(*m_platform.inputCapture);
    const auto makeEngine = [this](int voices) {
        return std::make_unique<AudioEngine>(voices, std::chrono::milliseconds(2000),
                                             m_platform.makeAudioOutput ? m_platform.makeAudioOutput() : nullptr,
                                             *m_platform.clock);
    };
    m_typingEngine = makeEngine(12);
    m_mouseEngine = makeEngine(8);
    m_reactionEngine = makeEngine(1);
    m_soundRouter = std::make_unique<SoundRouter>(*m_typingEngine, *m_mouseEngine, *m_reactionEngine);
    createEffects();
    m_systemSounds = std::make_unique<BuiltInSystemSoundPlayer>(
        m_platform.packResourceBundle.isEmpty() ? ResourceBundle::path() : m_platform.packResourceBundle, makeEngine(2));
    m_overlays->setSoundPlayer(m_systemSounds.get());
    wireInput();
    wireEffects();
    wireSound();

    relayChanges(m_settings);
    relayChanges(m_permissions.get());
    relayChanges(m_packs.get());
    relayChanges(m_impacts.get());
    relayChanges(m_login.get());
    relayChanges(m_journal.get());
}

AppController::~AppController()
{
    // The input threads call into the sound roads: they stop before the engines go.
    m_keyboard->stop();
    m_mouse->stop();
    m_impacts->stop();
    for (PackLoad &load : m_packLoads) {
        if (load.cancelled)
            load.cancelled->store(true);
    }
}

void AppController::start()
{
    if (m_started)
        return;
    if (!takeRunLock())
        return;
    m_started = true;
    startSound();

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
    const bool counted = m_stats->record(event);
    m_soundRouter->playKey(event);
    if (counted && event.label) {
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
    emit controlPanelRequested(page);
}

void AppController::showOnboarding()
{
    emit onboardingRequested();
}

void AppController::finishOnboarding()
{
    m_settings->setHasCompletedOnboarding(true);
    emit onboardingFinished();
    showControlPanel(SettingsPage::home);
}

// Sound: engines, roads, pack selection and previews.

namespace {
const QString loadFailurePrefix = QStringLiteral("Couldn’t load that library. Your previous sound is unchanged. ");
const QString defaultKeyboardPack = QStringLiteral("recorded-cherry");
const QString defaultReactionPack = QStringLiteral("silly-ouchies");
constexpr std::chrono::milliseconds previewReleaseDelay{80};

SoundPackManifest::PackKind packKind(SoundChannel channel)
{
    return channel == SoundChannel::reaction ? SoundPackManifest::PackKind::reaction
                                             : SoundPackManifest::PackKind::keyboard;
}
}

void AppController::wireSound()
{
    m_mouse->onClick = [this](KeyGroup group, KeyPhase phase) {
        if (phase == KeyPhase::down)
            handleMouseClick(group);
    };
    m_impacts->onImmediateImpact = [this](double strength) { handleImpact(strength); };

    updateTypingTuning();
    updateMouseTuning();
    updateReactionTuning();
    connect(m_settings, &SettingsStore::typingEnabledChanged, this, &AppController::updateTypingTuning);
    connect(m_settings, &SettingsStore::stereoEnabledChanged, this, &AppController::updateTypingTuning);
    connect(m_settings, &SettingsStore::keyboardVolumeChanged, this, &AppController::updateTypingTuning);
    connect(m_settings, &SettingsStore::pitchVariationChanged, this, &AppController::updateTypingTuning);
    connect(m_settings, &SettingsStore::volumeVariationChanged, this, &AppController::updateTypingTuning);
    connect(m_settings, &SettingsStore::mouseEnabledChanged, this, &AppController::updateMouseTuning);
    connect(m_settings, &SettingsStore::mouseVolumeChanged, this, &AppController::updateMouseTuning);
    connect(m_settings, &SettingsStore::slapEnabledChanged, this, &AppController::updateReactionTuning);
    connect(m_settings, &SettingsStore::reactionVolumeChanged, this, &AppController::updateReactionTuning);

    const auto matchLoudness = [this](bool enabled) {
        for (AudioEngine *engine : {m_typingEngine.get(), m_mouseEngine.get(), m_reactionEngine.get()})
            engine->setLoudnessMatching(enabled);
    };
    matchLoudness(m_settings->normalizePackVolume());
    connect(m_settings, &SettingsStore::normalizePackVolumeChanged, this, matchLoudness);

    connect(m_settings, &SettingsStore::selectedKeyboardPackChanged, this, [this](const QString &id) {
        if (m_soundStarted && !m_committingSelection)
            loadSoundPack(id, SoundChannel::keyboard, SelectionCommit::keep);
    });
    connect(m_settings, &SettingsStore::selectedReactionPackChanged, this, [this](const QString &id) {
        if (m_soundStarted && !m_committingSelection)
            loadSoundPack(id, SoundChannel::reaction, SelectionCommit::keep);
    });
}

void AppController::startSound()
{
    m_packs->prepareLibrary();
    if (!m_settings->installedCC0AudioUpgrade1()) {
        m_settings->setSelectedKeyboardPack(defaultKeyboardPack);
        m_settings->setSelectedReactionPack(defaultReactionPack);
        m_settings->setPitchVariation(0.012);
        m_settings->setVolumeVariation(0.045);
        m_settings->setInstalledCC0AudioUpgrade1(true);
    }
    using Kind = SoundPackManifest::PackKind;
    if (!m_packs->pack(m_settings->selectedKeyboardPack(), Kind::keyboard))
        m_settings->setSelectedKeyboardPack(defaultKeyboardPack);
    if (!m_packs->pack(m_settings->selectedMousePack(), Kind::keyboard))
        m_settings->setSelectedMousePack(m_settings->selectedKeyboardPack());
    if (!m_packs->pack(m_settings->selectedReactionPack(), Kind::reaction))
        m_settings->setSelectedReactionPack(defaultReactionPack);

    loadSoundPack(m_settings->selectedKeyboardPack(), SoundChannel::keyboard, SelectionCommit::keep);
    loadSoundPack(m_settings->selectedMousePack(), SoundChannel::mouse, SelectionCommit::keep);
    loadSoundPack(m_settings->selectedReactionPack(), SoundChannel::reaction, SelectionCommit::keep);
    m_soundStarted = true;
    // A machine without sound output keeps running; each engine tries again on a later sound.
    m_typingEngine->start();
    m_reactionEngine->start();
}

AudioEngine &AppController::engine(SoundChannel channel)
{
    switch (channel) {
    case SoundChannel::keyboard:
        return *m_typingEngine;
    case SoundChannel::mouse:
        return *m_mouseEngine;
    case SoundChannel::reaction:
        break;
    }
    return *m_reactionEngine;
}

void AppController::handleMouseClick(KeyGroup group)
{
    m_soundRouter->playClick(group);
}

void AppController::handleImpact(double strength)
{
    m_soundRouter->playImpact(strength);
}

void AppController::setClickSoundsSuppressed(bool suppressed)
{
    MouseTuning tuning = m_soundRouter->mouseTuning();
    tuning.suppressed = suppressed;
    m_soundRouter->setMouseTuning(tuning);
}

void AppController::updateTypingTuning()
{
    m_soundRouter->setTypingTuning({m_settings->typingEnabled(), m_settings->keyboardVolume(),
                                    m_settings->stereoEnabled(), m_settings->pitchVariation(),
                                    m_settings->volumeVariation()});
}

void AppController::updateMouseTuning()
{
    MouseTuning tuning = m_soundRouter->mouseTuning();
    tuning.enabled = m_settings->mouseEnabled();
    tuning.volume = m_settings->mouseVolume();
    m_soundRouter->setMouseTuning(tuning);
}

void AppController::updateReactionTuning()
{
    m_soundRouter->setReactionTuning({m_settings->slapEnabled(), m_settings->reactionVolume()});
}

QFuture<bool> AppController::selectSoundPack(const QString &id, SoundChannel channel)
{
    return loadSoundPack(id, channel, SelectionCommit::write);
}

QFuture<bool> AppController::loadSoundPack(const QString &id, SoundChannel channel, SelectionCommit commit)
{
    PackLoad &load = m_packLoads[std::size_t(channel)];
    if (load.cancelled)
        load.cancelled->store(true);
    const quint64 generation = ++load.generation;
    auto cancelled = std::make_shared<std::atomic<bool>>(false);
    load.cancelled = cancelled;

    m_pendingSoundPackIDs.insert(channel, id);
    emit pendingSoundPackIDsChanged();
    emit changed();

    const std::optional<LoadedSoundPack> pack = m_packs->pack(id, packKind(channel));
    const int sampleRate = engine(channel).sampleRate();
    QFuture<LoadedSounds> work = QtConcurrent::run([pack, sampleRate, cancelled]() -> LoadedSounds {
        if (!pack)
            return failure(SoundPackError::domain, SoundPackError::invalid,
                           QStringLiteral("Choose an available sound library."));
        return SoundBankLoader::load(*pack, sampleRate, cancelled.get());
    });
    auto outcome = std::make_shared<QPromise<bool>>();
    outcome->start();
    work.then(this, [this, outcome, id, channel, commit, generation](const LoadedSounds &loaded) {
        // Delivered from the event loop even when the load finished at once, so the caller
        // always sees the pending state first.
        QMetaObject::invokeMethod(
            this,
            [this, outcome, id, channel, commit, generation, loaded] {
                outcome->addResult(finishSoundPackLoad(id, channel, commit, generation, loaded));
                outcome->finish();
            },
            Qt::QueuedConnection);
    });
    return outcome->future();
}

bool AppController::finishSoundPackLoad(const QString &id, SoundChannel channel, SelectionCommit commit,
                                        quint64 generation, const LoadedSounds &loaded)
{
    PackLoad &current = m_packLoads[std::size_t(channel)];
    if (current.generation != generation)
        return false;
    current.cancelled.reset();
    m_pendingSoundPackIDs.remove(channel);
    emit pendingSoundPackIDsChanged();
    emit changed();
    if (!loaded) {
        setAudioError(channel, loadFailurePrefix + loaded.error().message);
        return false;
    }
    engine(channel).setSounds(*loaded);
    if (channel == SoundChannel::mouse) {
        MouseTuning tuning = m_soundRouter->mouseTuning();
        tuning.groupTable = MouseSoundPolicy::groupTable(**loaded);
        m_soundRouter->setMouseTuning(tuning);
    }
    setAudioError(channel, std::nullopt);
    if (commit == SelectionCommit::write) {
        m_committingSelection = true;
        switch (channel) {
        case SoundChannel::keyboard:
            m_settings->setSelectedKeyboardPack(id);
            break;
        case SoundChannel::mouse:
            m_settings->setSelectedMousePack(id);
            break;
        case SoundChannel::reaction:
            m_settings->setSelectedReactionPack(id);
            break;
        }
        m_committingSelection = false;
    }
    return true;
}

void AppController::setAudioError(SoundChannel channel, const std::optional<QString> &message)
{
    std::optional<QString> &error = m_audioErrors[std::size_t(channel)];
    if (error == message)
        return;
    error = message;
    switch (channel) {
    case SoundChannel::keyboard:
        emit keyboardAudioErrorChanged();
        break;
    case SoundChannel::mouse:
        emit mouseAudioErrorChanged();
        break;
    case SoundChannel::reaction:
        emit reactionAudioErrorChanged();
        break;
    }
    emit changed();
}

void AppController::previewKeyboard()
{
    const double volume = m_settings->keyboardVolume();
    if (!std::isfinite(volume))
        return;
    SoundRequest press;
    press.volume = std::clamp(volume, 0.0, SoundRouter::maxVolume);
    m_typingEngine->play(press);
    SoundRequest release = press;
    release.phase = KeyPhase::up;
    m_platform.scheduler->schedule(previewReleaseDelay, this, [this, release] { m_typingEngine->play(release); });
}

void AppController::previewMouse()
{
    const MouseTuning tuning = m_soundRouter->mouseTuning();
    const double volume = m_settings->mouseVolume();
    if (!std::isfinite(volume))
        return;
    SoundRequest click;
    click.group = tuning.groupTable[std::size_t(KeyGroup::mouseLeft)];
    click.volume = std::clamp(volume, 0.0, SoundRouter::maxVolume);
    click.volumeVariation = SoundRouter::clickVolumeVariation;
    click.pitchVariation = SoundRouter::clickPitchVariation;
    m_mouseEngine->play(click);
}

void AppController::previewReaction()
{
    const double volume = m_settings->reactionVolume();
    if (!std::isfinite(volume))
        return;
    SoundRequest reaction;
    reaction.group = KeyGroup::reaction;
    reaction.volume = std::clamp(volume, 0.0, SoundRouter::maxVolume);
    m_reactionEngine->play(reaction);
}
