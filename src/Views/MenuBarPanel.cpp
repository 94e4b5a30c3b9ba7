#include "Views/MenuBarPanel.h"

#include "Views/AppModel.h"
#include "Views/Kit/DividerLine.h"
#include "Views/Kit/KitStyle.h"
#include "Views/Kit/WindowPlacement.h"
#include "Views/Panel/PanelChaosRow.h"
#include "Views/Panel/PanelEffectControls.h"
#include "Views/Panel/PanelFocusRow.h"
#include "Views/Panel/PanelFooter.h"
#include "Views/Panel/PanelHeader.h"
#include "Views/Panel/PanelSoundGroup.h"
#include "Views/Panel/PanelToyMenu.h"
#include "Views/WindowSync.h"

#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <QVBoxLayout>

MenuBarPanel::MenuBarPanel(AppModel &app)
    : QWidget(nullptr, Qt::Popup | Qt::FramelessWindowHint)
    , m_app(app)
    , m_sync(new WindowSync(this, app, [this] { sync(); }))
{
    setObjectName(QStringLiteral("menuBarPanel"));
    setWindowTitle(QStringLiteral("Plinkly"));
    setFixedWidth(panelWidth);
    // Styled before it is first shown: a palette change while a popup is open makes its pickers
    // rebuild their own popups, which closes this one.
    m_sync->refreshAccent();
    m_sections = {new PanelHeader(app, this),     new PanelEffectControls(app, this), new PanelChaosRow(app, this),
                  new PanelToyMenu(app, this),    new PanelFocusRow(app, this),       new PanelSoundGroup(app, this),
                  new PanelFooter(app, this)};
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(14, 14, 14, 14);
    column->setSpacing(12);
    column->addWidget(m_sections[0]);
    column->addWidget(new DividerLine(this));
    for (std::size_t index = 1; index < m_sections.size(); ++index)
        column->addWidget(m_sections[index]);

}

void MenuBarPanel::popUp(const QRect &anchor, const QRect &available)
{
    m_anchor = anchor;
    refresh();
    move(WindowPlacement::popupOrigin(anchor, size(), available));
    show();
}

void MenuBarPanel::sync()
{
    // A hidden panel catches up when it is shown again.
    if (isVisible())
        refresh();
}

void MenuBarPanel::refresh()
{
    m_sync->clearRequest();
    m_sync->refreshAccent();
    for (PanelSection *section : m_sections)
        section->sync();
    // Rows come and go with their conditions, and wrapped lines grow; the height follows them at
    // once. The sections' own layouts would catch up only at their next layout request, after
    // the panel had been measured with the rows it showed before.
    activateLayouts(this);
    const int wanted = layout()->totalHeightForWidth(panelWidth);
    if (height() != wanted)
        resize(panelWidth, wanted);
}

void MenuBarPanel::activateLayouts(QWidget *widget)
{
    for (QWidget *child : widget->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (!child->isWindow())
            activateLayouts(child);
    }
    if (widget->layout())
        widget->layout()->activate();
}

void MenuBarPanel::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    refresh();
    QTimer::singleShot(0, &m_app, [app = &m_app] { app->start(); });
}

void MenuBarPanel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), KitStyle::color(ColorRole::windowBackground));
    painter.setPen(KitStyle::color(ColorRole::separator));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void MenuBarPanel::mousePressEvent(QMouseEvent *event)
{
    // A click on the tray icon closes the panel; replayed to the icon it would open it again.
    if (!rect().contains(event->position().toPoint()) && m_anchor.contains(event->globalPosition().toPoint()))
        setAttribute(Qt::WA_NoMouseReplay);
    QWidget::mousePressEvent(event);
}
