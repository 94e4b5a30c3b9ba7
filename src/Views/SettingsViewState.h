#pragma once

#include "Models/SettingsPage.h"

#include <QObject>
#include <QString>

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
