#include "App/TrayHost.h"

#include "App/AppController.h"
#include "Views/Kit/SymbolIcon.h"
#include "Views/MenuBarPanel.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QSystemTrayIcon>

TrayHost::TrayHost(AppController &controller)
    : m_controller(controller)
{
    // The violet of the default theme reads on light and dark panels alike.
    m_icon = new QSystemTrayIcon(SymbolIcon::icon(QStringLiteral("keyboard.badge.ellipsis"), QColor(130, 74, 209)), this);
    m_icon->setToolTip(QStringLiteral("Plinkly"));
    connect(m_icon, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::Context)
            togglePanel();
    });
    m_icon->show();
}

TrayHost::~TrayHost()
{
    delete m_panel;
}

bool TrayHost::isAvailable()
{
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void TrayHost::togglePanel()
{
    if (m_panel && m_panel->isVisible()) {
        m_panel->hide();
        return;
    }
    if (!m_panel)
        m_panel = new MenuBarPanel(m_controller);
    QRect anchor = m_icon->geometry();
    if (!anchor.isValid() || anchor.isEmpty())
        anchor = QRect(QCursor::pos(), QSize(0, 0));
    QScreen *screen = QGuiApplication::screenAt(anchor.center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    m_panel->popUp(anchor, screen->availableGeometry());
}
