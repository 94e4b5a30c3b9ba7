#include "App/AppWindows.h"

#include "App/AppController.h"
#include "App/TrayHost.h"

AppWindows::AppWindows(AppController &controller)
    : m_controller(controller)
{
    connect(&controller, &AppController::controlPanelRequested, this, &AppWindows::showControlPanel);
    connect(&controller, &AppController::onboardingRequested, this, &AppWindows::showOnboarding);
    connect(&controller, &AppController::onboardingFinished, this, &AppWindows::closeOnboarding);
}

AppWindows::~AppWindows()
{
    delete m_controlWindow;
    delete m_onboardingWindow;
}

void AppWindows::showTray()
{
    if (!m_tray)
        m_tray = std::make_unique<TrayHost>(m_controller);
}

void AppWindows::showControlPanel(SettingsPage page)
{
    if (!m_controlWindow) {
        m_controlWindow = new ControlWindow(m_controller, page);
        m_controlWindow->centerOnScreen();
    } else {
        m_controlWindow->openPage(page);
    }
    m_controlWindow->show();
    m_controlWindow->raise();
    m_controlWindow->activateWindow();
}

void AppWindows::showOnboarding()
{
    if (!m_onboardingWindow) {
        m_onboardingWindow = new OnboardingWindow(m_controller);
        m_onboardingWindow->centerOnScreen();
    }
    m_onboardingWindow->show();
    m_onboardingWindow->raise();
    m_onboardingWindow->activateWindow();
}

void AppWindows::closeOnboarding()
{
    if (!m_onboardingWindow)
        return;
    m_onboardingWindow->close();
    m_onboardingWindow->deleteLater();
    m_onboardingWindow = nullptr;
}
