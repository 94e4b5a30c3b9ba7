#include "Views/System/SystemReactionsPanel.h"

#include "Views/AppModel.h"
#include "Views/Kit/KitStyle.h"
#include "Views/Kit/SwitchRow.h"
#include "Views/Kit/SymbolIcon.h"
#include "Views/Kit/SymbolLabel.h"
#include "Views/Kit/TextLabels.h"
#include "Views/System/SystemRows.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace {
constexpr int batteryImageSize = 34;
}

SystemReactionsPanel::SystemReactionsPanel(AppModel &app, QWidget *parent)
    : SettingsPanel(QStringLiteral("System Reactions"), QStringLiteral("bolt.circle.fill"), parent)
    , m_app(app)
{
    SettingsStore &settings = app.settings();
    m_toggle = new SwitchRow(QStringLiteral("Enable system reactions"),
                             {[&settings] { return settings.systemReactionsEnabled(); },
                              [&settings](bool on) { settings.setSystemReactionsEnabled(on); }},
                             this);
    add(m_toggle);
    add(TextLabels::intro(QStringLiteral("A little personality for charging, low battery, sleep, and wake."), this));
    add(SystemRows::divider(this));

    m_noBattery = new SymbolLabel(QStringLiteral("desktopcomputer"), QStringLiteral("No internal battery reported"),
                                  KitStyle::font(FontRole::body), ColorRole::secondary, this);
    add(m_noBattery);

    m_battery = new QWidget(this);
    m_batteryImage = new QLabel(m_battery);
    m_batteryImage->setObjectName(QStringLiteral("batteryImage"));
    m_batteryImage->setFixedSize(batteryImageSize, batteryImageSize);
    m_level = new QLabel(m_battery);
    m_level->setFont(KitStyle::font(FontRole::title3, QFont::Bold));
    m_powerState = TextLabels::hint(QString(), m_battery);
    m_powerState->setWordWrap(false);
    m_lastEvent = TextLabels::hint(QString(), m_battery);
    m_lastEvent->setWordWrap(false);
    auto *texts = new QVBoxLayout;
    texts->setSpacing(3);
    texts->addWidget(m_level);
    texts->addWidget(m_powerState);
    auto *row = new QHBoxLayout(m_battery);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(12);
    row->addWidget(m_batteryImage);
    row->addLayout(texts);
    row->addStretch(1);
    row->addWidget(m_lastEvent);
    add(m_battery);
}

void SystemReactionsPanel::sync()
{
    m_toggle->sync();
    m_toggle->setAccent(KitStyle::accent(m_app.settings()));
    const SystemReactionController &reactions = m_app.effectsController().systemReactions();
    const std::optional<PowerSnapshot> snapshot = reactions.snapshot();
    Bind::visible(m_noBattery, !snapshot);
    Bind::visible(m_battery, snapshot.has_value());
    if (!snapshot) {
        m_look.reset();
        return;
    }
    const SystemPageText::BatteryLook look = SystemPageText::batteryLook(*snapshot);
    // The role's colour differs between light and dark, so a change of scheme repaints it too.
    const QColor tint = KitStyle::color(look.color);
    if (look != m_look || tint != m_tint) {
        m_look = look;
        m_tint = tint;
        m_batteryImage->setPixmap(SymbolIcon::icon(look.symbol, tint).pixmap(batteryImageSize, batteryImageSize));
    }
    Bind::text(m_level, SystemPageText::batteryLevel(*snapshot));
    Bind::text(m_powerState, SystemPageText::powerState(*snapshot));
    Bind::text(m_lastEvent, reactions.lastEventText());
}
