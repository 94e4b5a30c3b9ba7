#include "App/AppController.h"
#include "App/AppWindows.h"
#include "Views/ControlWindow.h"
#include "Views/Focus/FocusSessionCard.h"
#include "Views/Focus/RelativeDate.h"
#include "Views/Kit/ProminentButton.h"
#include "Views/Kit/SelectableTile.h"
#include "Views/Pages/ControlPage.h"
#include "fakes/FakeWorkspace.h"
#include "support/TestPlatform.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextDocument>
#include <QAbstractTextDocumentLayout>

#include <functional>

#include <gtest/gtest.h>

namespace {

// The application over a real settings file and a desktop arranged by the test, with the
// control window open on the Focus page.
struct FocusRig {
    TestFolder folder;
    FakeWorkspace *workspace = nullptr;
    ManualClock *clock = nullptr;
    ManualScheduler *scheduler = nullptr;
    std::unique_ptr<AppController> app;
    std::unique_ptr<AppWindows> windows;

    explicit FocusRig(const QStringList &settings = {})
    {
        writeSettledDefaults(folder, settings);
        launch();
    }

    // Quits as the program does and starts again over the same files.
    void restart()
    {
        app->saveState();
        windows.reset();
        app.reset();
        launch();
    }
    void launch()
    {
        TestPlatform base(folder);
        base.platform.packLibraryRoot = folder.makeDir(QStringLiteral("packs"));
        auto fake = std::make_unique<FakeWorkspace>();
        workspace = fake.get();
        base.platform.workspace = std::move(fake);
        clock = base.clock;
        scheduler = base.scheduler;
        app = std::make_unique<AppController>(std::move(base.platform));
        windows = std::make_unique<AppWindows>(*app);
    }

    ControlWindow &window() { return *windows->controlWindow(); }
    QWidget &page() { return *window().pageView(SettingsPage::focus); }

    void open()
    {
        app->showControlPanel(SettingsPage::focus);
        settle();
    }
    // One turn runs the coalesced sync, the next shows the rows it added.
    void settle()
    {
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }

    // The shown widget of that type and accessible name; fails when there is none.
    template <typename T = QAbstractButton>
    T *find(const QString &name, int index = 0)
    {
        int seen = 0;
        for (T *widget : page().findChildren<T *>()) {
            if (widget->accessibleName() == name && widget->isVisibleTo(&page()) && seen++ == index)
                return widget;
        }
        ADD_FAILURE() << "no shown " << name.toStdString() << " #" << index;
        return nullptr;
    }
    template <typename T = QAbstractButton>
    int count(const QString &name)
    {
        int seen = 0;
        for (T *widget : page().findChildren<T *>())
            seen += widget->accessibleName() == name && widget->isVisibleTo(&page()) ? 1 : 0;
        return seen;
    }
    bool sectionShown(const QString &title) { return count<QWidget>(title) > 0; }
    QString labelWith(const QString &prefix)
    {
        for (QLabel *label : page().findChildren<QLabel *>()) {
            if (label->text().startsWith(prefix) && label->isVisibleTo(&page()))
                return label->text();
        }
        return {};
    }
    void click(const QString &name, int index = 0)
    {
        if (QAbstractButton *button = find(name, index))
            button->click();
        settle();
    }
    void type(QLineEdit *field, const QString &text)
    {
        field->setFocus();
        field->selectAll();
        field->insert(text);
        settle();
    }
    FocusJournalStore &journal() { return app->journal(); }
    FocusSessionController &session() { return app->focus(); }
    QStringList taskIDs()
    {
        QStringList ids;
        for (const FocusTask &task : journal().tasks())
            ids << task.id.toString();
        return ids;
    }
};

}

