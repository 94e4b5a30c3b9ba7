#pragma once

#include "Views/Pages/ControlPage.h"

class DashboardGrid;
class InterfaceColorPanel;
class OverviewPanel;
class PetCustomizationPanel;

// The Home page of the control window: overview, the feature cards, the interface colour and
// the pet's panel.
class HomePage final : public ControlPage {
    Q_OBJECT

public:
    HomePage(AppModel &app, SettingsViewState &state, QWidget *parent = nullptr);

    void sync() override;

private:
    OverviewPanel *m_overview = nullptr;
    DashboardGrid *m_dashboard = nullptr;
    InterfaceColorPanel *m_colors = nullptr;
    PetCustomizationPanel *m_pet = nullptr;
};
