#pragma once

#include "Models/SettingsPage.h"

#include <QWidget>

class QLabel;
class QListWidget;

// The control window: a page bar with the seven pages and the page it shows. It is told
// which page to show and announces the page the user picks.
class ControlWindow final : public QWidget {
    Q_OBJECT

public:
    explicit ControlWindow(SettingsPage page);

    SettingsPage page() const { return m_page; }
    void centerOnScreen();
    void showPage(SettingsPage page);

signals:
    void pageChosen(SettingsPage page);

private:
    SettingsPage m_page = SettingsPage::home;
    QListWidget *m_pageBar = nullptr;
    QLabel *m_title = nullptr;
};