TEST(FocusPage, StatusIconPausedWinsOverDriftWhichWinsOverCalm)
{
    using Look = FocusSessionCard::StatusLook;
    const Look paused{QStringLiteral("pause.circle.fill"), ColorRole::orange};
    const Look drifting{QStringLiteral("eye.fill"), ColorRole::orange};
    const Look calm{QStringLiteral("checkmark.circle.fill"), ColorRole::green};
    const struct {
        bool paused;
        const char *status;
        Look expected;
    } cases[] = {
        {true, "Potential distraction: Chat", paused},
        {true, "Back on task", paused},
        {false, "Potential distraction: Chat", drifting},
        {false, "Potential Distraction", calm},
        {false, "Focused on the report", calm},
    };
    for (const auto &c : cases)
        EXPECT_EQ(FocusSessionCard::statusLook(c.paused, QString::fromUtf8(c.status)), c.expected) << c.status;
}

TEST(FocusPage, SectionsFollowTheSessionTheSetupsAndTheNewestReflection)
{
    FocusRig rig({QStringLiteral("focusGoal=Draft the essay")});
    rig.open();
    const auto shown = [&rig] {
        QStringList titles;
        for (const char *title : {"Start a Focus Session", "App Guard", "Saved Focus Setups", "Today’s Notebook",
                                  "Today’s Tasks", "Focus Log", "Wrap Up"}) {
            if (rig.sectionShown(QString::fromUtf8(title)))
                titles << QString::fromUtf8(title);
        }
        if (rig.count<QWidget>(QStringLiteral("Time left")) > 0)
            titles.prepend(QStringLiteral("card"));
        return titles.join(u',');
    };
    EXPECT_EQ(shown(), "Start a Focus Session,App Guard,Today’s Notebook,Today’s Tasks,Focus Log");
    rig.journal().saveSetup(QStringLiteral("Essay"), 25, {});
    rig.settle();
    EXPECT_EQ(shown(), "Start a Focus Session,App Guard,Saved Focus Setups,Today’s Notebook,Today’s Tasks,Focus Log");

    rig.click(QStringLiteral("Start 25-minute session"));
    EXPECT_EQ(shown(), "card,App Guard,Today’s Notebook,Today’s Tasks,Focus Log");
    EXPECT_EQ(rig.find<QLabel>(QStringLiteral("Session goal"))->text(), "Draft the essay");

    rig.click(QStringLiteral("End Session"));
    EXPECT_EQ(shown(), "Start a Focus Session,App Guard,Saved Focus Setups,Today’s Notebook,Today’s Tasks,Focus Log,"
                       "Wrap Up");
    rig.journal().saveReflection(QStringLiteral("Outline done"), rig.journal().records().first().id);
    rig.journal().removeSetup(rig.journal().savedSetups().first().id);
    rig.settle();
    EXPECT_EQ(shown(), "Start a Focus Session,App Guard,Today’s Notebook,Today’s Tasks,Focus Log");
}

TEST(FocusPage, UseCopiesASetupAndStartAlsoStartsIt)
{
    FocusRig rig({QStringLiteral("focusGoal=Inbox"), QStringLiteral("focusMinutes=15"),
                  QStringLiteral("focusNudgesEnabled=false")});
    rig.journal().saveSetup(QStringLiteral("Deep work"), 50, {QStringLiteral("org.example.Editor")});
    rig.open();
    EXPECT_EQ(rig.labelWith(QStringLiteral("50m")), "50m · 1 on-task apps");

    rig.click(QStringLiteral("Use"));
    SettingsStore &settings = rig.app->settings();
    EXPECT_EQ(settings.focusGoal(), "Deep work");
    EXPECT_EQ(settings.focusMinutes(), 50);
    EXPECT_EQ(settings.focusAllowedBundleIDs(), QStringList{QStringLiteral("org.example.Editor")});
    EXPECT_FALSE(settings.focusNudgesEnabled());
    EXPECT_FALSE(rig.session().isActive());
    EXPECT_EQ(rig.find<QLineEdit>(QStringLiteral("What are you working on?"))->text(), "Deep work");
    EXPECT_EQ(rig.count(QStringLiteral("Start 50-minute session")), 1);

    settings.setFocusGoal(QStringLiteral("Something else"));
    rig.click(QStringLiteral("Start"));
    EXPECT_TRUE(rig.session().isActive());
    EXPECT_EQ(rig.session().remainingSeconds(), 50 * 60);
    EXPECT_EQ(settings.focusGoal(), "Deep work");
    EXPECT_EQ(rig.find<QLabel>(QStringLiteral("Time left"))->text(), "50:00");
    EXPECT_FALSE(rig.sectionShown(QStringLiteral("Saved Focus Setups")));
}

