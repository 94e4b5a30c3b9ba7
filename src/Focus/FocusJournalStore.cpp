#include "Focus/FocusJournalStore.h"

#include "Foundation/Clock.h"
#include "Platform/UserDefaults.h"

#include <QCollator>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <limits>

namespace {
const QString tasksKey = QStringLiteral("focusTasksV1");
const QString logsKey = QStringLiteral("focusLogsV1");
const QString recordsKey = QStringLiteral("focusRecordsV1");
const QString dailyPagesKey = QStringLiteral("focusDailyPagesV1");
const QString setupsKey = QStringLiteral("focusSetupsV1");
const QString draftsKey = QStringLiteral("focusDraftsV1");

QUuid newID()
{
    return QUuid::createUuid();
}

// The first entry with that identifier, or -1.
template <typename T, typename ID>
qsizetype indexOf(const QList<T> &list, const ID &id)
{
    const auto it = std::find_if(list.cbegin(), list.cend(), [&](const T &entry) { return entry.id == id; });
    return it == list.cend() ? -1 : it - list.cbegin();
}

template <typename T>
void keepFirst(QList<T> &list, qsizetype count)
{
    if (list.size() > count)
        list.resize(count);
}

bool sameGoal(const QString &a, const QString &b)
{
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    return collator.compare(a, b) == 0;
}
}

FocusJournalStore::FocusJournalStore(UserDefaults &defaults, const Clock &clock, QObject *parent)
    : QObject(parent)
    , m_defaults(defaults)
    , m_clock(clock)
    , m_tasks(decode<FocusTask>(tasksKey))
    , m_logs(decode<FocusLogEntry>(logsKey))
    , m_records(decode<FocusSessionRecord>(recordsKey))
    , m_dailyPages(decode<FocusDailyPage>(dailyPagesKey))
    , m_savedSetups(decode<FocusSetup>(setupsKey))
{
}

template <typename T>
QList<T> FocusJournalStore::decode(const QString &key)
{
    const QVariant stored = m_defaults.value(key);
    if (!stored.isValid()) {
        // Present but not decodable by Qt: its text is what is kept.
        if (m_defaults.contains(key))
            m_unreadable.insert(key, m_defaults.storedText(key));
        return {};
    }
    const auto unreadable = [&] {
        m_unreadable.insert(key, stored);
        return QList<T>{};
    };
    if (stored.typeId() != QMetaType::QByteArray)
        return unreadable();
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(stored.toByteArray(), &error);
    if (error.error != QJsonParseError::NoError || !document.isArray())
        return unreadable();
    // One damaged element costs only itself; the stored value as a whole is still backed up
    // before the list is first written again.
    const QJsonArray array = document.array();
    QList<T> list;
    list.reserve(array.size());
    for (const QJsonValue element : array) {
        if (auto item = T::fromJson(element))
            list.append(std::move(*item));
    }
    if (list.size() != array.size())
        m_unreadable.insert(key, stored);
    return list;
}

template <typename T>
void FocusJournalStore::save(const QList<T> &list, const QString &key)
{
    QByteArray bytes("[");
    for (qsizetype i = 0; i < list.size(); ++i) {
        if (i > 0)
            bytes.append(',');
        list[i].writeJson(bytes);
    }
    bytes.append(']');
    if (const auto it = m_unreadable.constFind(key); it != m_unreadable.constEnd()) {
        keepUnreadable(key, it.value());
        m_unreadable.erase(it);
    }
    m_defaults.setValue(key, bytes);
    // Journal entries are the user's own writing: do not leave them to a later flush.
    m_defaults.sync();
}

void FocusJournalStore::keepUnreadable(const QString &key, const QVariant &value)
{
    // An earlier backup holding something else is kept too, under the next free number.
    QString backupKey = key + QStringLiteral(".unreadable");
    for (int number = 2; m_defaults.contains(backupKey); ++number) {
        if (m_defaults.value(backupKey) == value)
            return;
        backupKey = key + QStringLiteral(".unreadable.") + QString::number(number);
    }
    m_defaults.setValue(backupKey, value);
}

