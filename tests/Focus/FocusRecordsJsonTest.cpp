#include "Focus/FocusJournalFixture.h"

#include <QTimeZone>

#include <gtest/gtest.h>

namespace {
const QByteArray firstID = "E621E1F8-C36C-495A-93FC-0C247A3E6E5F";
const QByteArray secondID = "0F8FAD5B-D9CB-469F-A165-70867728950E";

QDateTime utc(qint64 msecsSince2001)
{
    return QDateTime::fromMSecsSinceEpoch(978307200000 + msecsSince2001, QTimeZone::utc());
}
}

TEST(FocusRecordsJson, ReadsEveryListFromHandWrittenBytes)
{
    FocusJournalFixture journal;
    journal.defaults->setValue("focusTasksV1", QByteArray(R"([{"id":")" + firstID +
                                                          R"(","title":"Draft \"intro\"","isComplete":true,"createdAt":725760000}])"));
    journal.defaults->setValue("focusLogsV1", QByteArray(R"([{"text":"Half way","goal":"","date":725760000.5,"id":")" +
                                                         firstID.toLower() + R"(","mood":"ok"}])"));
    journal.defaults->setValue(
        "focusRecordsV1",
        QByteArray(R"([{"id":")" + firstID + R"(","goal":"Write","startedAt":725760000.5,"endedAt":725761500,)"
                   R"("plannedMinutes":25,"completed":true,"reflection":"ok","activeSeconds":1200},)"
                   R"({"id":")" + secondID + R"(","goal":"","startedAt":-1.25,"endedAt":0,)"
                   R"("plannedMinutes":180,"completed":false,"reflection":"","activeSeconds":null}])"));
    journal.defaults->setValue("focusDailyPagesV1", QByteArray(R"([{"id":"2024-01-01","intention":"Ship",)"
                                                               R"("notes":"\u00e9\n","priorityTaskIDs":[")" +
                                                               firstID + R"("]}])"));
    journal.defaults->setValue("focusSetupsV1", QByteArray(R"([{"id":")" + secondID + R"(","goal":"Deep work",)"
                                                           R"("minutes":50,"allowedBundleIDs":["org.kde.kate"]}])"));
    FocusJournalStore &store = journal.open();

    const QUuid first = QUuid::fromString(QLatin1StringView(firstID));
    const QUuid second = QUuid::fromString(QLatin1StringView(secondID));
    ASSERT_EQ(store.tasks().size(), 1);
    EXPECT_EQ(store.tasks()[0], (FocusTask{first, QStringLiteral("Draft \"intro\""), true, utc(725760000000)}));
    EXPECT_EQ(store.tasks()[0].createdAt, QDateTime(QDate(2024, 1, 1), QTime(0, 0), QTimeZone::utc()));
    ASSERT_EQ(store.logs().size(), 1);
    EXPECT_EQ(store.logs()[0], (FocusLogEntry{first, utc(725760000500), QString(), QStringLiteral("Half way")}));
    ASSERT_EQ(store.records().size(), 2);
    EXPECT_EQ(store.records()[0], (FocusSessionRecord{first, QStringLiteral("Write"), utc(725760000500),
                                                      utc(725761500000), 25, true, QStringLiteral("ok"), 1200}));
    EXPECT_EQ(store.records()[1], (FocusSessionRecord{second, QString(), utc(-1250), utc(0), 180, false, QString(),
                                                      std::nullopt}));
    ASSERT_EQ(store.dailyPages().size(), 1);
    EXPECT_EQ(store.dailyPages()[0], (FocusDailyPage{QStringLiteral("2024-01-01"), QStringLiteral("Ship"),
                                                     QStringLiteral("\u00e9\n"), {first}}));
    ASSERT_EQ(store.savedSetups().size(), 1);
    EXPECT_EQ(store.savedSetups()[0],
              (FocusSetup{second, QStringLiteral("Deep work"), 50, {QStringLiteral("org.kde.kate")}}));
}