TEST(FocusPage, AMinutesValueOutsideThePresetsHighlightsNoneAndNamesItself)
{
    FocusRig rig({QStringLiteral("focusMinutes=5")});
    rig.app->settings().setFocusGoal(QStringLiteral("  \n"));
    rig.open();
    const QColor accent = KitStyle::accent(rig.app->settings());
    const auto highlighted = [&] {
        QStringList chosen;
        for (const char *preset : {"15m", "25m", "50m", "90m"}) {
            if (rig.find<ProminentButton>(QLatin1String(preset))->styleSheet().contains(accent.name(QColor::HexArgb)))
                chosen << QLatin1String(preset);
        }
        return chosen;
    };
    EXPECT_TRUE(highlighted().isEmpty());
    EXPECT_EQ(rig.count(QStringLiteral("Start 5-minute session")), 1);
    // A blank goal cannot be saved as a setup but can be started.
    EXPECT_FALSE(rig.find(QStringLiteral("Save setup"))->isEnabled());
    EXPECT_TRUE(rig.find(QStringLiteral("Start 5-minute session"))->isEnabled());

    rig.click(QStringLiteral("90m"));
    EXPECT_EQ(rig.app->settings().focusMinutes(), 90);
    EXPECT_EQ(highlighted(), QStringList{QStringLiteral("90m")});
}

TEST(FocusPage, AnUnloggedNoteSurvivesTheEndOfTheSession)
{
    FocusRig rig;
    rig.open();
    rig.app->startFocusSession();
    rig.settle();
    QLineEdit *note = rig.find<QLineEdit>(QStringLiteral("Quick progress note"));
    rig.type(note, QStringLiteral("   "));
    EXPECT_FALSE(rig.find(QStringLiteral("Log"))->isEnabled());
    rig.type(note, QStringLiteral("  halfway there  "));
    rig.click(QStringLiteral("Log"));
    ASSERT_EQ(rig.journal().logs().size(), 1);
    EXPECT_EQ(rig.journal().logs().first().text, "halfway there");
    EXPECT_TRUE(note->text().isEmpty());

    rig.type(note, QStringLiteral("not logged yet"));
    note->clearFocus();
    rig.session().stop(false);
    rig.settle();
    rig.app->startFocusSession();
    rig.settle();
    EXPECT_EQ(rig.find<QLineEdit>(QStringLiteral("Quick progress note"))->text(), "not logged yet");
    EXPECT_EQ(rig.journal().logs().size(), 1);
}

TEST(FocusPage, StarsStopAtThreeAndRemovingAStarredTaskLowersTheCount)
{
    FocusRig rig;
    rig.open();
    for (const char *title : {"One", "Two", "Three", "Four"})
        rig.journal().addTask(QLatin1String(title));
    rig.settle();
    const QString star = QStringLiteral("Mark as one of today's top three");
    for (int i = 0; i < 4; ++i)
        rig.click(star, i);
    EXPECT_EQ(rig.journal().todayPage().priorityTaskIDs.size(), 3);
    EXPECT_EQ(rig.find<QLabel>(QStringLiteral("Priorities done"))->text(), "0/3 priorities");
    EXPECT_FALSE(rig.journal().todayPage().priorityTaskIDs.contains(rig.journal().tasks().last().id));

    rig.click(QStringLiteral("Toggle task"), 1);
    EXPECT_EQ(rig.find<QLabel>(QStringLiteral("Priorities done"))->text(), "1/3 priorities");
    rig.click(QStringLiteral("Remove task"), 0);
    EXPECT_EQ(rig.find<QLabel>(QStringLiteral("Priorities done"))->text(), "1/2 priorities");
    EXPECT_EQ(rig.journal().tasks().size(), 3);
}

