#include "Views/Panel/PanelEffectControls.h"

#include "Views/AppModel.h"
#include "Views/Kit/KitStyle.h"
#include "Views/Kit/ProminentButton.h"
#include "Views/Kit/SwitchRow.h"
#include "Views/Kit/SymbolButton.h"
#include "Views/Kit/SymbolLabel.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

PanelEffectControls::PanelEffectControls(AppModel &app, QWidget *parent)
    : PanelSection(app, parent)
{
    SettingsStore &settings = app.settings();
    m_pause = new ProminentButton(QStringLiteral("pause.fill"), QStringLiteral("Pause All Effects"), this);
    m_resume = new ProminentButton(QStringLiteral("play.fill"), QStringLiteral("Resume All Effects"), this);
    m_resume->setTint(KitStyle::color(ColorRole::green));
    for (ProminentButton *button : {m_pause, m_resume})
        connect(button, &QPushButton::clicked, this, [&settings] { settings.setEffectsPaused(!settings.effectsPaused()); });
    m_reset = new SymbolButton(QStringLiteral("arrow.counterclockwise"), ColorRole::primary,
                               QStringLiteral("Reset all effects"), 16, this);
    m_reset->setToolTip(QStringLiteral("Reset all effects"));
    connect(m_reset, &QToolButton::clicked, this, [&app] { app.resetVisuals(); });
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_pause);
    buttons->addWidget(m_resume);
    buttons->addWidget(m_reset);
    buttons->addStretch();
    rows()->addLayout(buttons);

    m_pausedNote = new SymbolLabel(QStringLiteral("pause.circle.fill"), QStringLiteral("Effects are paused"),
                                   KitStyle::font(FontRole::caption, QFont::Medium), ColorRole::orange, this);
    rows()->addWidget(m_pausedNote);

    m_pet = new SwitchRow(QStringLiteral("Desktop Pet"),
                          {[&settings] { return settings.petEnabled(); },
                           [&settings](bool on) { settings.setPetEnabled(on); }},
                          this);
    // Shown only with the statistics it draws; switching it off keeps the statistics counting.
    m_typingHud = new SwitchRow(QStringLiteral("Typing HUD"),
                                {[&settings] { return settings.interactionStatsEnabled() && settings.statsOverlayEnabled(); },
                                 [&settings](bool on) {
                                     if (on)
                                         settings.setInteractionStatsEnabled(true);
                                     settings.setStatsOverlayEnabled(on);
                                 }},
                                this);
    rows()->addWidget(m_pet);
    rows()->addWidget(m_typingHud);
}

void PanelEffectControls::sync()
{
    const bool paused = app().settings().effectsPaused();
    const QColor tint = accent();
    m_pause->setTint(tint);
    Bind::visible(m_pause, !paused);
    Bind::visible(m_resume, paused);
    Bind::visible(m_pausedNote, paused);
    for (SwitchRow *row : {m_pet, m_typingHud}) {
        row->setAccent(tint);
        row->sync();
    }
}
