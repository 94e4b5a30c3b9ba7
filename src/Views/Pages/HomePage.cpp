#include "Views/Pages/HomePage.h"

#include "Views/Home/DashboardGrid.h"
#include "Views/Home/InterfaceColorPanel.h"
#include "Views/Home/OverviewPanel.h"
#include "Views/Pet/PetCustomizationPanel.h"

HomePage::HomePage(AppModel &app, SettingsViewState &state, QWidget *parent)
    : ControlPage(app, state, parent)
    , m_overview(new OverviewPanel(app, state))
    , m_dashboard(new DashboardGrid(app, state))
    , m_colors(new InterfaceColorPanel(app))
    , m_pet(new PetCustomizationPanel(app, state))
{
    addSection(m_overview);
    addSection(m_dashboard);
    addSection(m_colors);
    addSection(m_pet);
}

void HomePage::sync()
{
    const QColor color = accent();
    m_overview->sync(color);
    m_dashboard->sync(color);
    m_colors->sync();
    m_pet->sync(color);
}
