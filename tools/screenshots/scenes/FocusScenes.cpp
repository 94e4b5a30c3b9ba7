// The Focus page: idle, running, paused, the app guard's grid, and a full journal.
#include "SceneRig.h"

#include "Views/ControlWindow.h"
#include "Views/Pages/ControlPage.h"
#include "fakes/FakeWorkspace.h"

#include <QScrollArea>

namespace {

QWidget *pageContent(ControlWindow &window)
{
    return static_cast<QScrollArea *>(window.pageView(SettingsPage::focus))->widget();
}

void desktopWithApps(Platform &platform)
{
    auto workspace = std::make_unique<FakeWorkspace>();
    workspace->running = {{QStringLiteral("org.example.TextEditor"), QStringLiteral("Text Editor")},
                          {QStringLiteral("org.example.Terminal"), QStringLiteral("Terminal")},
                          {QStringLiteral("org.example.Browser"), QStringLiteral("Web Browser")},
                          {QStringLiteral("org.example.Chat"), QStringLiteral("Chat")},
                          {QStringLiteral("org.example.Music"),
                           QStringLiteral("Music Player With A Rather Long Application Name")}};
    workspace->installed = {{QStringLiteral("org.example.Notes"), QStringLiteral("Notes")}};
    workspace->frontmost = WorkspaceApplication{QStringLiteral("org.example.Chat"), QStringLiteral("Chat")};
    platform.workspace = std::move(workspace);
}

const QStringList preparedSettings{QStringLiteral("focusGoal=Draft the quarterly report"),
                                   QStringLiteral("focusMinutes=25"),
                                   QStringLiteral("focusAllowedBundleIDs=org.example.Notes, org.example.TextEditor")};

void addTasks(SceneRig &rig, bool star)
{
    FocusJournalStore &journal = rig.app().journal();
    for (const char *title : {"Outline the findings", "Collect the numbers", "Write the summary", "Email the team"})
        journal.addTask(QLatin1String(title));
    journal.toggleTask(journal.tasks()[1].id);
    if (star) {
        for (int i = 0; i < 3; ++i)
            journal.toggleTodayPriority(journal.tasks()[i].id);
    }
}

const SceneRegistrar idle{QStringLiteral("focus/idle"), [](SceneRig &rig) {
    rig.app().journal().saveSetup(QStringLiteral("Deep work"), 50, {QStringLiteral("org.example.TextEditor")});
    rig.app().journal().saveSetup(QStringLiteral("Inbox zero"), 15, {});
    ControlWindow &window = rig.controlWindow(SettingsPage::focus);
    rig.capture(QStringLiteral("focus/idle"), &window);
    rig.captureContent(QStringLiteral("focus/idle-whole"), pageContent(window));
}, preparedSettings, desktopWithApps};

const SceneRegistrar running{QStringLiteral("focus/running"), [](SceneRig &rig) {
    addTasks(rig, true);
    ControlWindow &window = rig.controlWindow(SettingsPage::focus);
    rig.app().startFocusSession();
    rig.platform().scheduler->advance(std::chrono::seconds(318));
    rig.capture(QStringLiteral("focus/running"), &window);
    rig.captureContent(QStringLiteral("focus/running-whole"), pageContent(window));
}, preparedSettings, desktopWithApps};

const SceneRegistrar paused{QStringLiteral("focus/paused"), [](SceneRig &rig) {
    ControlWindow &window = rig.controlWindow(SettingsPage::focus);
    rig.app().startFocusSession();
    rig.platform().scheduler->advance(std::chrono::seconds(75));
    rig.app().focus().pause();
    rig.capture(QStringLiteral("focus/paused"), &window);
}, preparedSettings, desktopWithApps};

const SceneRegistrar appGuard{QStringLiteral("focus/app-guard"), [](SceneRig &rig) {
    ControlWindow &window = rig.controlWindow(SettingsPage::focus);
    window.state().appChoicesExpanded = true;
    window.sync();
    rig.captureContent(QStringLiteral("focus/app-guard"), pageContent(window));
}, preparedSettings, desktopWithApps};

const SceneRegistrar fullLog{QStringLiteral("focus/full-log"), [](SceneRig &rig) {
    FocusJournalStore &journal = rig.app().journal();
    ManualClock &clock = *rig.platform().clock;
    const char *goals[] = {"Read the design notes", "", "Fix the login bug", "Plan the sprint", "Draft the report"};
    for (int i = 0; i < 5; ++i) {
        clock.advance(std::chrono::minutes(40));
        const QDateTime end = clock.now();
        journal.recordSession({QLatin1String(goals[i]), end.addSecs(-1500), end, 25, i != 1,
                               i == 3 ? std::nullopt : std::optional<qint64>(1500 - i * 130)});
        if (i != 4)
            journal.saveReflection(QStringLiteral("Good progress; next time start with the hardest part and keep "
                                                  "the chat closed until the first break."),
                                   journal.records().first().id);
    }
    for (int i = 1; i <= 6; ++i) {
        journal.addCheckIn(QStringLiteral("Progress note %1: moved one step further").arg(i), QString());
        clock.advance(std::chrono::minutes(7 * i));
    }
    addTasks(rig, true);
    journal.saveTodayPage(QStringLiteral("Finish the quarterly report"),
                          QStringLiteral("Numbers from finance arrive at noon.\nAsk Sam about the chart."));
    ControlWindow &window = rig.controlWindow(SettingsPage::focus);
    rig.captureContent(QStringLiteral("focus/full-log"), pageContent(window));
}, preparedSettings, desktopWithApps};

// Writing far longer than anyone types: one unbroken run and a long paragraph in every list.
const SceneRegistrar longWriting{QStringLiteral("focus/long-writing"), [](SceneRig &rig) {
    FocusJournalStore &journal = rig.app().journal();
    const QString run(20'000, u'x');
    const QString prose = QStringLiteral("a paragraph that goes on ").repeated(800);
    for (const QString &text : {run, prose}) {
        journal.addTask(text);
        journal.addCheckIn(text, QString());
        journal.saveSetup(text.left(5000) + QString::number(text.size()), 25, {});
        const QDateTime end = journal.now();
        journal.saveReflection(text, journal.recordSession({text, end.addSecs(-1500), end, 25, true, 1500}));
    }
    journal.saveTodayPage(prose, run);
    rig.app().settings().setFocusGoal(run);
    ControlWindow &window = rig.controlWindow(SettingsPage::focus);
    rig.capture(QStringLiteral("focus/long-writing"), &window);
    rig.captureContent(QStringLiteral("focus/long-writing-whole"), pageContent(window));
}, preparedSettings, desktopWithApps};

}
