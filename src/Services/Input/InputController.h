#pragma once

#include "Platform/Platform.h"
#include "Services/Audio/SoundController.h"
#include "Services/Impact/ImpactController.h"
#include "Services/Input/InputCapturePolicy.h"
#include "Services/Input/KeyboardMonitor.h"
#include "Services/Input/MouseMonitor.h"
#include "Services/InteractionStats.h"
#include "Services/PermissionManager.h"
#include "Services/SettingsStore.h"

#include <QObject>
#include <QTimer>

#include <memory>

// What the application senses: keys, clicks and taps, the permission to read them, how keys
// are captured, and the statistics counted from them. Each source runs only while a setting
// wants it and effects are not paused.
class InputController final : public QObject {
    Q_OBJECT

public:
    InputController(Platform &platform, SettingsStore &settings, SoundController &sound, QObject *parent = nullptr);
    ~InputController() override;

    PermissionManager &permissions() { return *m_permissions; }
    ImpactController &impacts() { return *m_impacts; }
    InteractionStats &stats() { return *m_stats; }
    KeyboardMonitor &keyboardMonitor() { return *m_keyboard; }
    MouseMonitor &mouseMonitor() { return *m_mouse; }

    // Reads the permissions, asks for input monitoring once, and starts what the settings want.
    void start();
    // Stops every reader thread; they call into the sound roads.
    void stop();

    // Keys arrive on the keyboard reader's thread and never wait for the sound.
    void handleKeyEvent(const KeySoundEvent &event);

    // Whether keys typed in every application are heard, and how.
    bool monitorActive() const { return m_captureState.monitorActive; }
    QString inputCaptureMode() const { return m_captureState.mode; }
    // Re-reads both permissions, then restarts keyboard monitoring so a newly granted
    // source is used.
    void retryInputMonitoring();
    InteractionSnapshot interactionSnapshot() const { return m_interactionSnapshot; }

    void refreshKeyboardMonitoring();
    void refreshMouseMonitoring();
    void refreshImpactSensing();

signals:
    void changed();
    void monitorActiveChanged(bool value);
    void inputCaptureModeChanged(const QString &value);
    void interactionSnapshotChanged(const InteractionSnapshot &value);
    // A counted key with a label, for the typing HUD; emitted on the keyboard reader's thread.
    void keyLabelCounted(const QString &label);

private:
    void wireStatistics();
    void wireSources();
    void requestInputMonitoringOnce();
    bool keyboardWanted() const;
    void publishCaptureState();
    void refreshStatisticsTimer();
    void refreshInteractionSnapshot();

    SettingsStore &m_settings;
    SoundController &m_sound;
    std::unique_ptr<PermissionManager> m_permissions;
    std::unique_ptr<ImpactController> m_impacts;
    std::unique_ptr<InteractionStats> m_stats;
    std::unique_ptr<KeyboardMonitor> m_keyboard;
    std::unique_ptr<MouseMonitor> m_mouse;
    InputCapturePolicy::State m_captureState{false, InputCapturePolicy::permissionNeededText()};
    InteractionSnapshot m_interactionSnapshot;
    QTimer m_statisticsTimer;
    bool m_started = false;
};
