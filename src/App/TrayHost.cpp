#include "App/TrayHost.h"

#include "App/AppController.h"
#include "App/TrayIconEngine.h"
#include "Views/MenuBarPanel.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QSystemTrayIcon>

TrayHost::TrayHost(AppController &controller)
    : m_controller(controller)
{
    m_icon = new QSystemTrayIcon(panelIcon(), this);
    // A switch between light and dark changes the palette; the icon follows.
    qApp->installEventFilter(this);
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

bool TrayHost::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == qApp && event->type() == QEvent::ApplicationPaletteChange)
        m_icon->setIcon(panelIcon());
    return QObject::eventFilter(watched, event);
}

QIcon TrayHost::panelIcon()
{
    return TrayIconEngine::icon(QGuiApplication::palette().color(QPalette::WindowText));
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
