#include "Views/Focus/NotebookPanel.h"

#include "Focus/FocusJournalStore.h"
#include "Views/AppModel.h"
#include "Views/Focus/DraftEditor.h"
#include "Views/Kit/Bind.h"
#include "Views/Kit/KitStyle.h"
#include "Views/Kit/ProminentButton.h"
#include "Views/Kit/TextLabels.h"
#include "Views/SettingsViewState.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

NotebookPanel::NotebookPanel(AppModel &app, SettingsViewState &state, QWidget *parent)
    : QWidget(parent)
    , m_app(app)
    , m_state(state)
{
    auto *title = new QLabel(QStringLiteral("One intention for today"), this);
    title->setFont(KitStyle::font(FontRole::subheadline, QFont::DemiBold));
    auto *subtitle = TextLabels::hint(QStringLiteral("Give your focus sessions a direction."), this);
    auto *titles = new QVBoxLayout;
    titles->setSpacing(3);
    titles->addWidget(title);
    titles->addWidget(subtitle);
    m_priorityCount = new QLabel(this);
    m_priorityCount->setFont(KitStyle::font(FontRole::caption, QFont::Bold));
    m_priorityCount->setAccessibleName(QStringLiteral("Priorities done"));
    auto *header = new QHBoxLayout;
    header->addLayout(titles, 1);
    header->addWidget(m_priorityCount);

    m_intention = TextLabels::textField(this);
    m_intention->setPlaceholderText(QStringLiteral("What matters most today?"));
    m_intention->setAccessibleName(QStringLiteral("What matters most today?"));
    connect(m_intention, &QLineEdit::textEdited, this, [this](const QString &text) { m_state.dailyIntentionDraft = text; });

    auto *scratchpad = new QLabel(QStringLiteral("Scratchpad"), this);
    scratchpad->setFont(KitStyle::font(FontRole::subheadline, QFont::DemiBold));
    m_notes = new DraftEditor(QStringLiteral("Scratchpad"), 10, 100, this);
    connect(m_notes, &QPlainTextEdit::textChanged, this, [this] { m_state.dailyNotesDraft = m_notes->toPlainText(); });

    auto *hint = TextLabels::hint(QStringLiteral("Star up to three tasks below to keep them in view."), this);
    m_save = new ProminentButton(QStringLiteral("checkmark.circle.fill"), QStringLiteral("Save page"), this);
    connect(m_save, &QPushButton::clicked, this, [this] {
        m_app.journal().saveTodayPage(m_state.dailyIntentionDraft, m_state.dailyNotesDraft);
        m_state.notebookBase = {m_app.journal().todayPage().id, m_state.dailyIntentionDraft, m_state.dailyNotesDraft};
    });
    auto *footer = new QHBoxLayout;
    footer->addWidget(hint, 1);
    footer->addWidget(m_save);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(12);
    layout->addLayout(header);
    layout->addWidget(m_intention);
    layout->addWidget(scratchpad);
    layout->addWidget(m_notes);
    layout->addLayout(footer);
}

void NotebookPanel::pageAppeared()
{
    const FocusDailyPage today = m_app.journal().todayPage();
    const std::optional<SettingsViewState::NotebookBase> &base = m_state.notebookBase;
    const bool untouched =
        !base || (m_state.dailyIntentionDraft == base->intention && m_state.dailyNotesDraft == base->notes);
    if (untouched || base->day != today.id) {
        m_state.notebookBase = {today.id, today.intention, today.notes};
        loadDrafts(today.intention, today.notes);
    }
}

void NotebookPanel::loadDrafts(const QString &intention, const QString &notes)
{
    m_state.dailyIntentionDraft = intention;
    m_state.dailyNotesDraft = notes;
    // Loading replaces what the fields show even while one of them has focus.
    if (m_intention->text() != intention) {
        const QSignalBlocker blocker(m_intention);
        m_intention->setText(intention);
    }
    m_notes->setDraft(notes);
}

void NotebookPanel::sync(const QColor &accent)
{
    const QList<FocusTask> priorities = m_app.journal().todayPriorityTasks();
    const auto done = std::count_if(priorities.begin(), priorities.end(), [](const FocusTask &t) { return t.isComplete; });
    Bind::text(m_priorityCount, QStringLiteral("%1/%2 priorities").arg(done).arg(priorities.size()));
    const QString countStyle = QStringLiteral("color: %1").arg(KitStyle::readable(accent).name());
    if (m_priorityCount->styleSheet() != countStyle)
        m_priorityCount->setStyleSheet(countStyle);
    Bind::text(m_intention, m_state.dailyIntentionDraft);
    Bind::text(m_notes, m_state.dailyNotesDraft);
    m_save->setTint(accent);
}
