#pragma once

#include <QWidget>

// The panel the tray icon opens.
class MenuBarPanel final : public QWidget {
    Q_OBJECT

public:
    MenuBarPanel();

signals:
    void shown();

protected:
    void showEvent(QShowEvent *event) override;
};
