#pragma once

#include "Models/SettingsPage.h"
#include "Views/ControlWindow.h"
#include "Views/OnboardingWindow.h"

#include <QObject>
#include <QPointer>
#include <QRect>

#include <memory>
#include <optional>
#include <vector>

class AppController;
class TrayHost;

// The application's windows: the tray icon with its panel, the control window and the
// onboarding window. Opens them when the controller asks and hands the user's choices back.
// A closed control window is freed; its state and place wait here for the next one.
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
    void releaseControlWindow();
    void showOnboarding();
    void closeOnboarding();

    AppController &m_controller;
    std::unique_ptr<TrayHost> m_tray;
    std::unique_ptr<SettingsViewState> m_controlState;
    std::optional<QRect> m_controlGeometry;
    QPointer<ControlWindow> m_controlWindow;
    // Closed windows until the event loop deletes them; they still refer to the state.
    std::vector<QPointer<ControlWindow>> m_closedWindows;
    QPointer<OnboardingWindow> m_onboardingWindow;
};
