#pragma once

#include "Models/SettingsPage.h"
#include "Views/SettingsViewState.h"
#include "Views/StudioSheet.h"

#include <QPointer>
#include <QWidget>

#include <array>

class AppModel;
class WindowSync;
class ControlHeader;
class ControlPage;
class PageBar;
class QMessageBox;
class QStackedWidget;

// The control window: header with status pills, the page bar and the current page. Its state
// (page, drafts, expansions) lives outside it, so a window built again after closing shows
// the same. It redraws from the controller's change announcement, coalesced into one sync
// per turn of the event loop; showing it never writes a setting.
class ControlWindow final : public QWidget {
    Q_OBJECT

public:
    ControlWindow(AppModel &app, SettingsViewState &state);
    ~ControlWindow() override;

    SettingsPage page() const { return m_state.page(); }
    SettingsViewState &state() { return m_state; }
    ControlPage *pageView(SettingsPage page) const;
    ControlHeader *header() const { return m_header; }
    QMessageBox *importAlert() const { return m_importAlert; }
    StudioSheet *studioSheet() const { return m_studio; }

    // A request from outside (the panel, start, onboarding): always shows that page, even
    // when the same page was requested before and the user has moved on since with a
    // button inside a page.
    void openPage(SettingsPage page);
    void centerOnScreen();
    // Shows the current values at once (normally queued after every change); does nothing
    // while the window is closed, since showing it syncs.
    void sync();

signals:
    // The user closed the window: nothing of it is needed until it is opened again.
    void closed();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildLayout();
    void showCurrentPage();
    void refreshImportAlert();
    void presentStudio(bool presented);

    AppModel &m_app;
    SettingsViewState &m_state;
    ControlHeader *m_header = nullptr;
    PageBar *m_pageBar = nullptr;
    QStackedWidget *m_stack = nullptr;
    std::array<ControlPage *, 7> m_pages{};
    QMessageBox *m_importAlert = nullptr;
    QPointer<StudioSheet> m_studio;
    WindowSync *m_sync;
};
