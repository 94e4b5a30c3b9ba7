#pragma once

#include "Effects/ScreenToys/ScreenToyKind.h"
#include "Views/Panel/PanelSection.h"

#include <QHash>

class QAction;
class QLabel;
class QMenu;
class QPushButton;

// The screen-toy pull-down: one item per toy (a check mark on the one in hand), the Toys page,
// and "Stop Screen Toy"; under it, while a toy is out, how to get rid of it. Toys are blocked
// while effects are paused or a focus session runs, but a toy in hand can always be stopped.
class PanelToyMenu final : public PanelSection {
    Q_OBJECT

public:
    explicit PanelToyMenu(AppModel &app, QWidget *parent = nullptr);

    void sync() override;
    QPushButton *button() const { return m_button; }
    QMenu *menu() const { return m_menu; }
    QAction *toyAction(ScreenToyKind kind) const { return m_toyActions.value(kind); }
    QAction *stopAction() const { return m_stop; }

private:
    QPushButton *m_button = nullptr;
    QMenu *m_menu = nullptr;
    QHash<ScreenToyKind, QAction *> m_toyActions;
    QAction *m_controls = nullptr;
    QAction *m_stop = nullptr;
    QLabel *m_hint = nullptr;
    std::optional<ScreenToyKind> m_shownToy;
};
