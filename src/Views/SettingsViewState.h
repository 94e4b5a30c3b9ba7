#pragma once

#include "Focus/FocusDailyPage.h"
#include "Focus/FocusDrafts.h"
#include "Models/SettingsPage.h"

#include <QObject>
#include <QString>

#include <optional>

// The control window's own state that several pages share. It lives as long as the window,
// so drafts and expansions survive page switches and closing the window.
class SettingsViewState final : public QObject {
    Q_OBJECT

public:
    explicit SettingsViewState(SettingsPage initialPage, QObject *parent = nullptr);

    SettingsPage page() const { return m_page; }
    void setPage(SettingsPage page);

    // Focus page drafts.
    QString taskDraft;
    QString checkInDraft;
    QString reflectionDraft;
    QString dailyIntentionDraft;
    QString dailyNotesDraft;
    // The stored page the notebook drafts were last loaded from or saved to; none until the
    // Focus page first appears. Drafts that differ from it are unsaved.
    struct NotebookBase {
        QString day;
        QString intention;
        QString notes;
    };
    std::optional<NotebookBase> notebookBase;

    // The drafts worth keeping across a restart, and taking them back: notebook drafts only
    // while they are edits of `todayPage`.
    FocusDrafts unsavedDrafts() const;
    void restoreDrafts(const FocusDrafts &drafts, const FocusDailyPage &todayPage);
    // Disclosure states of the app-guard and pet panels.
    bool appChoicesExpanded = false;
    bool bloopyAppearanceExpanded = false;

    bool clipStudioPresented() const { return m_clipStudioPresented; }
    void setClipStudioPresented(bool presented);

signals:
    void pageChanged(SettingsPage page);
    void clipStudioPresentedChanged(bool presented);

private:
    SettingsPage m_page;
    bool m_clipStudioPresented = false;
};
