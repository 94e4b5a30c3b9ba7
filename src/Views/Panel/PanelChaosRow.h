#pragma once

#include "Views/Panel/PanelSection.h"

class QPushButton;

// Desktop physics: a random mode or gravity, or the stop button while a run is on screen.
// The stop button stays usable when paused effects or switched-off physics disable the rest.
class PanelChaosRow final : public PanelSection {
    Q_OBJECT

public:
    explicit PanelChaosRow(AppModel &app, QWidget *parent = nullptr);

    void sync() override;

private:
    QPushButton *m_stop = nullptr;
    QPushButton *m_chaos = nullptr;
    QPushButton *m_gravity = nullptr;
};
