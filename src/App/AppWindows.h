#pragma once

#include "Models/SettingsPage.h"
#include "Views/ControlWindow.h"
#include "Views/OnboardingWindow.h"

#include <QObject>
#include <QPointer>

#include <memory>

class AppController;
class TrayHost;

// The application's windows: the tray icon with its panel, the control window and the
// onboarding window. Opens them when the controller asks and hands the user's choices back.
class AppWindows final : public QObject {
    Q_OBJECT

public:
    explicit AppWindows(AppController &controller);
    ~AppWindows() override;

    // Puts the icon in the tray; called once the controller has started.
    void showTray();

    ControlWindow *controlWindow() const { return m_controlWindow; }
    OnboardingWindow *onboardingWindow() const { return m_onboardingWindow; }

private:
    void showControlPanel(SettingsPage page);
    void showOnboarding();
    void closeOnboarding();

    AppController &m_controller;
    std::unique_ptr<TrayHost> m_tray;
    QPointer<ControlWindow> m_controlWindow;
    QPointer<OnboardingWindow> m_onboardingWindow;
};
