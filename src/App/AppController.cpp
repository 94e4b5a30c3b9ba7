#include "App/AppController.h"

#include "Views/ControlWindow.h"
#include "Views/OnboardingWindow.h"

#include <QApplication>

AppController::AppController(Platform platform, SettingsStore *settings, QObject *parent)
    : QObject(parent)
    , m_platform(std::move(platform))
{
    if (!settings) {
        m_ownedSettings = std::make_unique<SettingsStore>(*m_platform.defaults);
        settings = m_ownedSettings.get();
    }
    m_settings = settings;

    m_journal = std::make_unique<FocusJournalStore>(*m_platform.defaults, *m_platform.clock);

    relayChanges(m_settings);
    relayChanges(m_journal.get());
}

AppController::~AppController()
{
    delete m_controlWindow;
    delete m_onboardingWindow;
}

void AppController::start()
{
    if (m_started)
        return;
    if (!takeRunLock())
        return;
    m_started = true;

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
    m_platform.defaults->sync();
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
    if (!m_controlWindow) {
        m_controlWindow = new ControlWindow(*this);
        m_controlWindow->centerOnScreen();
    }
    m_controlWindow->show();
    m_controlWindow->raise();
    m_controlWindow->activateWindow();
}

void AppController::showOnboarding()
{
    if (!m_onboardingWindow) {
        m_onboardingWindow = new OnboardingWindow(*this);
        m_onboardingWindow->centerOnScreen();
    }
    m_onboardingWindow->show();
    m_onboardingWindow->raise();
    m_onboardingWindow->activateWindow();
}

void AppController::finishOnboarding()
{
    m_settings->setHasCompletedOnboarding(true);
    if (m_onboardingWindow) {
        m_onboardingWindow->close();
        m_onboardingWindow->deleteLater();
        m_onboardingWindow = nullptr;
    }
    showControlPanel(SettingsPage::home);
}
