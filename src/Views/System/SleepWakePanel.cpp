#include "Views/System/SleepWakePanel.h"

#include "Views/AppModel.h"
#include "Views/Kit/KitStyle.h"
#include "Views/Kit/SwitchRow.h"
#include "Views/Kit/TextLabels.h"
#include "Views/System/SystemRows.h"

SleepWakePanel::SleepWakePanel(AppModel &app, QWidget *parent)
    : SettingsPanel(QStringLiteral("Sleep & Wake"), QStringLiteral("moon.zzz.fill"), parent)
    , m_app(app)
{
    SettingsStore &settings = app.settings();
    m_toggle = new SwitchRow(QStringLiteral("Sleep and wake reactions"),
                             {[&settings] { return settings.wakeReactionsEnabled(); },
                              [&settings](bool on) { settings.setWakeReactionsEnabled(on); }},
                             this);
    add(m_toggle);
    add(TextLabels::hint(QStringLiteral("The dolphin settles down before sleep and greets you after wake. Available "
                                        "reactions depend on your computer."),
                         this));
    using Kind = SystemReactionEvent::Kind;
    m_previews = SystemRows::row(
        {SystemRows::previewButton(QStringLiteral("moon.fill"), QStringLiteral("Preview sleep"),
                                   [this] { preview(Kind::willSleep); }),
         SystemRows::previewButton(QStringLiteral("sun.max.fill"), QStringLiteral("Preview wake"),
                                   [this] { preview(Kind::didWake); }),
         nullptr},
        6, this);
    add(m_previews);
}

void SleepWakePanel::preview(SystemReactionEvent::Kind kind)
{
    SystemReactionController &reactions = m_app.effectsController().systemReactions();
    if (reactions.wakeEnabled)
        reactions.report(SystemReactionEvent::of(kind));
}

void SleepWakePanel::sync()
{
    const SettingsStore &settings = m_app.settings();
    m_toggle->sync();
    m_toggle->setAccent(KitStyle::accent(settings));
    Bind::enabled(m_toggle, settings.systemReactionsEnabled());
    Bind::enabled(m_previews, settings.systemReactionsEnabled() && settings.wakeReactionsEnabled());
}
