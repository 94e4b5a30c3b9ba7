#include "Views/Pages/FocusPage.h"

#include "Focus/FocusJournalStore.h"
#include "Views/AppModel.h"
#include "Views/Focus/AppGuardPanel.h"
#include "Views/Focus/FocusLogPanel.h"
#include "Views/Focus/FocusSessionCard.h"
#include "Views/Focus/FocusSessionForm.h"
#include "Views/Focus/FocusSetupsList.h"
#include "Views/Focus/NotebookPanel.h"
#include "Views/Focus/TasksPanel.h"
#include "Views/Focus/WrapUpPanel.h"
#include "Views/Kit/Bind.h"
#include "Views/Kit/SettingsPanel.h"

#include <QShowEvent>

namespace {

template <typename Content>
SettingsPanel *panel(const QString &title, const QString &symbol, Content *content)
{
    auto *section = new SettingsPanel(title, symbol);
    section->add(content);
    return section;
}

}

FocusPage::FocusPage(AppModel &app, SettingsViewState &state, QWidget *parent)
    : ControlPage(app, state, parent)
{
    m_card = new FocusSessionCard(app, state);
    m_form = new FocusSessionForm(app);
    m_formPanel = panel(QStringLiteral("Start a Focus Session"), QStringLiteral("brain.head.profile"), m_form);
    m_guard = new AppGuardPanel(app, state);
    m_setups = new FocusSetupsList(app);
    m_setupsPanel = panel(QStringLiteral("Saved Focus Setups"), QStringLiteral("bookmark.fill"), m_setups);
    m_notebook = new NotebookPanel(app, state);
    m_tasks = new TasksPanel(app, state);
    m_log = new FocusLogPanel(app);
    m_wrapUp = new WrapUpPanel(app, state);
    m_wrapUpPanel = panel(QStringLiteral("Wrap Up"), QStringLiteral("checkmark.seal.fill"), m_wrapUp);

    addSection(m_card);
    addSection(m_formPanel);
    addSection(panel(QStringLiteral("App Guard"), QStringLiteral("checkmark.shield.fill"), m_guard));
    addSection(m_setupsPanel);
    addSection(panel(QStringLiteral("Today’s Notebook"), QStringLiteral("book.closed.fill"), m_notebook));
    addSection(panel(QStringLiteral("Today’s Tasks"), QStringLiteral("checklist"), m_tasks));
    addSection(panel(QStringLiteral("Focus Log"), QStringLiteral("chart.bar.xaxis"), m_log));
    addSection(m_wrapUpPanel);
}

void FocusPage::sync()
{
    const QColor tint = accent();
    const bool active = app().focusController().session().isActive();
    FocusJournalStore &journal = app().journal();

    Bind::visible(m_card, active);
    Bind::visible(m_formPanel, !active);
    if (active)
        m_card->sync(tint);
    else
        m_form->sync(tint);
    m_guard->sync(tint);
    Bind::visible(m_setupsPanel, !active && !journal.savedSetups().isEmpty());
    m_setups->sync(tint);
    m_notebook->sync(tint);
    m_tasks->sync();
    m_log->sync(tint);
    const QList<FocusSessionRecord> &records = journal.records();
    const bool wrapUp = !active && !records.isEmpty() && records.first().reflection.isEmpty();
    Bind::visible(m_wrapUpPanel, wrapUp);
    if (wrapUp)
        m_wrapUp->sync(records.first().id, tint);
}

void FocusPage::showEvent(QShowEvent *event)
{
    ControlPage::showEvent(event);
    if (!event->spontaneous()) {
        settle();
        m_notebook->pageAppeared();
    }
}