TEST(FocusPage, FocusButtonsHideWhileASessionRunsAndForDoneTasks)
{
    FocusRig rig({QStringLiteral("focusMinutes=25")});
    rig.open();
    rig.journal().addTask(QStringLiteral("Write tests"));
    rig.journal().addTask(QStringLiteral("Ship it"));
    rig.journal().toggleTask(rig.journal().tasks().last().id);
    rig.settle();
    EXPECT_EQ(rig.count(QStringLiteral("Focus")), 1);

    rig.click(QStringLiteral("Focus"));
    EXPECT_TRUE(rig.session().isActive());
    EXPECT_EQ(rig.app->settings().focusGoal(), "Write tests");
    EXPECT_EQ(rig.find<QLabel>(QStringLiteral("Session goal"))->text(), "Write tests");
    EXPECT_EQ(rig.count(QStringLiteral("Focus")), 0);
    rig.session().stop(true);
    rig.settle();
    EXPECT_EQ(rig.count(QStringLiteral("Focus")), 1);
}

TEST(FocusPage, TheLogListsFourSessionsThenFiveNotesNewestFirst)
{
    FocusRig rig;
    FocusJournalStore &journal = rig.journal();
    for (int i = 1; i <= 5; ++i) {
        rig.clock->advance(std::chrono::minutes(30));
        const QDateTime end = rig.clock->now();
        journal.recordSession({QStringLiteral("Session %1").arg(i), end.addSecs(-600), end, 25, i % 2 == 0,
                               i == 5 ? std::optional<qint64>() : std::optional<qint64>(i * 60)});
    }
    for (int i = 1; i <= 6; ++i) {
        journal.addCheckIn(QStringLiteral("Note %1").arg(i), QString());
        rig.clock->advance(std::chrono::minutes(1));
    }
    rig.open();
    QStringList rows;
    for (QLabel *label : rig.page().findChildren<QLabel *>()) {
        if ((label->text().startsWith(QStringLiteral("Session ")) || label->text().startsWith(QStringLiteral("Note "))) &&
            label->isVisibleTo(&rig.page()))
            rows << label->text();
    }
    EXPECT_EQ(rows.join(u','), "Session 5,Session 4,Session 3,Session 2,Note 6,Note 5,Note 4,Note 3,Note 2");
    EXPECT_EQ(rig.find<QWidget>(QStringLiteral("Sessions"))->findChildren<QLabel *>().last()->text(), "5");
    EXPECT_EQ(rig.find<QWidget>(QStringLiteral("Check-ins"))->findChildren<QLabel *>().last()->text(), "6");
    EXPECT_EQ(rig.labelWith(QStringLiteral("1 min ago")), "1 min ago");
    EXPECT_EQ(rig.labelWith(QStringLiteral("10m")), "10m");
}

