#pragma once

#include "Services/Audio/SoundChannel.h"
#include "Effects/ArrivalReactionController.h"
#include "Effects/CursorEffectController.h"
#include "Effects/EffectEngine.h"
#include "Effects/LidAngleController.h"
#include "Effects/OverlayCoordinator.h"
#include "Effects/ScreenshotReactionController.h"
#include "Effects/StatsOverlayController.h"
#include "Effects/SystemReactionController.h"
#include "Focus/FocusJournalStore.h"
#include "Platform/Platform.h"
#include "Services/Audio/AudioEngine.h"
#include "Services/Audio/BuiltInSystemSoundPlayer.h"
#include "Services/Audio/SoundRouter.h"
#include "Services/Impact/ImpactController.h"
#include "Services/Input/InputCapturePolicy.h"
#include "Services/Input/KeyboardMonitor.h"
#include "Services/Input/MouseMonitor.h"
#include "Services/InteractionStats.h"
#include "Services/LaunchAtLoginManager.h"
#include "Services/Packs/SoundPackManager.h"
#include "Services/PermissionManager.h"
#include "Services/RunLock.h"
#include "Services/SettingsStore.h"
#include "Models/SettingsPage.h"

#include <QFuture>
#include <QHash>
#include <QObject>
#include <QTimer>

#include <array>
#include <atomic>
#include <memory>
#include <optional>

// The root object: owns every service, wires them together, starts the application once,
// and re-announces the change of every owned service as its own so views that observe only
// this object redraw when anything under them changes.
class AppController final : public QObject {
    Q_OBJECT
    Q_PROPERTY(PendingSoundPackIDs pendingSoundPackIDs READ pendingSoundPackIDs NOTIFY pendingSoundPackIDsChanged)
    Q_PROPERTY(std::optional<QString> keyboardAudioError READ keyboardAudioError NOTIFY keyboardAudioErrorChanged)
    Q_PROPERTY(std::optional<QString> mouseAudioError READ mouseAudioError NOTIFY mouseAudioErrorChanged)
    Q_PROPERTY(std::optional<QString> reactionAudioError READ reactionAudioError NOTIFY reactionAudioErrorChanged)
    Q_PROPERTY(SettingsPage requestedSettingsPage READ requestedSettingsPage WRITE setRequestedSettingsPage NOTIFY
                   requestedSettingsPageChanged)
    Q_PROPERTY(bool monitorActive READ monitorActive NOTIFY monitorActiveChanged)
    Q_PROPERTY(QString inputCaptureMode READ inputCaptureMode NOTIFY inputCaptureModeChanged)
    Q_PROPERTY(InteractionSnapshot interactionSnapshot READ interactionSnapshot NOTIFY interactionSnapshotChanged)

public:
    using SoundChannel = ::SoundChannel;
    using PendingSoundPackIDs = QHash<SoundChannel, QString>;

    // Creates the services in their fixed order; makes a settings store over the platform's
    // defaults when none is passed.
    explicit AppController(Platform platform, SettingsStore *settings = nullptr, QObject *parent = nullptr);
    ~AppController() override;

    SettingsStore &settings() { return *m_settings; }
    UserDefaults &defaults() { return *m_platform.defaults; }
    FocusJournalStore &journal() { return *m_journal; }
    PermissionManager &permissions() { return *m_permissions; }
    ImpactController &impacts() { return *m_impacts; }
    LaunchAtLoginManager &login() { return *m_login; }
    InteractionStats &stats() { return *m_stats; }
    KeyboardMonitor &keyboardMonitor() { return *m_keyboard; }
    MouseMonitor &mouseMonitor() { return *m_mouse; }
    SoundPackManager &packs() { return *m_packs; }
    AudioEngine &typingEngine() { return *m_typingEngine; }
    AudioEngine &mouseEngine() { return *m_mouseEngine; }
    AudioEngine &reactionEngine() { return *m_reactionEngine; }
    SoundRouter &soundRouter() { return *m_soundRouter; }

    // The three sound roads. Keys arrive on the keyboard reader's thread, clicks on the mouse
    // reader's, taps on the accelerometer's; none of them waits for the sound.
    void handleKeyEvent(const KeySoundEvent &event);
    void handleMouseClick(KeyGroup group);
    void handleImpact(double strength);
    // Set while a screen toy plays its own sounds for clicks.
    void setClickSoundsSuppressed(bool suppressed);

    // Loads the pack into the channel's engine off the GUI thread; the selection changes only
    // when the load succeeds and is still the channel's latest. Yields whether it did.
    QFuture<bool> selectSoundPack(const QString &id, SoundChannel channel);
    PendingSoundPackIDs pendingSoundPackIDs() const { return m_pendingSoundPackIDs; }
    std::optional<QString> keyboardAudioError() const { return m_audioErrors[std::size_t(SoundChannel::keyboard)]; }
    std::optional<QString> mouseAudioError() const { return m_audioErrors[std::size_t(SoundChannel::mouse)]; }
    std::optional<QString> reactionAudioError() const { return m_audioErrors[std::size_t(SoundChannel::reaction)]; }
    void previewKeyboard();
    void previewMouse();
    void previewReaction();

    // Effects, reactions and overlays.
    EffectEngine &effects() { return *m_effects; }
    OverlayCoordinator &overlays() { return *m_overlays; }
    StatsOverlayController &statsOverlay() { return *m_statsOverlay; }
    SystemReactionController &systemReactions() { return *m_systemReactions; }
    ArrivalReactionController &arrivalReactions() { return *m_arrivalReactions; }
    ScreenshotReactionController &screenshotReactions() { return *m_screenshotReactions; }
    CursorEffectController &cursorEffects() { return *m_cursorEffects; }
    LidAngleController &lidAngle() { return *m_lidAngle; }
    // Shows the lid motion band for a moment, with or without a sensor or the setting.
    void previewLidDance();

