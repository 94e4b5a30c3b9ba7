#include "Views/Pages/SystemPage.h"

#include "Views/System/ArrivalsPanel.h"
#include "Views/System/CursorClicksPanel.h"
#include "Views/System/DesktopPhysicsPanel.h"
#include "Views/System/LidDancePanel.h"
#include "Views/System/PowerPanel.h"
#include "Views/System/ScreenshotsPanel.h"
#include "Views/System/SleepWakePanel.h"
#include "Views/System/SystemReactionsPanel.h"

SystemPage::SystemPage(AppModel &app, SettingsViewState &state, QWidget *parent)
    : ControlPage(app, state, parent)
    , m_lid(new LidDancePanel(app))
    , m_reactions(new SystemReactionsPanel(app))
    , m_power(new PowerPanel(app))
    , m_sleep(new SleepWakePanel(app))
    , m_arrivals(new ArrivalsPanel(app))
    , m_screenshots(new ScreenshotsPanel(app))
    , m_cursor(new CursorClicksPanel(app))
    , m_physics(new DesktopPhysicsPanel(app))
{
    for (QWidget *section : std::initializer_list<QWidget *>{m_lid, m_reactions, m_power, m_sleep, m_arrivals,
                                                              m_screenshots, m_cursor, m_physics})
        addSection(section);
}

void SystemPage::sync()
{
    m_lid->sync();
    m_reactions->sync();
    m_power->sync();
    m_sleep->sync();
    m_arrivals->sync();
    m_screenshots->sync();
    m_cursor->sync();
    m_physics->sync();
}
