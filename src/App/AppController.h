#pragma once

#include "App/SoundChannel.h"
#include "Focus/FocusJournalStore.h"
#include "Platform/Platform.h"
#include "Services/RunLock.h"
#include "Services/SettingsStore.h"
#include "Views/ControlWindow.h"
#include "Views/OnboardingWindow.h"
#include "Views/SettingsPage.h"

#include <QObject>
#include <QPointer>

#include <memory>
#include <optional>

// The root object: owns every service, wires them together, starts the application once,
// and re-announces the change of every owned service as its own so views that observe only
// this object redraw when anything under them changes.
class AppController final : public QObject {
    Q_OBJECT
    Q_PROPERTY(SettingsPage requestedSettingsPage READ requestedSettingsPage WRITE setRequestedSettingsPage NOTIFY
                   requestedSettingsPageChanged)

public:
    using SoundChannel = ::SoundChannel;

    // Creates the services in their fixed order; makes a settings store over the platform's
    // defaults when none is passed.
    explicit AppController(Platform platform, SettingsStore *settings = nullptr, QObject *parent = nullptr);
    ~AppController() override;

    SettingsStore &settings() { return *m_settings; }
    UserDefaults &defaults() { return *m_platform.defaults; }
    FocusJournalStore &journal() { return *m_journal; }

    // The one-time start; every later call returns at once.
    void start();
    bool isStarted() const { return m_started; }

    void showControlPanel(SettingsPage page);
    void showOnboarding();
    void finishOnboarding();

    SettingsPage requestedSettingsPage() const { return m_requestedSettingsPage; }
    void setRequestedSettingsPage(SettingsPage page);

    ControlWindow *controlWindow() const { return m_controlWindow; }
    OnboardingWindow *onboardingWindow() const { return m_onboardingWindow; }

signals:
    void changed();
    void requestedSettingsPageChanged(SettingsPage page);

private:
    template <typename Source>
    void relayChanges(Source *source)
    {
        connect(source, &Source::changed, this, &AppController::changed);
    }

    bool takeRunLock();
    void handleTermination();

    Platform m_platform;
    std::unique_ptr<SettingsStore> m_ownedSettings;
    SettingsStore *m_settings = nullptr;
    std::unique_ptr<FocusJournalStore> m_journal;

    bool m_started = false;
    std::optional<RunLock> m_runLock;
    SettingsPage m_requestedSettingsPage = SettingsPage::home;
    QPointer<ControlWindow> m_controlWindow;
    QPointer<OnboardingWindow> m_onboardingWindow;
};