    // The one-time start; every later call returns at once.
    void start();
    bool isStarted() const { return m_started; }

    // Ask for the windows; AppWindows opens them.
    void showControlPanel(SettingsPage page);
    void showOnboarding();
    void finishOnboarding();

    SettingsPage requestedSettingsPage() const { return m_requestedSettingsPage; }
    void setRequestedSettingsPage(SettingsPage page);

    // Whether keys typed in every application are heard, and how.
    bool monitorActive() const { return m_captureState.monitorActive; }
    QString inputCaptureMode() const { return m_captureState.mode; }
    // Re-reads both permissions, then restarts keyboard monitoring so a newly granted
    // source is used.
    void retryInputMonitoring();
    InteractionSnapshot interactionSnapshot() const { return m_interactionSnapshot; }

signals:
    void changed();
    void controlPanelRequested(SettingsPage page);
    void onboardingRequested();
    void onboardingFinished();
    void requestedSettingsPageChanged(SettingsPage page);
    void monitorActiveChanged(bool value);
    void inputCaptureModeChanged(const QString &value);
    void interactionSnapshotChanged(const InteractionSnapshot &value);
    void pendingSoundPackIDsChanged();
    void keyboardAudioErrorChanged();
    void mouseAudioErrorChanged();
    void reactionAudioErrorChanged();

private:
    template <typename Source>
    void relayChanges(Source *source)
    {
        connect(source, &Source::changed, this, &AppController::changed);
    }

    bool takeRunLock();
    void handleTermination();

    // Input sensing.
    void wireInput();
    void requestInputMonitoringOnce();
    bool keyboardWanted() const;
    void refreshKeyboardMonitoring();
    void refreshMouseMonitoring();
    void refreshImpactSensing();
    void publishCaptureState();
    void refreshStatisticsTimer();
    void refreshInteractionSnapshot();

    // Sound.
    enum class SelectionCommit { write, keep };
    void wireSound();
    void startSound();
    using LoadedSounds = Result<std::shared_ptr<const SoundBank>>;
    QFuture<bool> loadSoundPack(const QString &id, SoundChannel channel, SelectionCommit commit);
    bool finishSoundPackLoad(const QString &id, SoundChannel channel, SelectionCommit commit, quint64 generation,
                             const LoadedSounds &loaded);
    AudioEngine &engine(SoundChannel channel);
    void setAudioError(SoundChannel channel, const std::optional<QString> &message);
    void updateTypingTuning();
    void updateMouseTuning();
    void updateReactionTuning();
    // Effects, reactions and overlays.
    void createEffects();
    void wireEffects();
    void registerEffectModules();
    void refreshEffectCapabilities();
    void refreshClickCounting();
    void refreshStatsOverlay();
    void refreshLidMotion();
    void handleSystemReaction(const SystemReactionEvent &event);
    void handleScreenshot(const QUrl &file);
    void handleArrival(const ArrivalReactionEvent &event);

    Platform m_platform;
    std::unique_ptr<SettingsStore> m_ownedSettings;
    SettingsStore *m_settings = nullptr;
    std::unique_ptr<PermissionManager> m_permissions;
    std::unique_ptr<ImpactController> m_impacts;
    std::unique_ptr<LaunchAtLoginManager> m_login;
    std::unique_ptr<FocusJournalStore> m_journal;
    std::unique_ptr<InteractionStats> m_stats;
    std::unique_ptr<KeyboardMonitor> m_keyboard;
    std::unique_ptr<MouseMonitor> m_mouse;
    std::unique_ptr<SoundPackManager> m_packs;
    std::unique_ptr<AudioEngine> m_typingEngine;
    std::unique_ptr<AudioEngine> m_mouseEngine;
    std::unique_ptr<AudioEngine> m_reactionEngine;
    std::unique_ptr<BuiltInSystemSoundPlayer> m_systemSounds;
    std::unique_ptr<SoundRouter> m_soundRouter;
    struct PackLoad {
        quint64 generation = 0;
        std::shared_ptr<std::atomic<bool>> cancelled;
    };
    std::array<PackLoad, 3> m_packLoads;
    PendingSoundPackIDs m_pendingSoundPackIDs;
    std::array<std::optional<QString>, 3> m_audioErrors;
    // Direct writes of a selection load that pack only once start() has loaded the first ones,
    // and never while selectSoundPack() writes the selection its own load made.
    bool m_soundStarted = false;
    bool m_committingSelection = false;
    InputCapturePolicy::State m_captureState{false, InputCapturePolicy::permissionNeededText()};
    InteractionSnapshot m_interactionSnapshot;
    QTimer m_statisticsTimer;

    std::unique_ptr<EffectEngine> m_effects;
    std::unique_ptr<OverlayCoordinator> m_overlays;
    std::unique_ptr<StatsOverlayController> m_statsOverlay;
    std::unique_ptr<SystemReactionController> m_systemReactions;
    std::unique_ptr<ArrivalReactionController> m_arrivalReactions;
    std::unique_ptr<ScreenshotReactionController> m_screenshotReactions;
    std::unique_ptr<CursorEffectController> m_cursorEffects;
    std::unique_ptr<LidAngleReading> m_lidReader;
    std::unique_ptr<LidAngleController> m_lidAngle;
    quint64 m_lidPreviewGeneration = 0;
    bool m_lidPreviewShowing = false;
    quint64 m_lidMoveGeneration = 0;
    bool m_lidMoving = false;

    bool m_started = false;
    std::optional<RunLock> m_runLock;
    SettingsPage m_requestedSettingsPage = SettingsPage::home;
};