template <typename T>
void FocusJournalStore::replace(QList<T> &list, QList<T> contents, const QString &key,
                                void (FocusJournalStore::*listChanged)())
{
    list = std::move(contents);
    save(list, key);
    emit (this->*listChanged)();
    emit changed();
}

QString FocusJournalStore::dayKey(const QDateTime &date)
{
    const QDate day = date.toLocalTime().date();
    return QString::asprintf("%04d-%02d-%02d", day.year(), day.month(), day.day());
}

QDateTime FocusJournalStore::now() const
{
    return m_clock.now();
}

QUuid FocusJournalStore::recordSession(const FocusSessionResult &result)
{
    FocusSessionRecord record{newID(),
                              result.goal,
                              result.startedAt,
                              result.endedAt,
                              result.plannedMinutes,
                              result.completed,
                              QString(),
                              result.activeSeconds};
    const QUuid id = record.id;
    QList<FocusSessionRecord> records = m_records;
    records.prepend(std::move(record));
    keepFirst(records, maximumRecords);
    replace(m_records, std::move(records), recordsKey, &FocusJournalStore::recordsChanged);
    return id;
}

void FocusJournalStore::saveReflection(const QString &reflection, const QUuid &recordID)
{
    const qsizetype index = indexOf(m_records, recordID);
    if (index < 0)
        return;
    QList<FocusSessionRecord> records = m_records;
    records[index].reflection = reflection.trimmed();
    replace(m_records, std::move(records), recordsKey, &FocusJournalStore::recordsChanged);
}

void FocusJournalStore::addTask(const QString &title)
{
    const QString trimmed = title.trimmed();
    if (trimmed.isEmpty())
        return;
    QList<FocusTask> tasks = m_tasks;
    tasks.append(FocusTask{newID(), trimmed, false, m_clock.now()});
    replace(m_tasks, std::move(tasks), tasksKey, &FocusJournalStore::tasksChanged);
}

void FocusJournalStore::toggleTask(const QUuid &taskID)
{
    const qsizetype index = indexOf(m_tasks, taskID);
    if (index < 0)
        return;
    QList<FocusTask> tasks = m_tasks;
    FocusTask &task = tasks[index];
    task.isComplete = !task.isComplete;
    replace(m_tasks, std::move(tasks), tasksKey, &FocusJournalStore::tasksChanged);
}

void FocusJournalStore::removeTask(const QUuid &taskID)
{
    QList<FocusTask> tasks = m_tasks;
    tasks.removeIf([&](const FocusTask &task) { return task.id == taskID; });
    replace(m_tasks, std::move(tasks), tasksKey, &FocusJournalStore::tasksChanged);

    QList<FocusDailyPage> pages = m_dailyPages;
    for (FocusDailyPage &page : pages)
        page.priorityTaskIDs.removeAll(taskID);
    replace(m_dailyPages, std::move(pages), dailyPagesKey, &FocusJournalStore::dailyPagesChanged);
}

FocusDailyPage FocusJournalStore::todayPage() const
{
    const QString today = dayKey(m_clock.now());
    for (const FocusDailyPage &page : m_dailyPages) {
        if (page.id == today)
            return page;
    }
    return FocusDailyPage{today, {}, {}, {}};
}

QList<FocusTask> FocusJournalStore::todayPriorityTasks() const
{
    QList<FocusTask> result;
    for (const QUuid &id : todayPage().priorityTaskIDs) {
        if (const qsizetype index = indexOf(m_tasks, id); index >= 0)
            result.append(m_tasks[index]);
    }
    return result;
}

void FocusJournalStore::saveTodayPage(const QString &intention, const QString &notes)
{
    FocusDailyPage page = todayPage();
    page.intention = intention.trimmed();
    page.notes = notes.trimmed();
    upsert(page);
}