TEST(FocusRecordsJson, WritesCompactObjectsWithKeysInOrder)
{
    FocusJournalFixture journal;
    journal.defaults->setValue(
        "focusRecordsV1",
        QByteArray(R"([{"activeSeconds":null,"reflection":"","completed":false,"plannedMinutes":25,)"
                   R"("endedAt":725761500,"startedAt":725760000.5,"goal":"a/b \"c\"\t","id":")" +
                   firstID.toLower() + R"("}])"));
    FocusJournalStore &store = journal.open();
    store.saveReflection(QStringLiteral("  Good run\n"), QUuid::fromString(QLatin1StringView(firstID)));
    EXPECT_EQ(journal.stored("focusRecordsV1"),
              R"([{"id":")" + firstID + R"(","goal":"a/b \"c\"\t","startedAt":725760000.5,"endedAt":725761500,)"
                                        R"("plannedMinutes":25,"completed":false,"reflection":"Good run"}])");

    journal.clock.setNow(utc(725760000250));
    store.addTask(QStringLiteral("Plan \U0001F42C"));
    const FocusTask task = store.tasks()[0];
    EXPECT_EQ(journal.stored("focusTasksV1"),
              R"([{"id":")" + task.id.toString(QUuid::WithoutBraces).toUpper().toLatin1() +
                  R"(","title":"Plan )" + QStringLiteral("\U0001F42C").toUtf8() +
                  R"(","isComplete":false,"createdAt":725760000.25}])");
}

TEST(FocusRecordsJson, ADamagedValueLosesNothingReadable)
{
    const QByteArray first = R"({"id":")" + firstID + R"(","title":"A","isComplete":false,"createdAt":1})";
    const QByteArray second = R"({"id":")" + secondID + R"(","title":"B","isComplete":true,"createdAt":2})";
    const auto around = [&](const QByteArray &damaged) { return QByteArray("[" + first + "," + damaged + "," + second + "]"); };
    struct Case {
        const char *name;
        QVariant stored;
        qsizetype readable;
    };
    const Case cases[] = {
        {"not JSON", QByteArray("[{\"id\":"), 0},
        {"an object, not an array", QByteArray(first), 0},
        {"text instead of data", QString::fromLatin1("[" + first + "]"), 0},
        {"an element that is not an object", around("3"), 2},
        {"a missing key", around(R"({"id":")" + secondID + R"(","isComplete":false,"createdAt":1})"), 2},
        {"a null required value", around(R"({"id":")" + secondID + R"(","title":null,"isComplete":false,"createdAt":1})"), 2},
        {"a number for a bool", around(R"({"id":")" + secondID + R"(","title":"A","isComplete":0,"createdAt":1})"), 2},
        {"a string for a date", around(R"({"id":")" + secondID + R"(","title":"A","isComplete":false,"createdAt":"1"})"), 2},
        {"a malformed identifier", around(R"({"id":"E621E1F8C36C495A93FC0C247A3E6E5F","title":"A","isComplete":false,"createdAt":1})"), 2},
        {"a braced identifier", around(R"({"id":"{)" + firstID + R"(}","title":"A","isComplete":false,"createdAt":1})"), 2},
        {"an absurd date", around(R"({"id":")" + firstID + R"(","title":"A","isComplete":false,"createdAt":1e300})"), 2},
        {"a far-future date", around(R"({"id":")" + firstID + R"(","title":"A","isComplete":false,"createdAt":1e13})"), 2},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        FocusJournalFixture journal;
        journal.defaults->setValue("focusTasksV1", c.stored);
        journal.defaults->setValue("focusSetupsV1", QByteArray(R"([{"id":")" + secondID +
                                                               R"(","goal":"G","minutes":5,"allowedBundleIDs":[]}])"));
        FocusJournalStore &store = journal.open();
        ASSERT_EQ(store.tasks().size(), c.readable);
        if (c.readable > 0) {
            EXPECT_EQ(store.tasks()[0].title, "A");
            EXPECT_EQ(store.tasks()[1].title, "B");
        }
        EXPECT_EQ(store.savedSetups().size(), 1) << "other lists are not affected";
        EXPECT_EQ(journal.defaults->value("focusTasksV1"), c.stored) << "nothing is written at launch";

        store.addTask(QStringLiteral("C"));
        EXPECT_EQ(journal.reopen().tasks().size(), c.readable + 1);
        EXPECT_EQ(journal.defaults->value("focusTasksV1.unreadable"), c.stored) << "the damaged value is backed up";
    }
}

