#include "Focus/FocusJournalFixture.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

#include <limits>

#include <functional>

namespace {
FocusSessionResult session(const QDateTime &startedAt, qint64 lengthMs, std::optional<qint64> activeSeconds,
                           const QString &goal = QStringLiteral("Write"))
{
    return {goal, startedAt, startedAt.addMSecs(lengthMs), 25, true, activeSeconds};
}

QStringList titles(const QList<FocusTask> &tasks)
{
    QStringList result;
    for (const FocusTask &task : tasks)
        result.append(task.title);
    return result;
}
}

TEST(FocusJournalStore, EveryListKeepsItsNewestEntriesUpToItsCap)
{
    struct Case {
        const char *name;
        qsizetype cap;
        std::function<void(FocusJournalFixture &, int)> add;
        std::function<QStringList(const FocusJournalStore &)> contents;
        QString key;
    };
    const Case cases[] = {
        {"records", 100,
         [](FocusJournalFixture &j, int i) {
             j.store->recordSession(session(j.clock.now(), 60'000, 60, QString::number(i)));
         },
         [](const FocusJournalStore &s) {
             QStringList goals;
             for (const auto &record : s.records())
                 goals.append(record.goal);
             return goals;
         },
         QStringLiteral("focusRecordsV1")},
        {"check-ins", 200, [](FocusJournalFixture &j, int i) { j.store->addCheckIn(QString::number(i), QString()); },
         [](const FocusJournalStore &s) {
             QStringList texts;
             for (const auto &entry : s.logs())
                 texts.append(entry.text);
             return texts;
         },
         QStringLiteral("focusLogsV1")},
        {"daily pages", 120,
         [](FocusJournalFixture &j, int i) {
             j.clock.setNow(QDateTime(QDate(2025, 1, 1).addDays(i), QTime(12, 0)));
             j.store->saveTodayPage(QString::number(i), QString());
         },
         [](const FocusJournalStore &s) {
             QStringList intentions;
             for (const auto &page : s.dailyPages())
                 intentions.append(page.intention);
             return intentions;
         },
         QStringLiteral("focusDailyPagesV1")},
        {"setups", 8, [](FocusJournalFixture &j, int i) { j.store->saveSetup(QString::number(i), 25, {}); },
         [](const FocusJournalStore &s) {
             QStringList goals;
             for (const auto &setup : s.savedSetups())
                 goals.append(setup.goal);
             return goals;
         },
         QStringLiteral("focusSetupsV1")},
    };
    for (const Case &c : cases) {
        FocusJournalFixture journal;
        journal.open();
        for (int i = 0; i <= c.cap; ++i)
            c.add(journal, i);
        const QStringList contents = c.contents(*journal.store);
        ASSERT_EQ(contents.size(), c.cap) << c.name;
        EXPECT_EQ(contents.front(), QString::number(c.cap)) << c.name << ": newest first";
        EXPECT_EQ(contents.back(), QStringLiteral("1")) << c.name << ": the oldest is dropped";
        EXPECT_EQ(c.contents(journal.reopen()), contents) << c.name << ": the trimmed list is what is stored";
    }
}

TEST(FocusJournalStore, RecordSessionAddsAnUnreflectedRecordInFront)
{
    FocusJournalFixture journal;
    FocusJournalStore &store = journal.open();
    QSignalSpy recordsChanged(&store, &FocusJournalStore::recordsChanged);
    QSignalSpy changed(&store, &FocusJournalStore::changed);
    store.recordSession(session(journal.clock.now(), 1000, std::nullopt, QStringLiteral("old")));
    const FocusSessionResult result = session(journal.clock.now(), 90'000, 80, QStringLiteral("new"));
    const QUuid id = store.recordSession(result);

    ASSERT_EQ(store.records().size(), 2);
    const FocusSessionRecord &record = store.records()[0];
    EXPECT_EQ(record, (FocusSessionRecord{id, result.goal, result.startedAt, result.endedAt, result.plannedMinutes,
                                          result.completed, QString(), 80}));
    EXPECT_FALSE(id.isNull());
    EXPECT_NE(store.records()[1].id, id);
    EXPECT_EQ(recordsChanged.count(), 2);
    EXPECT_EQ(changed.count(), 2);
}

TEST(FocusJournalStore, ReflectionIsTrimmedAndUnknownRecordsWriteNothing)
{
    FocusJournalFixture journal;
    FocusJournalStore &store = journal.open();
    store.saveReflection(QStringLiteral("lost"), QUuid::createUuid());
    EXPECT_FALSE(journal.defaults->contains("focusRecordsV1"));

    const QUuid id = store.recordSession(session(journal.clock.now(), 1000, 1));
    store.saveReflection(QStringLiteral(" \n Calm,  steady \t"), id);
    EXPECT_EQ(store.records()[0].reflection, QStringLiteral("Calm,  steady"));
    store.saveReflection(QStringLiteral("   "), id);
    EXPECT_EQ(journal.reopen().records()[0].reflection, QString());
}

TEST(FocusJournalStore, TasksAreTrimmedKeptInOrderAndBlankTitlesRefused)
{
    FocusJournalFixture journal;
    FocusJournalStore &store = journal.open();
    QSignalSpy tasksChanged(&store, &FocusJournalStore::tasksChanged);
    store.addTask(QStringLiteral("   "));
    store.addTask(QStringLiteral("\n\t"));
    EXPECT_EQ(tasksChanged.count(), 0);
    EXPECT_FALSE(journal.defaults->contains("focusTasksV1"));

    store.addTask(QStringLiteral("  Write  the intro \n"));
    journal.clock.advance(std::chrono::minutes(1));
    store.addTask(QStringLiteral("Second"));
    EXPECT_EQ(titles(store.tasks()), (QStringList{QStringLiteral("Write  the intro"), QStringLiteral("Second")}));
    EXPECT_FALSE(store.tasks()[0].isComplete);
    EXPECT_EQ(store.tasks()[1].createdAt, journal.clock.now());

    store.toggleTask(store.tasks()[1].id);
    store.toggleTask(QUuid::createUuid());
    EXPECT_EQ(tasksChanged.count(), 3);
    EXPECT_TRUE(journal.reopen().tasks()[1].isComplete);
    EXPECT_FALSE(journal.store->tasks()[0].isComplete);
}

TEST(FocusJournalStore, TodayPrioritiesHoldThreeTasksInChosenOrder)
{
    FocusJournalFixture journal;
    FocusJournalStore &store = journal.open();
    for (const char *title : {"a", "b", "c", "d"})
        store.addTask(QString::fromLatin1(title));
    const auto id = [&](int i) { return store.tasks()[i].id; };

    store.toggleTodayPriority(QUuid::createUuid());
    EXPECT_FALSE(journal.defaults->contains("focusDailyPagesV1")) << "an unknown task writes nothing";
    EXPECT_TRUE(store.dailyPages().isEmpty());
    EXPECT_EQ(store.todayPage(), (FocusDailyPage{QStringLiteral("2026-03-14"), {}, {}, {}}));

    store.toggleTodayPriority(id(2));
    store.toggleTodayPriority(id(0));
    store.toggleTodayPriority(id(1));
    EXPECT_EQ(store.todayPage().priorityTaskIDs, (QList<QUuid>{id(2), id(0), id(1)}));

    QSignalSpy pagesChanged(&store, &FocusJournalStore::dailyPagesChanged);
    store.toggleTodayPriority(id(3));
    EXPECT_EQ(pagesChanged.count(), 1) << "a fourth choice still writes the page";
    EXPECT_EQ(store.todayPage().priorityTaskIDs, (QList<QUuid>{id(2), id(0), id(1)}));

    store.toggleTodayPriority(id(0));
    store.toggleTodayPriority(id(3));
    EXPECT_EQ(titles(store.todayPriorityTasks()), (QStringList{"c", "b", "d"}));
    store.toggleTask(id(1));
    EXPECT_EQ(store.todayPriorityTasks().size(), 3) << "completed tasks stay listed";
    EXPECT_EQ(store.dailyPages().size(), 1);
}

TEST(FocusJournalStore, NewDaysGoInFrontAndTodayPageKeepsItsPlace)
{
    FocusJournalFixture journal;
    FocusJournalStore &store = journal.open();
    store.addTask(QStringLiteral("a"));
    journal.clock.setNow(QDateTime(QDate(2026, 1, 9), QTime(23, 59, 59)));
    store.saveTodayPage(QStringLiteral(" Ship it "), QStringLiteral("\nnotes\n"));
    journal.clock.setNow(QDateTime(QDate(2026, 1, 10), QTime(0, 0)));
    store.toggleTodayPriority(store.tasks()[0].id);
    ASSERT_EQ(store.dailyPages().size(), 2);
    EXPECT_EQ(store.dailyPages()[0].id, QStringLiteral("2026-01-10"));
    EXPECT_EQ(store.dailyPages()[1], (FocusDailyPage{QStringLiteral("2026-01-09"), QStringLiteral("Ship it"),
                                                     QStringLiteral("notes"), {}}));

    journal.clock.setNow(QDateTime(QDate(2026, 1, 9), QTime(8, 0)));
    store.toggleTodayPriority(store.tasks()[0].id);
    store.saveTodayPage(QStringLiteral("  "), QString());
    EXPECT_EQ(store.dailyPages()[1], (FocusDailyPage{QStringLiteral("2026-01-09"), QString(), QString(),
                                                     {store.tasks()[0].id}}))
        << "replaced in place, priorities kept";
}

TEST(FocusJournalStore, RemovingATaskClearsItFromEveryDaysPriorities)
{
    FocusJournalFixture journal;
    FocusJournalStore &store = journal.open();
    store.addTask(QStringLiteral("keep"));
    store.addTask(QStringLiteral("drop"));
    const QUuid keep = store.tasks()[0].id;
    const QUuid drop = store.tasks()[1].id;
    for (int day = 1; day <= 3; ++day) {
        journal.clock.setNow(QDateTime(QDate(2026, 2, day), QTime(9, 0)));
        store.toggleTodayPriority(drop);
        store.toggleTodayPriority(keep);
    }
    QSignalSpy tasksChanged(&store, &FocusJournalStore::tasksChanged);
    QSignalSpy pagesChanged(&store, &FocusJournalStore::dailyPagesChanged);
    store.removeTask(drop);
    EXPECT_EQ(titles(store.tasks()), QStringList{"keep"});
    for (const FocusDailyPage &page : journal.reopen().dailyPages())
        EXPECT_EQ(page.priorityTaskIDs, QList<QUuid>{keep}) << page.id.toStdString();
    EXPECT_EQ(tasksChanged.count(), 1);
    EXPECT_EQ(pagesChanged.count(), 1);

    journal.store->removeTask(QUuid::createUuid());
    EXPECT_EQ(journal.store->tasks().size(), 1);
    EXPECT_EQ(journal.store->dailyPages().size(), 3);
}

TEST(FocusJournalStore, CheckInsAreTrimmedButTheirGoalIsKeptAsGiven)
{
    FocusJournalFixture journal;
    FocusJournalStore &store = journal.open();
    store.addCheckIn(QStringLiteral(" \n "), QStringLiteral("goal"));
    EXPECT_FALSE(journal.defaults->contains("focusLogsV1"));
    store.addCheckIn(QStringLiteral("  stuck on tests \n"), QStringLiteral("  Ship  "));
    ASSERT_EQ(store.logs().size(), 1);
    EXPECT_EQ(store.logs()[0].text, QStringLiteral("stuck on tests"));
    EXPECT_EQ(store.logs()[0].goal, QStringLiteral("  Ship  "));
    EXPECT_EQ(store.logs()[0].date, journal.clock.now());
}

TEST(FocusJournalStore, SetupsMatchGoalsIgnoringCaseAndCleanTheirFields)
{
    FocusJournalFixture journal;
    FocusJournalStore &store = journal.open();
    store.saveSetup(QStringLiteral("   "), 25, {});
    EXPECT_FALSE(journal.defaults->contains("focusSetupsV1"));

    store.saveSetup(QStringLiteral("Deep Work"), 0, {"org.b", "", "org.a", "org.b", " org.c"});
    store.saveSetup(QStringLiteral("Email"), 500, {});
    ASSERT_EQ(store.savedSetups().size(), 2);
    const FocusSetup deep = store.savedSetups()[1];
    EXPECT_EQ(deep.minutes, 1);
    EXPECT_EQ(deep.allowedBundleIDs, (QStringList{" org.c", "org.a", "org.b"}));
    EXPECT_EQ(store.savedSetups()[0].minutes, 180);

    store.saveSetup(QStringLiteral("  deep work "), 50, {"org.z"});
    ASSERT_EQ(store.savedSetups().size(), 2);
    EXPECT_EQ(store.savedSetups()[0], (FocusSetup{deep.id, QStringLiteral("deep work"), 50, {"org.z"}}));
    EXPECT_EQ(store.savedSetups()[1].goal, QStringLiteral("Email"));

    store.saveSetup(QStringLiteral("D\u00E9ep work"), 30, {});
    EXPECT_EQ(store.savedSetups().size(), 3) << "accents still tell goals apart";

    store.removeSetup(deep.id);
    store.removeSetup(QUuid::createUuid());
    EXPECT_EQ(journal.reopen().savedSetups().size(), 2);
}

TEST(FocusJournalStore, TodayFocusedSecondsCountsSessionsThatStartedToday)
{
    const QDateTime midnight(QDate(2026, 3, 14), QTime(0, 0));
    struct Case {
        const char *name;
        QDateTime startedAt;
        qint64 lengthMs;
        std::optional<qint64> activeSeconds;
        qint64 counted;
    };
    const Case cases[] = {
        {"active seconds win over the span", midnight.addSecs(3600), 1'500'000, 1200, 1200},
        {"span without active seconds, fraction cut", midnight.addSecs(7200), 90'900, std::nullopt, 90},
        {"started at midnight", midnight, 60'000, std::nullopt, 60},
        {"started yesterday, ended today", midnight.addSecs(-60), 600'000, 600, 0},
        {"started just before tomorrow", midnight.addSecs(86'399), 1000, 1, 1},
        {"started tomorrow", midnight.addDays(1), 60'000, 60, 0},
        {"ended before it started", midnight.addSecs(60), -30'000, std::nullopt, 0},
        {"negative active seconds", midnight.addSecs(60), 30'000, -30, 0},
    };
    FocusJournalFixture journal;
    FocusJournalStore &store = journal.open();
    journal.clock.setNow(midnight.addSecs(12 * 3600));
    qint64 expected = 0;
    for (const Case &c : cases) {
        store.recordSession(session(c.startedAt, c.lengthMs, c.activeSeconds));
        expected += c.counted;
        EXPECT_EQ(store.todayFocusedSeconds(), expected) << c.name;
    }
    journal.clock.setNow(midnight.addDays(1));
    EXPECT_EQ(store.todayFocusedSeconds(), 60) << "after midnight only the new day counts";

    constexpr qint64 most = std::numeric_limits<qint64>::max();
    store.recordSession(session(midnight.addDays(1), 1000, most - 10));
    store.recordSession(session(midnight.addDays(1), 1000, most - 10));
    EXPECT_EQ(store.todayFocusedSeconds(), most) << "damaged counts saturate instead of wrapping";
}

TEST(FocusJournalStore, DamagedListIsBackedUpBeforeItIsReplaced)
{
    FocusJournalFixture journal;
    const QByteArray damaged = R"([{"id":"E621E1F8-C36C-495A-93FC-0C247A3E6E5F","date":72576)";
    journal.defaults->setValue("focusLogsV1", damaged);
    FocusJournalStore &store = journal.open();
    store.addTask(QStringLiteral("unrelated"));
    EXPECT_FALSE(journal.defaults->contains("focusLogsV1.unreadable")) << "other lists do not touch it";
    EXPECT_EQ(journal.stored("focusLogsV1"), damaged);

    store.addCheckIn(QStringLiteral("first"), QString());
    store.addCheckIn(QStringLiteral("second"), QString());
    EXPECT_EQ(journal.reopen().logs().size(), 2);
    EXPECT_EQ(journal.stored("focusLogsV1.unreadable"), damaged);

    // Damaged again later: the earlier backup stays and the new one gets the next name.
    const QByteArray damagedAgain = "not json";
    journal.defaults->setValue("focusLogsV1", damagedAgain);
    journal.reopen().addCheckIn(QStringLiteral("third"), QString());
    EXPECT_EQ(journal.stored("focusLogsV1.unreadable"), damaged);
    EXPECT_EQ(journal.stored("focusLogsV1.unreadable.2"), damagedAgain);

    journal.defaults->setValue("focusLogsV1", damaged);
    journal.reopen().addCheckIn(QStringLiteral("fourth"), QString());
    EXPECT_FALSE(journal.defaults->contains("focusLogsV1.unreadable.3")) << "the same value is kept once";
    ASSERT_EQ(journal.store->logs().size(), 1);
    EXPECT_EQ(journal.store->logs()[0].text, QStringLiteral("fourth"));
}

TEST(FocusJournalStore, AValueQtCannotDecodeIsBackedUpAsItsText)
{
    FocusJournalFixture journal;
    const QByteArray undecodable = R"(@Variant(\0\0\0\x7f))";
    journal.defaults.reset();
    QFile file(journal.folder.filePath("defaults.ini"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[General]\nfocusSetupsV1=" + undecodable + "\n");
    file.close();
    journal.defaults = std::make_unique<UserDefaults>(file.fileName());

    FocusJournalStore &store = journal.open();
    EXPECT_TRUE(store.savedSetups().isEmpty());
    store.saveSetup(QStringLiteral("Write"), 25, {});
    EXPECT_EQ(journal.reopen().savedSetups().size(), 1);
    EXPECT_EQ(journal.stored("focusSetupsV1.unreadable"), undecodable);
    journal.store->saveSetup(QStringLiteral("Read"), 25, {});
    EXPECT_EQ(journal.stored("focusSetupsV1.unreadable"), undecodable) << "a readable list needs no backup";
}