void FocusJournalStore::toggleTodayPriority(const QUuid &taskID)
{
    if (indexOf(m_tasks, taskID) < 0)
        return;
    FocusDailyPage page = todayPage();
    if (page.priorityTaskIDs.contains(taskID))
        page.priorityTaskIDs.removeAll(taskID);
    else if (page.priorityTaskIDs.size() < maximumPriorities)
        page.priorityTaskIDs.append(taskID);
    upsert(page);
}

void FocusJournalStore::upsert(const FocusDailyPage &page)
{
    QList<FocusDailyPage> pages = m_dailyPages;
    if (const qsizetype index = indexOf(pages, page.id); index >= 0)
        pages[index] = page;
    else
        pages.prepend(page);
    keepFirst(pages, maximumDailyPages);
    replace(m_dailyPages, std::move(pages), dailyPagesKey, &FocusJournalStore::dailyPagesChanged);
}

void FocusJournalStore::addCheckIn(const QString &text, const QString &goal)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return;
    QList<FocusLogEntry> logs = m_logs;
    logs.prepend(FocusLogEntry{newID(), m_clock.now(), goal, trimmed});
    keepFirst(logs, maximumLogs);
    replace(m_logs, std::move(logs), logsKey, &FocusJournalStore::logsChanged);
}

void FocusJournalStore::saveSetup(const QString &goal, int minutes, const QStringList &allowedBundleIDs)
{
    const QString trimmed = goal.trimmed();
    if (trimmed.isEmpty())
        return;
    const auto existing = std::find_if(m_savedSetups.cbegin(), m_savedSetups.cend(),
                                       [&](const FocusSetup &setup) { return sameGoal(setup.goal, trimmed); });

    QStringList allowed = allowedBundleIDs;
    allowed.removeAll(QString());
    std::sort(allowed.begin(), allowed.end());
    allowed.erase(std::unique(allowed.begin(), allowed.end()), allowed.end());

    const FocusSetup setup{existing != m_savedSetups.cend() ? existing->id : newID(), trimmed,
                           std::clamp(minutes, minimumMinutes, maximumMinutes), allowed};
    QList<FocusSetup> setups = m_savedSetups;
    setups.removeIf([&](const FocusSetup &stored) { return stored.id == setup.id; });
    setups.prepend(setup);
    keepFirst(setups, maximumSetups);
    replace(m_savedSetups, std::move(setups), setupsKey, &FocusJournalStore::savedSetupsChanged);
}

void FocusJournalStore::removeSetup(const QUuid &setupID)
{
    QList<FocusSetup> setups = m_savedSetups;
    setups.removeIf([&](const FocusSetup &setup) { return setup.id == setupID; });
    replace(m_savedSetups, std::move(setups), setupsKey, &FocusJournalStore::savedSetupsChanged);
}

qint64 FocusJournalStore::todayFocusedSeconds() const
{
    const QDate today = m_clock.now().toLocalTime().date();
    constexpr qint64 most = std::numeric_limits<qint64>::max();
    qint64 total = 0;
    for (const FocusSessionRecord &record : m_records) {
        const QDateTime startedAt = record.startedAt.dateTime();
        if (startedAt.toLocalTime().date() != today)
            continue;
        // A damaged stored count must neither take time away from the other sessions nor
        // overflow the sum.
        const qint64 counted = record.lengthSeconds();
        total = total > most - counted ? most : total + counted;
    }
    return total;
}

FocusDrafts FocusJournalStore::drafts() const
{
    const QVariant stored = m_defaults.value(draftsKey);
    if (stored.typeId() != QMetaType::QByteArray)
        return {};
    const QJsonDocument document = QJsonDocument::fromJson(stored.toByteArray());
    return FocusDrafts::fromJson(document.object()).value_or(FocusDrafts{});
}

void FocusJournalStore::keepDrafts(const FocusDrafts &drafts)
{
    if (drafts.isEmpty()) {
        if (m_defaults.contains(draftsKey))
            m_defaults.remove(draftsKey);
        return;
    }
    QByteArray bytes;
    drafts.writeJson(bytes);
    m_defaults.setValue(draftsKey, bytes);
}
