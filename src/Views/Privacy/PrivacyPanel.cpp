#include "Views/Privacy/PrivacyPanel.h"

#include "Views/AppModel.h"
#include "Views/Kit/Bind.h"
#include "Views/Kit/DividerLine.h"
#include "Views/Kit/KitStyle.h"
#include "Views/Kit/SymbolLabel.h"
#include "Views/Kit/TextLabels.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace {

const QString statement = QStringLiteral(
    "Plinkly reads transient key events to choose sounds. Optional stats save only key and click totals; the mini "
    "HUD briefly displays the actual last key, then clears it without saving. The system does not tell Plinkly when "
    "you type a password, so hide the HUD when typing secrets. During an optional Focus session, Plinkly sees the "
    "name and application ID of the app whose window has focus, never tabs or screen contents. Arrival reactions notice "
    "completed Downloads or mounted devices but never open their contents or save filenames. Optional Desktop "
    "Physics reads the file manager\u2019s icon names and positions only when you run it, without saving them. "
    "Goals, tasks, check-ins, reflections, and session history stay on this computer. Plinkly has no analytics or "
    "server connection.");

}

PrivacyPanel::PrivacyPanel(AppModel &app, QWidget *parent)
    : SettingsPanel(QStringLiteral("Private by Design"), QStringLiteral("lock.shield.fill"), parent)
    , m_app(app)
{
    auto *text = new QLabel(statement, this);
    text->setObjectName(QStringLiteral("privacyStatement"));
    text->setWordWrap(true);
    text->setFont(KitStyle::font(FontRole::body));
    add(text);

    add(new DividerLine(this));

    m_permission = new SymbolLabel(QStringLiteral("exclamationmark.triangle.fill"), QStringLiteral("Permission needed"),
                                   KitStyle::font(FontRole::body), ColorRole::orange, this);
    m_captureMode = new QLabel(this);
    m_captureMode->setFont(KitStyle::font(FontRole::body));
    TextLabels::tint(m_captureMode, ColorRole::secondary);
    auto *status = new QHBoxLayout;
    status->addWidget(m_permission);
    status->addStretch(1);
    status->addWidget(m_captureMode);
    add(status);

    m_monitor = TextLabels::intro(QString(), this);
    add(m_monitor);

    PermissionManager &permissions = app.input().permissions();
    QPushButton *request = TextLabels::borderedButton({}, QStringLiteral("Request Permission"), this);
    connect(request, &QPushButton::clicked, this, [&permissions] { permissions.request(); });
    QPushButton *retry = TextLabels::borderedButton({}, QStringLiteral("Retry Monitor"), this);
    retry->setToolTip(QStringLiteral("Checks input access again and restarts listening for keys and clicks"));
    connect(retry, &QPushButton::clicked, this, [this] { m_app.input().retryInputMonitoring(); });
    QPushButton *help = TextLabels::borderedButton({}, QStringLiteral("How to Grant Access"), this);
    connect(help, &QPushButton::clicked, this, [&permissions] { permissions.showInputMonitoringHelp(); });
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(request);
    buttons->addWidget(retry);
    buttons->addWidget(help);
    buttons->addStretch(1);
    add(buttons);
}

void PrivacyPanel::sync()
{
    InputController &input = m_app.input();
    const bool granted = input.permissions().hasInputMonitoring();
    m_permission->setText(granted ? QStringLiteral("Permission granted") : QStringLiteral("Permission needed"));
    m_permission->setSymbol(granted ? QStringLiteral("checkmark.circle.fill")
                                    : QStringLiteral("exclamationmark.triangle.fill"));
    m_permission->setColor(KitStyle::color(granted ? ColorRole::green : ColorRole::orange));
    Bind::text(m_captureMode, input.inputCaptureMode());
    Bind::text(m_monitor, input.monitorActive()
                              ? QStringLiteral("Global typing sounds are active.")
                              : QStringLiteral("Typing inside Plinkly works, but the system\u2019s permission is "
                                               "required for other apps."));
}
