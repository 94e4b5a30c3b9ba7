#pragma once

#include <QIcon>
#include <QObject>
#include <QPointer>

class AppController;
class MenuBarPanel;
class QSystemTrayIcon;

// The tray icon and the panel it opens, placed at the icon (or at the cursor when the tray
// reports no geometry).
class TrayHost final : public QObject {
    Q_OBJECT

public:
    explicit TrayHost(AppController &controller);
    ~TrayHost() override;

    static bool isAvailable();
    void togglePanel();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The symbolic icon in the palette's text colour, which follows the desktop's light or
    // dark scheme as the panel does.
    static QIcon panelIcon();

    AppController &m_controller;
    QSystemTrayIcon *m_icon = nullptr;
    QPointer<MenuBarPanel> m_panel;
};
