#include "Views/Focus/TasksPanel.h"

#include "Focus/FocusJournalStore.h"
#include "Views/AppModel.h"
#include "Views/Focus/JournalExcerpt.h"
#include "Views/Kit/Bind.h"
#include "Views/Kit/KeyedRows.h"
#include "Views/Kit/KitStyle.h"
#include "Views/Kit/SymbolButton.h"
#include "Views/Kit/TextLabels.h"
#include "Views/SettingsViewState.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

class TaskRow final : public QWidget {
public:
    TaskRow(AppModel &app, const QUuid &id, QWidget *parent)
        : QWidget(parent)
    {
        FocusJournalStore &journal = app.journal();
        m_tick = new SymbolButton(QStringLiteral("circle"), KitStyle::color(ColorRole::secondary),
                                  QStringLiteral("Toggle task"), 16, this);
        m_title = new QLabel(this);
        m_title->setWordWrap(true);
        m_star = new SymbolButton(QStringLiteral("star"), KitStyle::color(ColorRole::secondary),
                                  QStringLiteral("Mark as one of today's top three"), 16, this);
        m_star->setToolTip(QStringLiteral("Mark as one of today's top three"));
        m_focus = TextLabels::borderedButton(QString(), QStringLiteral("Focus"), this);
        m_focus->setFont(KitStyle::font(FontRole::callout));
        // Hidden on finished tasks, it keeps its room so the star column stays put.
        QSizePolicy keepRoom = m_focus->sizePolicy();
        keepRoom.setRetainSizeWhenHidden(true);
        m_focus->setSizePolicy(keepRoom);
        auto *remove = new SymbolButton(QStringLiteral("trash"), KitStyle::color(ColorRole::red),
                                        QStringLiteral("Remove task"), 16, this);
        auto *layout = new QHBoxLayout(this);
        layout->setContentsMargins(0, 2, 0, 2);
        layout->setSpacing(10);
        layout->addWidget(m_tick);
        layout->addWidget(m_title, 1);
        layout->addWidget(m_star);
        layout->addWidget(m_focus);
        layout->addWidget(remove);
        connect(m_tick, &QAbstractButton::clicked, this, [&journal, id] { journal.toggleTask(id); });
        connect(m_star, &QAbstractButton::clicked, this, [&journal, id] { journal.toggleTodayPriority(id); });
        connect(remove, &QAbstractButton::clicked, this, [&journal, id] { journal.removeTask(id); });
        connect(m_focus, &QPushButton::clicked, this, [&app, id] {
            for (const FocusTask &task : app.journal().tasks()) {
                if (task.id == id) {
                    app.settings().setFocusGoal(task.title);
                    app.startFocusSession();
                    return;
                }
            }
        });
    }

    void present(const FocusTask &task, bool starred, bool sessionRunning)
    {
        m_tick->setSymbol(task.isComplete ? QStringLiteral("checkmark.circle.fill") : QStringLiteral("circle"),
                          KitStyle::color(task.isComplete ? ColorRole::green : ColorRole::secondary));
        m_star->setSymbol(starred ? QStringLiteral("star.fill") : QStringLiteral("star"),
                          KitStyle::color(starred ? ColorRole::yellow : ColorRole::secondary));
        Bind::text(m_title, JournalExcerpt::forLabel(task.title));
        QFont font = KitStyle::font(FontRole::body);
        font.setStrikeOut(task.isComplete);
        if (m_title->font() != font)
            m_title->setFont(font);
        const QString style = QStringLiteral("color: %1")
                                  .arg(KitStyle::color(task.isComplete ? ColorRole::secondary : ColorRole::primary).name());
        if (m_title->styleSheet() != style)
            m_title->setStyleSheet(style);
        Bind::visible(m_focus, !task.isComplete && !sessionRunning);
    }

private:
    SymbolButton *m_tick = nullptr;
    QLabel *m_title = nullptr;
    SymbolButton *m_star = nullptr;
    QPushButton *m_focus = nullptr;
};

}

TasksPanel::TasksPanel(AppModel &app, SettingsViewState &state, QWidget *parent)
    : QWidget(parent)
    , m_app(app)
    , m_state(state)
{
    m_field = TextLabels::textField(this);
    m_field->setPlaceholderText(QStringLiteral("Add one clear next step"));
    m_field->setAccessibleName(QStringLiteral("Add one clear next step"));
    m_add = TextLabels::borderedButton(QStringLiteral("plus"), QStringLiteral("Add"), this);
    auto *entry = new QHBoxLayout;
    entry->addWidget(m_field, 1);
    entry->addWidget(m_add);
    connect(m_field, &QLineEdit::textEdited, this, [this](const QString &text) {
        m_state.taskDraft = text;
        Bind::enabled(m_add, !text.trimmed().isEmpty());
    });
    // Return adds even a blank step: the journal ignores it and the field is cleared.
    connect(m_field, &QLineEdit::returnPressed, this, &TasksPanel::addTask);
    connect(m_add, &QPushButton::clicked, this, &TasksPanel::addTask);

    m_empty = TextLabels::hint(QStringLiteral("Keep it small: add the few things worth focusing on today."), this);
    auto *rows = new QVBoxLayout;
    rows->setSpacing(0);
    m_rows = new KeyedRows(rows, this);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(12);
    layout->addLayout(entry);
    layout->addWidget(m_empty);
    layout->addWidget(m_rows);
}

void TasksPanel::addTask()
{
    m_app.journal().addTask(m_state.taskDraft);
    m_state.taskDraft.clear();
    m_field->clear();
    Bind::enabled(m_add, false);
}

void TasksPanel::sync()
{
    FocusJournalStore &journal = m_app.journal();
    Bind::text(m_field, m_state.taskDraft);
    Bind::enabled(m_add, !m_state.taskDraft.trimmed().isEmpty());
    const QList<FocusTask> &tasks = journal.tasks();
    Bind::visible(m_empty, tasks.isEmpty());
    Bind::visible(m_rows, !tasks.isEmpty());
    QStringList ids;
    for (const FocusTask &task : tasks)
        ids << task.id.toString(QUuid::WithoutBraces);
    m_rows->setIds(ids, [this](const QString &id) { return new TaskRow(m_app, QUuid::fromString(id), m_rows); });
    const QList<QUuid> priorities = journal.todayPage().priorityTaskIDs;
    const bool running = m_app.focusController().session().isActive();
    for (const FocusTask &task : tasks)
        static_cast<TaskRow *>(m_rows->row(task.id.toString(QUuid::WithoutBraces)))
            ->present(task, priorities.contains(task.id), running);
}
