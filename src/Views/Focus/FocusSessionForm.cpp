#include "Views/Focus/FocusSessionForm.h"

#include "Focus/FocusJournalStore.h"
#include "Views/AppModel.h"
#include "Views/Kit/Bind.h"
#include "Views/Kit/KitStyle.h"
#include "Views/Kit/ProminentButton.h"
#include "Views/Kit/SwitchRow.h"
#include "Views/Kit/TextLabels.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

FocusSessionForm::FocusSessionForm(AppModel &app, QWidget *parent)
    : QWidget(parent)
    , m_app(app)
{
    SettingsStore &settings = m_app.settings();
    m_goal = TextLabels::textField(this);
    m_goal->setPlaceholderText(QStringLiteral("What are you working on?"));
    m_goal->setAccessibleName(QStringLiteral("What are you working on?"));
    m_goal->setFont(KitStyle::font(FontRole::title3));
    connect(m_goal, &QLineEdit::textEdited, &settings, &SettingsStore::setFocusGoal);

    auto *timerRow = new QHBoxLayout;
    auto *timer = new QLabel(QStringLiteral("Timer"), this);
    timer->setFont(KitStyle::font(FontRole::headline));
    timerRow->addWidget(timer);
    timerRow->addStretch(1);
    for (int minutes : presets) {
        auto *preset = new ProminentButton(QString(), QStringLiteral("%1m").arg(minutes), this);
        connect(preset, &QPushButton::clicked, &settings, [&settings, minutes] { settings.setFocusMinutes(minutes); });
        timerRow->addWidget(preset);
        m_presets << preset;
    }

    m_nudges = new SwitchRow(QStringLiteral("Let the pet nudge me when I drift"),
                             {[&settings] { return settings.focusNudgesEnabled(); },
                              [&settings](bool on) { settings.setFocusNudgesEnabled(on); }},
                             this);
    m_pet = new SwitchRow(QStringLiteral("Show my desktop pet"),
                          {[&settings] { return settings.petEnabled(); },
                           [&settings](bool on) { settings.setPetEnabled(on); }},
                          this);

    m_save = TextLabels::borderedButton(QStringLiteral("bookmark"), QStringLiteral("Save setup"), this);
    connect(m_save, &QPushButton::clicked, this, [this, &settings] {
        m_app.journal().saveSetup(settings.focusGoal(), settings.focusMinutes(), settings.focusAllowedBundleIDs());
    });
    m_start = new ProminentButton(QStringLiteral("play.fill"), QString(), this);
    m_start->setMinimumHeight(34);
    connect(m_start, &QPushButton::clicked, this, [this] { m_app.startFocusSession(); });
    auto *actions = new QHBoxLayout;
    actions->addWidget(m_save);
    actions->addStretch(1);
    actions->addWidget(m_start);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(12);
    layout->addWidget(m_goal);
    layout->addLayout(timerRow);
    layout->addWidget(m_nudges);
    layout->addWidget(m_pet);
    layout->addLayout(actions);
}

void FocusSessionForm::sync(const QColor &accent)
{
    const SettingsStore &settings = m_app.settings();
    Bind::text(m_goal, settings.focusGoal());
    const QColor faint = KitStyle::withOpacity(QColor(128, 128, 128), 0.45);
    for (qsizetype i = 0; i < m_presets.size(); ++i)
        m_presets[i]->setTint(settings.focusMinutes() == presets[i] ? accent : faint);
    m_nudges->sync();
    m_nudges->setAccent(accent);
    m_pet->sync();
    m_pet->setAccent(accent);
    Bind::enabled(m_save, !settings.focusGoal().trimmed().isEmpty());
    const QString start = QStringLiteral("Start %1-minute session").arg(settings.focusMinutes());
    if (m_start->text() != start) {
        m_start->setText(start);
        m_start->setAccessibleName(start);
    }
    m_start->setTint(accent);
}