TEST(FocusPage, NotebookDraftsSurviveLeavingThePageButNotANewDay)
{
    FocusRig rig;
    rig.journal().saveTodayPage(QStringLiteral("Ship the release"), QStringLiteral("stored notes"));
    rig.open();
    QLineEdit *intention = rig.find<QLineEdit>(QStringLiteral("What matters most today?"));
    QPlainTextEdit *notes = rig.find<QPlainTextEdit>(QStringLiteral("Scratchpad"));
    EXPECT_EQ(intention->text(), "Ship the release");
    EXPECT_EQ(notes->toPlainText(), "stored notes");

    // Stored text changed elsewhere reaches untouched drafts when the page comes back.
    rig.journal().saveTodayPage(QStringLiteral("Ship it today"), QStringLiteral("stored notes"));
    rig.window().state().setPage(SettingsPage::sounds);
    rig.window().state().setPage(SettingsPage::focus);
    rig.settle();
    EXPECT_EQ(intention->text(), "Ship it today");

    notes->setPlainText(QStringLiteral("typed, not saved"));
    rig.window().state().setPage(SettingsPage::sounds);
    rig.window().close();
    rig.open();
    intention = rig.find<QLineEdit>(QStringLiteral("What matters most today?"));
    notes = rig.find<QPlainTextEdit>(QStringLiteral("Scratchpad"));
    EXPECT_EQ(notes->toPlainText(), "typed, not saved");
    EXPECT_EQ(rig.window().state().dailyNotesDraft, "typed, not saved");

    rig.clock->advance(std::chrono::hours(24));
    rig.window().state().setPage(SettingsPage::sounds);
    rig.window().state().setPage(SettingsPage::focus);
    rig.settle();
    EXPECT_EQ(intention->text(), "");
    EXPECT_EQ(notes->toPlainText(), "");
}

// The scratchpad's text goes in after the wrapping is chosen and the page's scroll bar has
// settled, so the first show lays it out once rather than again at a new wrapping or width.
TEST(FocusPage, TheScratchpadIsLaidOutOnceWhenThePageFirstShows)
{
    // One word long enough to wrap anywhere, short enough to need no scroll bar of its own.
    const QString notes(250, u'w');
    FocusRig rig;
    rig.journal().saveTodayPage(QString(), notes);
    rig.app->showControlPanel(SettingsPage::home);
    rig.settle();
    auto *editor = rig.find<QPlainTextEdit>(QStringLiteral("Scratchpad"));
    int layouts = 0;
    const auto count = [&] { layouts += editor->toPlainText() == notes; };
    QObject::connect(editor->document()->documentLayout(), &QAbstractTextDocumentLayout::update, count);
    QObject::connect(editor->document()->documentLayout(), &QAbstractTextDocumentLayout::updateBlock, count);

    rig.window().state().setPage(SettingsPage::focus);
    rig.settle();
    ASSERT_EQ(editor->toPlainText(), notes);
    ASSERT_TRUE(rig.window().pageView(SettingsPage::focus)->verticalScrollBar()->isVisible()) << "the page scrolls";
    EXPECT_FALSE(editor->verticalScrollBar()->isVisible());
    EXPECT_EQ(layouts, 1);
}

TEST(FocusPage, UnsavedDraftsOutliveARestartWithoutBecomingSavedText)
{
    FocusRig rig;
    rig.journal().saveTodayPage(QStringLiteral("Ship the release"), QStringLiteral("stored notes"));
    rig.open();
    rig.type(rig.find<QLineEdit>(QStringLiteral("What matters most today?")), QStringLiteral("Ship the docs"));
    rig.find<QPlainTextEdit>(QStringLiteral("Scratchpad"))->setPlainText(QStringLiteral("typed, not saved"));
    rig.type(rig.find<QLineEdit>(QStringLiteral("Add one clear next step")), QStringLiteral("Write tests"));
    rig.window().state().reflectionDraft = QStringLiteral("half a thought");

    rig.restart();
    rig.open();
    EXPECT_EQ(rig.find<QLineEdit>(QStringLiteral("What matters most today?"))->text(), "Ship the docs");
    EXPECT_EQ(rig.find<QPlainTextEdit>(QStringLiteral("Scratchpad"))->toPlainText(), "typed, not saved");
    EXPECT_EQ(rig.find<QLineEdit>(QStringLiteral("Add one clear next step"))->text(), "Write tests");
    EXPECT_EQ(rig.window().state().reflectionDraft, "half a thought");
    EXPECT_EQ(rig.journal().todayPage().intention, "Ship the release") << "only Save page saves";
    EXPECT_EQ(rig.journal().todayPage().notes, "stored notes");
    EXPECT_TRUE(rig.journal().tasks().isEmpty());

    // Saved, the notebook holds no draft: the stored page shows after the next start. Edits
    // of a day that has passed give way to the new day's page; the task draft stays.
    rig.click(QStringLiteral("Save page"));
    EXPECT_EQ(rig.journal().todayPage().intention, "Ship the docs");
    rig.type(rig.find<QLineEdit>(QStringLiteral("What matters most today?")), QStringLiteral("Later idea"));
    rig.restart();
    rig.clock->advance(std::chrono::hours(24));
    rig.open();
    EXPECT_EQ(rig.find<QLineEdit>(QStringLiteral("What matters most today?"))->text(), "");
    EXPECT_EQ(rig.find<QLineEdit>(QStringLiteral("Add one clear next step"))->text(), "Write tests");
}