TEST(FocusRecordsJson, SetupMinutesBeyondTheIntegerRangeCostOnlyThatSetup)
{
    FocusJournalFixture journal;
    journal.defaults->setValue(
        "focusSetupsV1",
        QByteArray(R"([{"id":")" + firstID + R"(","goal":"Huge","minutes":3000000000,"allowedBundleIDs":[]},)"
                   R"({"id":")" + secondID + R"(","goal":"Kept","minutes":50,"allowedBundleIDs":[]}])"));
    const FocusJournalStore &store = journal.open();
    ASSERT_EQ(store.savedSetups().size(), 1);
    EXPECT_EQ(store.savedSetups()[0].goal, "Kept");
}

TEST(FocusRecordsJson, DatesKeepEveryDigitTheyWereStoredWith)
{
    FocusJournalFixture journal;
    const QByteArray stored = R"([{"id":")" + firstID + R"(","title":"A","isComplete":false,"createdAt":725760000.1234567}])";
    journal.defaults->setValue("focusTasksV1", stored);
    FocusJournalStore &store = journal.open();
    EXPECT_EQ(store.tasks()[0].createdAt.dateTime(), utc(725760000123));
    store.toggleTask(store.tasks()[0].id);
    store.toggleTask(store.tasks()[0].id);
    EXPECT_EQ(journal.stored("focusTasksV1"), stored);
}

TEST(FocusRecordsJson, WrongNumberTypesMakeARecordUnreadable)
{
    const char *const invalid[] = {R"("plannedMinutes":2.5)", R"("plannedMinutes":"25")", R"("plannedMinutes":1e12)",
                                   R"("activeSeconds":"60")", R"("activeSeconds":true)"};
    for (const char *field : invalid) {
        FocusJournalFixture journal;
        QByteArray object = R"({"id":")" + firstID + R"(","goal":"","startedAt":0,"endedAt":0,)"
                                                     R"("plannedMinutes":25,"completed":true,"reflection":"",)" +
                            QByteArray(field) + "}";
        journal.defaults->setValue("focusRecordsV1", QByteArray("[" + object + "]"));
        EXPECT_TRUE(journal.open().records().isEmpty()) << field;
    }
}

TEST(FocusRecordsJson, RecordsSurviveARelaunchUnchanged)
{
    FocusJournalFixture journal;
    FocusJournalStore &store = journal.open();
    journal.clock.setNow(QDateTime::fromMSecsSinceEpoch(1'700'000'000'123, QTimeZone::utc()));
    store.addTask(QStringLiteral("Tab\tand \"quotes\" \\ and \u0001 control"));
    store.addCheckIn(QStringLiteral("note"), QStringLiteral("  goal kept as given "));
    store.recordSession({QStringLiteral("Essay"), journal.clock.now().addSecs(-600), journal.clock.now(), 10, true, 590});
    store.toggleTodayPriority(store.tasks()[0].id);
    store.saveSetup(QStringLiteral("Essay"), 45, {QStringLiteral("org.gnome.TextEditor")});
    const auto tasks = store.tasks();
    const auto logs = store.logs();
    const auto records = store.records();
    const auto pages = store.dailyPages();
    const auto setups = store.savedSetups();

    const FocusJournalStore &reopened = journal.reopen();
    EXPECT_EQ(reopened.tasks(), tasks);
    EXPECT_EQ(reopened.logs(), logs);
    EXPECT_EQ(reopened.records(), records);
    EXPECT_EQ(reopened.dailyPages(), pages);
    EXPECT_EQ(reopened.savedSetups(), setups);
}
