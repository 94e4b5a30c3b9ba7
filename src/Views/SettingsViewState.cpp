#include "Views/SettingsViewState.h"

SettingsViewState::SettingsViewState(SettingsPage initialPage, QObject *parent)
    : QObject(parent)
    , m_page(initialPage)
{
}

void SettingsViewState::setPage(SettingsPage page)
{
    if (page == m_page)
        return;
    m_page = page;
    emit pageChanged(page);
}

void SettingsViewState::setClipStudioPresented(bool presented)
{
    if (presented == m_clipStudioPresented)
        return;
    m_clipStudioPresented = presented;
    emit clipStudioPresentedChanged(presented);
}

FocusDrafts SettingsViewState::unsavedDrafts() const
{
    FocusDrafts drafts{taskDraft, reflectionDraft, {}, {}, {}};
    if (notebookBase && (dailyIntentionDraft != notebookBase->intention || dailyNotesDraft != notebookBase->notes)) {
        drafts.notebookDay = notebookBase->day;
        drafts.intention = dailyIntentionDraft;
        drafts.notes = dailyNotesDraft;
    }
    return drafts;
}

void SettingsViewState::restoreDrafts(const FocusDrafts &drafts, const FocusDailyPage &todayPage)
{
    taskDraft = drafts.task;
    reflectionDraft = drafts.reflection;
    // Edits of an earlier day give way to today's page, as they do when the day turns.
    if (drafts.notebookDay.isEmpty() || drafts.notebookDay != todayPage.id)
        return;
    dailyIntentionDraft = drafts.intention;
    dailyNotesDraft = drafts.notes;
    notebookBase = NotebookBase{todayPage.id, todayPage.intention, todayPage.notes};
}
