#include "App/TrayHost.h"

#include "App/AppController.h"
#include "Views/Kit/WindowPlacement.h"
#include "Views/MenuBarPanel.h"

#include <QCursor>
#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QSystemTrayIcon>

namespace {
// A key cap seen from above, drawn so it reads at 16 to 48 pixels.
QIcon trayIcon()
{
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        const qreal inset = size * 0.1;
        QRectF cap(inset, inset, size - 2 * inset, size - 2 * inset);
        painter.setPen(QPen(QColor(235, 235, 240), size / 12.0));
        painter.setBrush(QColor(130, 74, 209));
        painter.drawRoundedRect(cap, size * 0.2, size * 0.2);
        painter.setBrush(QColor(235, 235, 240));
        painter.setPen(Qt::NoPen);
        const qreal dot = size * 0.18;
        painter.drawEllipse(cap.center(), dot, dot);
        icon.addPixmap(pixmap);
    }
    return icon;
}
}

TrayHost::TrayHost(AppController &controller)
    : m_controller(controller)
{
    m_icon = new QSystemTrayIcon(trayIcon(), this);
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
    if (!m_panel) {
        m_panel = new MenuBarPanel;
        connect(m_panel, &MenuBarPanel::shown, &m_controller, &AppController::start);
    }
    m_panel->adjustSize();
    QRect anchor = m_icon->geometry();
    if (!anchor.isValid() || anchor.isEmpty())
        anchor = QRect(QCursor::pos(), QSize(0, 0));
    QScreen *screen = QGuiApplication::screenAt(anchor.center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    m_panel->move(WindowPlacement::popupOrigin(anchor, m_panel->size(), screen->availableGeometry()));
    m_panel->show();
}
