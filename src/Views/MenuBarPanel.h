#pragma once

#include <QWidget>

class AppController;

// The panel the tray icon opens.
class MenuBarPanel final : public QWidget {
    Q_OBJECT

public:
    explicit MenuBarPanel(AppController &controller);

protected:
    void showEvent(QShowEvent *event) override;

private:
    AppController &m_controller;
};
