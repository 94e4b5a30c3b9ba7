#pragma once

#include "Focus/FocusDailyPage.h"
#include "Focus/FocusDrafts.h"
#include "Focus/FocusLogEntry.h"
#include "Focus/FocusSessionRecord.h"
#include "Focus/FocusSessionResult.h"
#include "Focus/FocusSetup.h"
#include "Focus/FocusTask.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QVariant>

class Clock;
class UserDefaults;

// The focus journal: five lists kept in the user-defaults domain, each one written back as
// soon as it changes. Tasks run oldest first, every other list newest first under a cap.
class FocusJournalStore final : public QObject {
    Q_OBJECT
    Q_PROPERTY(QList<FocusTask> tasks READ tasks NOTIFY tasksChanged)
    Q_PROPERTY(QList<FocusLogEntry> logs READ logs NOTIFY logsChanged)
    Q_PROPERTY(QList<FocusSessionRecord> records READ records NOTIFY recordsChanged)
    Q_PROPERTY(QList<FocusDailyPage> dailyPages READ dailyPages NOTIFY dailyPagesChanged)
    Q_PROPERTY(QList<FocusSetup> savedSetups READ savedSetups NOTIFY savedSetupsChanged)

public:
    static constexpr qsizetype maximumLogs = 200;
    static constexpr qsizetype maximumRecords = 100;
    static constexpr qsizetype maximumDailyPages = 120;
    static constexpr qsizetype maximumSetups = 8;
    static constexpr qsizetype maximumPriorities = 3;
    static constexpr int minimumMinutes = 1;
    static constexpr int maximumMinutes = 180;

    // `clock` says what "now" and "today" are.
    FocusJournalStore(UserDefaults &defaults, const Clock &clock, QObject *parent = nullptr);

    const QList<FocusTask> &tasks() const { return m_tasks; }
    const QList<FocusLogEntry> &logs() const { return m_logs; }
    const QList<FocusSessionRecord> &records() const { return m_records; }
    const QList<FocusDailyPage> &dailyPages() const { return m_dailyPages; }
    const QList<FocusSetup> &savedSetups() const { return m_savedSetups; }

    // Adds the session as the newest record and returns its identifier.
    QUuid recordSession(const FocusSessionResult &result);
    void saveReflection(const QString &reflection, const QUuid &recordID);

    void addTask(const QString &title);
    void toggleTask(const QUuid &taskID);
    void removeTask(const QUuid &taskID);

    // Today's stored page, or a fresh empty one that is not stored.
    FocusDailyPage todayPage() const;
    QList<FocusTask> todayPriorityTasks() const;
    void saveTodayPage(const QString &intention, const QString &notes);
    void toggleTodayPriority(const QUuid &taskID);

    void addCheckIn(const QString &text, const QString &goal);

    // Replaces a setup whose goal matches ignoring case, keeping its identifier.
    void saveSetup(const QString &goal, int minutes, const QStringList &allowedBundleIDs);
    void removeSetup(const QUuid &setupID);

    // The journal's present moment; the local date of it is what "today" means.
    QDateTime now() const;

    // Seconds focused in the sessions that started today.
    qint64 todayFocusedSeconds() const;

    // The Focus page's unsaved text, stored apart from the journal; nothing for an empty set.
    FocusDrafts drafts() const;
    void keepDrafts(const FocusDrafts &drafts);

signals:
    void tasksChanged();
    void logsChanged();
    void recordsChanged();
    void dailyPagesChanged();
    void savedSetupsChanged();
    void changed();

private:
    template <typename T>
    QList<T> decode(const QString &key);
    template <typename T>
    void save(const QList<T> &list, const QString &key);
    void keepUnreadable(const QString &key, const QVariant &value);

    // Sets, stores and announces one list.
    template <typename T>
    void replace(QList<T> &list, QList<T> contents, const QString &key, void (FocusJournalStore::*listChanged)());
    void upsert(const FocusDailyPage &page);

    static QString dayKey(const QDateTime &date);

    UserDefaults &m_defaults;
    const Clock &m_clock;
    // Stored values that could not be read whole, backed up before their first overwrite. Declared
    // before the lists, which fill it as they load.
    QHash<QString, QVariant> m_unreadable;
    QList<FocusTask> m_tasks;
    QList<FocusLogEntry> m_logs;
    QList<FocusSessionRecord> m_records;
    QList<FocusDailyPage> m_dailyPages;
    QList<FocusSetup> m_savedSetups;
};
