#include "Views/Panel/PanelFooter.h"

#include "Views/AppModel.h"
#include "Views/Kit/SwitchRow.h"
#include "Views/Kit/SwitchToggle.h"
#include "Views/Kit/TextLabels.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

PanelFooter::PanelFooter(AppModel &app, QWidget *parent)
    : PanelSection(app, parent)
{
    rows()->addWidget(divider(this));
    LaunchAtLoginManager &login = app.login();
    m_launchAtLogin = new SwitchRow(QStringLiteral("Launch at Login"),
                                    {[&login] { return login.isEnabled(); }, [&login](bool on) { login.setEnabled(on); }},
                                    this);
    // A refused change leaves the registration as it was; the switch shows what it is.
    connect(m_launchAtLogin->toggle(), &QAbstractButton::toggled, m_launchAtLogin, &SwitchRow::sync);
    rows()->addWidget(m_launchAtLogin);

    m_open = TextLabels::borderedButton(QString(), QStringLiteral("Open Plinkly…"), this);
    m_open->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Comma));
    connect(m_open, &QPushButton::clicked, this, [this] {
        closePanel();
        this->app().showControlPanel(SettingsPage::home);
    });
    m_quit = TextLabels::borderedButton(QString(), QStringLiteral("Quit"), this);
    m_quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    connect(m_quit, &QPushButton::clicked, qApp, &QCoreApplication::quit, Qt::QueuedConnection);
    auto *footer = new QHBoxLayout;
    footer->addWidget(m_open);
    footer->addStretch();
    footer->addWidget(m_quit);
    rows()->addLayout(footer);
}

void PanelFooter::sync()
{
    m_launchAtLogin->setAccent(accent());
    m_launchAtLogin->sync();
}
