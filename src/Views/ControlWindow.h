#pragma once

#include "Models/SettingsPage.h"

#include <QWidget>

class AppController;
class QLabel;
class QListWidget;

// The control window: a page bar with the seven pages and the page it shows. It follows
// the controller's requested page and publishes the page the user picks.
class ControlWindow final : public QWidget {
    Q_OBJECT

public:
    explicit ControlWindow(AppController &controller);

    SettingsPage page() const { return m_page; }
    void centerOnScreen();

private:
    void showPage(SettingsPage page);

    AppController &m_controller;
    SettingsPage m_page = SettingsPage::home;
    QListWidget *m_pageBar = nullptr;
    QLabel *m_title = nullptr;
};
