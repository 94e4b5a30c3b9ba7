#include "Views/ControlWindow.h"

#include "Services/Input/InputController.h"
#include "Services/Packs/SoundPackManager.h"
#include "Services/SettingsStore.h"
#include "Views/AppModel.h"
#include "Views/ControlHeader.h"
#include "Views/HeaderPills.h"
#include "Views/Kit/DividerLine.h"
#include "Views/Kit/KitStyle.h"
#include "Views/Kit/WindowPlacement.h"
#include "Views/PageBar.h"
#include "Views/Pages/FocusPage.h"
#include "Views/Pages/HomePage.h"
#include "Views/Pages/PrivacyPage.h"
#include "Views/Pages/ReactionsPage.h"
#include "Views/Pages/SoundsPage.h"
#include "Views/Pages/SystemPage.h"
#include "Views/Pages/ToysPage.h"
#include "Views/StudioSheet.h"
#include "Views/StudioSheetBody.h"
#include "Views/WindowSync.h"

#include <QCloseEvent>
#include <QMessageBox>
#include <QShortcut>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace {

std::size_t indexOf(SettingsPage page)
{
    const auto cases = allCases<SettingsPage>();
    return std::size_t(std::find(cases.begin(), cases.end(), page) - cases.begin());
}

ControlPage *makePage(SettingsPage page, AppModel &app, SettingsViewState &state)
{
    switch (page) {
    case SettingsPage::home: return new HomePage(app, state);
    case SettingsPage::sounds: return new SoundsPage(app, state);
    case SettingsPage::reactions: return new ReactionsPage(app, state);
    case SettingsPage::toys: return new ToysPage(app, state);
    case SettingsPage::system: return new SystemPage(app, state);
    case SettingsPage::focus: return new FocusPage(app, state);
    case SettingsPage::privacy: return new PrivacyPage(app, state);
    }
    return nullptr;
}

}

ControlWindow::ControlWindow(AppModel &app, SettingsViewState &state)
    : QWidget(nullptr, Qt::Window)
    , m_app(app)
    , m_state(state)
    , m_sync(new WindowSync(this, app, [this] { sync(); }))
{
    setWindowTitle(QStringLiteral("Plinkly"));
    setObjectName(QStringLiteral("controlWindow"));
    resize(760, 680);
    setMinimumSize(620, 500);
    buildLayout();

    connect(&m_state, &SettingsViewState::pageChanged, this, &ControlWindow::showCurrentPage);
    connect(&m_state, &SettingsViewState::clipStudioPresentedChanged, this, &ControlWindow::presentStudio);
    // The page bar publishes the page it shows; buttons inside pages change only the page.
    connect(m_pageBar, &PageBar::pageClicked, this, [this](SettingsPage page) {
        // A click on the tab of the page already shown looks at the running applications again.
        const bool shownAlready = page == m_state.page();
        m_state.setPage(page);
        m_app.setRequestedSettingsPage(page);
        if (shownAlready && page == SettingsPage::focus)
            m_app.focusController().session().refreshAvailableApplications();
    });

    auto *openShortcut = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Comma), this);
    connect(openShortcut, &QShortcut::activated, this, [this] { m_app.showControlPanel(SettingsPage::home); });

    showCurrentPage();
}

ControlWindow::~ControlWindow() = default;

void ControlWindow::buildLayout()
{
    m_header = new ControlHeader(this);
    m_pageBar = new PageBar(this);
    auto *divider = new DividerLine(this);
    m_stack = new QStackedWidget(this);
    for (SettingsPage page : allCases<SettingsPage>()) {
        ControlPage *view = makePage(page, m_app, m_state);
        view->setObjectName(rawValue(page) + QStringLiteral("Page"));
        m_pages[indexOf(page)] = view;
        m_stack->addWidget(view);
    }

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_header);
    layout->addWidget(m_pageBar);
    layout->addWidget(divider);
    layout->addWidget(m_stack, 1);
}

ControlPage *ControlWindow::pageView(SettingsPage page) const
{
    return m_pages[indexOf(page)];
}

void ControlWindow::openPage(SettingsPage page)
{
    m_state.setPage(page);
}

void ControlWindow::showCurrentPage()
{
    ControlPage *view = pageView(m_state.page());
    m_pageBar->setPage(m_state.page());
    if (m_stack->currentWidget() != view) {
        // The app guard lists what runs now, whichever way the Focus page was reached.
        if (m_state.page() == SettingsPage::focus)
            m_app.focusController().session().refreshAvailableApplications();
        view->sync();
        m_stack->setCurrentWidget(view);
    }
}

void ControlWindow::centerOnScreen()
{
    WindowPlacement::centerOnScreen(this);
}

void ControlWindow::sync()
{
    m_sync->clearRequest();
    // A closed window catches up when it is shown again.
    if (!isVisible())
        return;
    if (const auto accent = m_sync->refreshAccent()) {
        m_header->setAccent(*accent);
        m_pageBar->setAccent(*accent);
    }
    const FocusSessionController &session = m_app.focusController().session();
    const std::optional<double> focusRemaining =
        session.isActive() ? std::optional<double>(session.remainingSeconds()) : std::nullopt;
    m_header->setPills(HeaderPills::effects(m_app.settings().effectsPaused()),
                       HeaderPills::input(focusRemaining, m_app.input().monitorActive(),
                                         m_app.input().inputCaptureMode()));
    pageView(m_state.page())->sync();
    refreshImportAlert();
}

void ControlWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    sync();
    // A studio left open when the window closed comes back with it.
    if (m_state.clipStudioPresented())
        presentStudio(true);
}

void ControlWindow::closeEvent(QCloseEvent *event)
{
    QWidget::closeEvent(event);
    if (event->isAccepted())
        emit closed();
}

void ControlWindow::refreshImportAlert()
{
    const std::optional<QString> error = m_app.sound().packs().lastError();
    if (!error || !isVisible())
        return;
    if (!m_importAlert) {
        const QString heading = QStringLiteral("Couldn’t import that sound pack");
        m_importAlert = new QMessageBox(QMessageBox::Warning, heading, heading, QMessageBox::Ok, this);
        m_importAlert->setObjectName(QStringLiteral("importAlert"));
        m_importAlert->setWindowModality(Qt::WindowModal);
        KitStyle::applyWindowPalette(m_importAlert, m_sync->accent());
        // Every way of closing the alert (OK, Escape, the window's close button) clears the error.
        connect(m_importAlert, &QMessageBox::finished, this, [this] {
            if (m_app.sound().packs().lastError())
                m_app.sound().packs().setLastError(std::nullopt);
        });
    }
    const QString message = error->isEmpty() ? QStringLiteral("The selected files could not be loaded.") : *error;
    if (m_importAlert->informativeText() != message)
        m_importAlert->setInformativeText(message);
    if (!m_importAlert->isVisible())
        m_importAlert->open();
}

void ControlWindow::presentStudio(bool presented)
{
    if (!presented) {
        if (m_studio)
            m_studio->close();
        return;
    }
    if (m_studio)
        return;
    m_studio = new StudioSheet(makeStudioSheetBody(m_app), this);
    KitStyle::applyWindowPalette(m_studio, m_sync->accent());
    connect(m_studio, &QDialog::finished, this, [this] { m_state.setClipStudioPresented(false); });
    m_studio->open();
}