// Each draft on its own is kept across a restart, and emptied it is forgotten: a later
// start shows nothing of it, not the text of the start before.
TEST(FocusPage, EachDraftAloneIsKeptAcrossARestartAndForgottenOnceEmptied)
{
    struct Field {
        const char *name;
        std::function<void(FocusRig &, const QString &)> set;
        std::function<QString(FocusRig &)> shown;
        QString untouched;
    };
    const auto line = [](const char *name) {
        return std::pair<std::function<void(FocusRig &, const QString &)>, std::function<QString(FocusRig &)>>{
            [name](FocusRig &rig, const QString &text) { rig.type(rig.find<QLineEdit>(QString::fromLatin1(name)), text); },
            [name](FocusRig &rig) { return rig.find<QLineEdit>(QString::fromLatin1(name))->text(); }};
    };
    const auto [setTask, task] = line("Add one clear next step");
    const auto [setIntention, intention] = line("What matters most today?");
    const std::vector<Field> fields{
        {"task", setTask, task, QString()},
        {"intention", setIntention, intention, QStringLiteral("stored intention")},
        {"notes",
         [](FocusRig &rig, const QString &text) {
             rig.find<QPlainTextEdit>(QStringLiteral("Scratchpad"))->setPlainText(text);
             rig.settle();
         },
         [](FocusRig &rig) { return rig.find<QPlainTextEdit>(QStringLiteral("Scratchpad"))->toPlainText(); },
         QStringLiteral("stored notes")},
        {"reflection", [](FocusRig &rig, const QString &text) { rig.window().state().reflectionDraft = text; },
         [](FocusRig &rig) { return rig.window().state().reflectionDraft; }, QString()},
    };
    for (const Field &field : fields) {
        SCOPED_TRACE(field.name);
        FocusRig rig;
        rig.journal().saveTodayPage(QStringLiteral("stored intention"), QStringLiteral("stored notes"));
        rig.open();
        field.set(rig, QStringLiteral("only this"));
        rig.restart();
        rig.open();
        EXPECT_EQ(field.shown(rig), "only this");
        for (const Field &other : fields) {
            if (&other != &field) {
                EXPECT_EQ(other.shown(rig), other.untouched) << other.name;
            }
        }

        // Put back as it was: no draft is left, and the restart after next still shows none.
        field.set(rig, field.untouched);
        rig.restart();
        EXPECT_TRUE(rig.journal().drafts().isEmpty());
        rig.open();
        rig.restart();
        rig.open();
        EXPECT_EQ(field.shown(rig), field.untouched);
        EXPECT_EQ(rig.journal().todayPage().intention, "stored intention");
        EXPECT_EQ(rig.journal().todayPage().notes, "stored notes");
    }
}

