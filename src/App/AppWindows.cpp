#include "App/AppWindows.h"

#include "App/AppController.h"
#include "App/TrayHost.h"
#include "Foundation/FreedMemory.h"

#include <QTimer>

AppWindows::AppWindows(AppController &controller)
    : m_controller(controller)
{
    connect(&controller, &AppController::controlPanelRequested, this, &AppWindows::showControlPanel);
    connect(&controller, &AppController::onboardingRequested, this, &AppWindows::showOnboarding);
    connect(&controller, &AppController::onboardingFinished, this, &AppWindows::closeOnboarding);
}

AppWindows::~AppWindows()
{
    for (const QPointer<ControlWindow> &closed : m_closedWindows)
        delete closed;
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
        if (!m_controlState) {
            m_controlState = std::make_unique<SettingsViewState>(page);
            // Unsaved Focus page text outlives the program, kept apart from the journal.
            m_controlState->restoreDrafts(m_controller.journal().drafts(), m_controller.journal().todayPage());
            connect(&m_controller, &AppModel::stateSaving, this,
                    [this] { m_controller.journal().keepDrafts(m_controlState->unsavedDrafts()); });
        }
        m_controlState->setPage(page);
        m_controlWindow = new ControlWindow(m_controller, *m_controlState);
        connect(m_controlWindow, &ControlWindow::closed, this, &AppWindows::releaseControlWindow);
        // Handed back after the deletion: `destroyed` comes before the window's children are freed.
        connect(m_controlWindow, &QObject::destroyed, this,
                [] { QTimer::singleShot(0, [] { FreedMemory::giveBack(); }); });
        if (m_controlGeometry)
            m_controlWindow->setGeometry(*m_controlGeometry);
        else
            m_controlWindow->centerOnScreen();
    } else {
        m_controlWindow->openPage(page);
    }
    m_controlWindow->show();
    m_controlWindow->raise();
    m_controlWindow->activateWindow();
}

void AppWindows::releaseControlWindow()
{
    if (!m_controlWindow)
        return;
    m_controlGeometry = m_controlWindow->geometry();
    std::erase_if(m_closedWindows, [](const QPointer<ControlWindow> &closed) { return closed.isNull(); });
    m_closedWindows.push_back(m_controlWindow);
    m_controlWindow->deleteLater();
    m_controlWindow = nullptr;
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
