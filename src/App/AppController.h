#pragma once

#include "App/SoundChannel.h"
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
#include "Services/Impact/ImpactController.h"
#include "Services/Input/InputCapturePolicy.h"
#include "Services/Input/KeyboardMonitor.h"
#include "Services/Input/MouseMonitor.h"
#include "Services/InteractionStats.h"
#include "Services/LaunchAtLoginManager.h"
#include "Services/PermissionManager.h"
#include "Services/RunLock.h"
#include "Services/SettingsStore.h"
#include "Views/ControlWindow.h"
#include "Views/OnboardingWindow.h"
#include "Views/SettingsPage.h"

#include <QObject>
#include <QPointer>
#include <QTimer>

#include <memory>
#include <optional>

// The root object: owns every service, wires them together, starts the application once,
// and re-announces the change of every owned service as its own so views that observe only
// this object redraw when anything under them changes.
class AppController final : public QObject {
    Q_OBJECT
    Q_PROPERTY(SettingsPage requestedSettingsPage READ requestedSettingsPage WRITE setRequestedSettingsPage NOTIFY
                   requestedSettingsPageChanged)
    Q_PROPERTY(bool monitorActive READ monitorActive NOTIFY monitorActiveChanged)
    Q_PROPERTY(QString inputCaptureMode READ inputCaptureMode NOTIFY inputCaptureModeChanged)
    Q_PROPERTY(InteractionSnapshot interactionSnapshot READ interactionSnapshot NOTIFY interactionSnapshotChanged)

public:
    using SoundChannel = ::SoundChannel;

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

    ControlWindow *controlWindow() const { return m_controlWindow; }
    OnboardingWindow *onboardingWindow() const { return m_onboardingWindow; }

signals:
    void changed();
    void requestedSettingsPageChanged(SettingsPage page);
    void monitorActiveChanged(bool value);
    void inputCaptureModeChanged(const QString &value);
    void interactionSnapshotChanged(const InteractionSnapshot &value);

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
    // On the keyboard reader's thread.
    void handleKeyEvent(const KeySoundEvent &event);
    void refreshStatisticsTimer();
    void refreshInteractionSnapshot();

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
    QPointer<ControlWindow> m_controlWindow;
    QPointer<OnboardingWindow> m_onboardingWindow;
};