TEST(FocusPage, AppGuardTogglesOpenAppsAndListsAllowedOnesThatAreClosed)
{
    FocusRig rig({QStringLiteral("focusAllowedBundleIDs=org.example.Mail")});
    rig.workspace->running = {{QStringLiteral("org.example.Editor"), QStringLiteral("Editor")}};
    rig.workspace->installed = {{QStringLiteral("org.example.Mail"), QStringLiteral("Mail")}};
    rig.workspace->frontmost = WorkspaceApplication{QStringLiteral("org.example.Chat"), QStringLiteral("Chat")};
    rig.open();
    EXPECT_EQ(rig.find<QLabel>(QStringLiteral("Allowed apps"))->text(), "1 allowed");
    EXPECT_EQ(rig.count(QStringLiteral("Remove Mail")), 1);

    rig.click(QStringLiteral("Allow Chat"));
    EXPECT_EQ(rig.count(QStringLiteral("Allow Chat")), 0);
    rig.click(QStringLiteral("Choose from open apps"));
    EXPECT_TRUE(rig.window().state().appChoicesExpanded);
    auto *tile = rig.find<SelectableTile>(QStringLiteral("Editor"));
    tile->click();
    rig.settle();
    EXPECT_TRUE(tile->isSelected());
    EXPECT_EQ(rig.find<QLabel>(QStringLiteral("Allowed apps"))->text(), "3 allowed");
    tile->click();
    rig.settle();
    EXPECT_FALSE(tile->isSelected());

    // A running session's ticks redraw the page every second without new lookups.
    rig.app->startFocusSession();
    rig.settle();
    const int lookups = rig.workspace->installedLookups;
    for (int second = 0; second < 5; ++second) {
        rig.scheduler->advance(std::chrono::seconds(1));
        rig.settle();
    }
    EXPECT_EQ(rig.workspace->installedLookups, lookups);

    rig.click(QStringLiteral("Remove Mail"));
    EXPECT_EQ(rig.app->settings().focusAllowedBundleIDs(), QStringList{QStringLiteral("org.example.Chat")});
    EXPECT_EQ(rig.count(QStringLiteral("Remove Mail")), 0);
}

TEST(FocusPage, RelativeDatesCountWholeUnits)
{
    const QDateTime now(QDate(2026, 3, 14), QTime(10, 0));
    const struct {
        qint64 secondsAgo;
        const char *text;
    } cases[] = {
        {0, "just now"},         {59, "just now"},        {60, "1 min ago"},        {3'599, "59 min ago"},
        {3'600, "1 hr ago"},     {86'399, "23 hr ago"},   {86'400, "1 day ago"},    {2 * 86'400, "2 days ago"},
        {7 * 86'400, "1 wk ago"}, {40 * 86'400, "1 mo ago"}, {400 * 86'400, "1 yr ago"}, {-300, "in 5 min"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(RelativeDate::text(now.addSecs(-c.secondsAgo), now), c.text) << c.secondsAgo;
}

TEST(FocusPage, ARecordCountsItsFocusedSecondsOrItsSpanNeverBelowZero)
{
    const QDateTime start(QDate(2026, 3, 14), QTime(9, 0));
    const struct {
        qint64 spanMs;
        std::optional<qint64> active;
        qint64 expected;
    } cases[] = {{90'900, std::nullopt, 90}, {-5'000, std::nullopt, 0}, {600'000, 420, 420}, {600'000, -3, 0}};
    for (const auto &c : cases) {
        FocusSessionRecord record;
        record.startedAt = start;
        record.endedAt = start.addMSecs(c.spanMs);
        record.activeSeconds = c.active;
        EXPECT_EQ(record.lengthSeconds(), c.expected) << c.spanMs;
    }
}

TEST(FocusPage, TheCardOffersPauseOrResumeWhicheverWayTheSessionChanges)
{
    FocusRig rig;
    rig.open();
    const auto offered = [&rig] {
        return QStringLiteral("%1%2").arg(rig.count(QStringLiteral("Pause Session"))).arg(rig.count(QStringLiteral("Resume Session")));
    };
    const struct {
        const char *step;
        std::function<void()> act;
        const char *expected;
    } steps[] = {
        {"start", [&] { rig.app->startFocusSession(); }, "10"},
        {"pause button", [&] { rig.click(QStringLiteral("Pause Session")); }, "01"},
        {"resume button", [&] { rig.click(QStringLiteral("Resume Session")); }, "10"},
        {"paused elsewhere", [&] { rig.session().pause(); }, "01"},
        {"ticking while paused", [&] { rig.scheduler->advance(std::chrono::seconds(3)); }, "01"},
        {"started over while paused", [&] { rig.app->startFocusSession(); }, "10"},
        {"resumed elsewhere", [&] { rig.session().pause(); rig.settle(); rig.session().resume(); }, "10"},
    };
    for (const auto &step : steps) {
        step.act();
        rig.settle();
        EXPECT_EQ(offered(), QLatin1String(step.expected)) << step.step;
    }
}

TEST(FocusPage, ALoggedNoteAndASavedReflectionAreNotOfferedAgain)
{
    FocusRig rig;
    rig.open();
    rig.app->startFocusSession();
    rig.settle();
    rig.type(rig.find<QLineEdit>(QStringLiteral("Quick progress note")), QStringLiteral("outline done"));
    rig.click(QStringLiteral("Log"));
    // The running card redraws every second.
    rig.scheduler->advance(std::chrono::seconds(1));
    rig.settle();
    EXPECT_EQ(rig.find<QLineEdit>(QStringLiteral("Quick progress note"))->text(), "");
    EXPECT_FALSE(rig.find(QStringLiteral("Log"))->isEnabled());

    rig.click(QStringLiteral("End Session"));
    rig.find<QPlainTextEdit>(QStringLiteral("Reflection"))->setPlainText(QStringLiteral("Went well"));
    rig.click(QStringLiteral("Save reflection"));
    EXPECT_EQ(rig.journal().records().first().reflection, "Went well");

    rig.app->startFocusSession();
    rig.settle();
    rig.click(QStringLiteral("End Session"));
    ASSERT_EQ(rig.journal().records().size(), 2);
    EXPECT_EQ(rig.find<QPlainTextEdit>(QStringLiteral("Reflection"))->toPlainText(), "");
    EXPECT_FALSE(rig.find(QStringLiteral("Save reflection"))->isEnabled());
}

TEST(FocusPage, LongWritingWrapsInItsColumnAndPushesNoControlOffTheWindow)
{
    const QString word(200'000, u'w');
    const QString prose = QStringLiteral("long words wrap ").repeated(12'500);
    FocusRig rig;
    FocusJournalStore &journal = rig.journal();
    for (const QString &text : {word, prose}) {
        journal.addTask(text);
        journal.addCheckIn(text, text);
        journal.saveSetup(text + QString::number(text.size()), 25, {});
        journal.saveReflection(text, journal.recordSession({text, journal.now().addSecs(-600), journal.now(), 10, true, 600}));
    }
    journal.recordSession({word, journal.now().addSecs(-60), journal.now(), 10, false, 60});
    journal.saveTodayPage(prose, word);
    rig.app->settings().setFocusGoal(word);
    rig.open();

    const auto controlsOutside = [&rig] {
        QWidget &window = rig.window();
        QStringList outside;
        for (QWidget *control : rig.page().findChildren<QWidget *>()) {
            const bool isControl = qobject_cast<QAbstractButton *>(control) || qobject_cast<QLineEdit *>(control)
                || qobject_cast<QPlainTextEdit *>(control);
            if (isControl && control->isVisibleTo(&window)
                && control->mapTo(&window, QPoint(control->width(), 0)).x() > window.width())
                outside << control->accessibleName();
        }
        return outside;
    };
    EXPECT_EQ(controlsOutside(), QStringList()) << "with the form and the wrap-up shown";
    EXPECT_TRUE(rig.labelWith(QStringLiteral("wwww")).endsWith(QChar(0x2026))) << "a shortened entry says so";

    rig.click(QStringLiteral("Start 25-minute session"));
    EXPECT_EQ(controlsOutside(), QStringList()) << "with a session running";
}
