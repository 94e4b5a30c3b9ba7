#include "Views/Focus/FocusLogPanel.h"

#include "Focus/FocusJournalStore.h"
#include "Views/AppModel.h"
#include "Views/Focus/JournalExcerpt.h"
#include "Views/Focus/RelativeDate.h"
#include "Views/Kit/Bind.h"
#include "Views/Kit/KeyedRows.h"
#include "Views/Kit/ElidedLabel.h"
#include "Views/Kit/KitStyle.h"
#include "Views/Kit/MetricTile.h"
#include "Views/Kit/SettingsText.h"
#include "Views/Kit/SymbolIcon.h"
#include "Views/Kit/TextLabels.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace {

QString keyOf(const QUuid &id)
{
    return id.toString(QUuid::WithoutBraces);
}

void setSymbol(QLabel *label, const QString &symbol, const QColor &tint)
{
    label->setPixmap(SymbolIcon::icon(symbol, tint).pixmap(16, 16));
}

class RecordRow final : public QWidget {
public:
    explicit RecordRow(QWidget *parent)
        : QWidget(parent)
    {
        m_icon = new QLabel(this);
        m_goal = new ElidedLabel(QString(), this);
        m_goal->setFont(KitStyle::font(FontRole::subheadline, QFont::DemiBold));
        m_length = TextLabels::hint(QString(), this);
        m_length->setWordWrap(false);
        m_reflection = TextLabels::hint(QString(), this);
        m_reflection->setMaximumHeight(m_reflection->fontMetrics().lineSpacing() * 2);
        m_reflection->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        auto *line = new QHBoxLayout;
        line->addWidget(m_icon);
        line->addWidget(m_goal, 1);
        line->addWidget(m_length);
        auto *layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 3, 0, 3);
        layout->setSpacing(3);
        layout->addLayout(line);
        layout->addWidget(m_reflection);
    }

    void present(const FocusSessionRecord &record)
    {
        if (!m_completed || *m_completed != record.completed) {
            m_completed = record.completed;
            setSymbol(m_icon, record.completed ? QStringLiteral("checkmark.circle.fill") : QStringLiteral("stop.circle"),
                      KitStyle::color(record.completed ? ColorRole::green : ColorRole::secondary));
        }
        m_goal->setFullText(record.goal.isEmpty() ? QStringLiteral("Focus session") : JournalExcerpt::forLabel(record.goal));
        Bind::text(m_length, SettingsText::formatDuration(record.lengthSeconds()));
        Bind::text(m_reflection, JournalExcerpt::forLabel(record.reflection));
        Bind::visible(m_reflection, !record.reflection.isEmpty());
    }

private:
    QLabel *m_icon = nullptr;
    ElidedLabel *m_goal = nullptr;
    QLabel *m_length = nullptr;
    QLabel *m_reflection = nullptr;
    std::optional<bool> m_completed;
};

class NoteRow final : public QWidget {
public:
    explicit NoteRow(QWidget *parent)
        : QWidget(parent)
    {
        m_icon = new QLabel(this);
        m_text = new QLabel(this);
        m_text->setFont(KitStyle::font(FontRole::subheadline));
        m_text->setWordWrap(true);
        m_date = TextLabels::hint(QString(), this);
        auto *column = new QVBoxLayout;
        column->setSpacing(2);
        column->addWidget(m_text);
        column->addWidget(m_date);
        auto *layout = new QHBoxLayout(this);
        layout->setContentsMargins(0, 2, 0, 2);
        layout->setSpacing(8);
        layout->addWidget(m_icon, 0, Qt::AlignTop);
        layout->addLayout(column, 1);
    }

    void present(const FocusLogEntry &entry, const QColor &accent, const QDateTime &now)
    {
        if (accent != m_accent) {
            m_accent = accent;
            setSymbol(m_icon, QStringLiteral("pencil.line"), accent);
        }
        Bind::text(m_text, JournalExcerpt::forLabel(entry.text));
        Bind::text(m_date, RelativeDate::text(entry.date.dateTime(), now));
    }

private:
    QLabel *m_icon = nullptr;
    QLabel *m_text = nullptr;
    QLabel *m_date = nullptr;
    QColor m_accent;
};

}

FocusLogPanel::FocusLogPanel(AppModel &app, QWidget *parent)
    : QWidget(parent)
    , m_app(app)
{
    m_today = new MetricTile(QStringLiteral("Today"), QString(), this);
    m_sessions = new MetricTile(QStringLiteral("Sessions"), QString(), this);
    m_checkIns = new MetricTile(QStringLiteral("Check-ins"), QString(), this);
    auto *metrics = new QHBoxLayout;
    metrics->addWidget(m_today);
    metrics->addWidget(m_sessions);
    metrics->addWidget(m_checkIns);

    m_empty = TextLabels::hint(
        QStringLiteral("Completed sessions and progress notes will appear here—only on this computer."), this);
    auto *recordRows = new QVBoxLayout;
    recordRows->setSpacing(0);
    m_records = new KeyedRows(recordRows, this);
    auto *noteRows = new QVBoxLayout;
    noteRows->setSpacing(0);
    m_notes = new KeyedRows(noteRows, this);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(12);
    layout->addLayout(metrics);
    layout->addWidget(m_empty);
    auto *rows = new QVBoxLayout;
    rows->setSpacing(0);
    rows->addWidget(m_records);
    rows->addWidget(m_notes);
    layout->addLayout(rows);

    m_dateTimer.setInterval(60'000);
    // A hidden page is synced when it comes back, so only a shown log needs redating.
    connect(&m_dateTimer, &QTimer::timeout, this, [this] {
        if (isVisible())
            sync(KitStyle::accent(m_app.settings()));
    });
    m_dateTimer.start();
}

void FocusLogPanel::sync(const QColor &accent)
{
    const FocusJournalStore &journal = m_app.journal();
    const QDate today = journal.now().toLocalTime().date();
    const auto onToday = [&today](const FocusDate &date) { return date.dateTime().toLocalTime().date() == today; };
    const QList<FocusSessionRecord> &records = journal.records();
    const QList<FocusLogEntry> &logs = journal.logs();

    m_today->setValue(SettingsText::formatDuration(journal.todayFocusedSeconds()));
    m_sessions->setValue(QString::number(
        std::count_if(records.begin(), records.end(), [&](const FocusSessionRecord &r) { return onToday(r.startedAt); })));
    m_checkIns->setValue(QString::number(
        std::count_if(logs.begin(), logs.end(), [&](const FocusLogEntry &e) { return onToday(e.date); })));
    Bind::visible(m_empty, records.isEmpty() && logs.isEmpty());

    const QList<FocusSessionRecord> shown = records.first(std::min(shownRecords, records.size()));
    QStringList recordIDs;
    for (const FocusSessionRecord &record : shown)
        recordIDs << keyOf(record.id);
    m_records->setIds(recordIDs, [this](const QString &) { return new RecordRow(m_records); });
    for (const FocusSessionRecord &record : shown)
        static_cast<RecordRow *>(m_records->row(keyOf(record.id)))->present(record);

    const QDateTime now = journal.now();
    const QList<FocusLogEntry> notes = logs.first(std::min(shownNotes, logs.size()));
    QStringList noteIDs;
    for (const FocusLogEntry &entry : notes)
        noteIDs << keyOf(entry.id);
    m_notes->setIds(noteIDs, [this](const QString &) { return new NoteRow(m_notes); });
    for (const FocusLogEntry &entry : notes)
        static_cast<NoteRow *>(m_notes->row(keyOf(entry.id)))->present(entry, accent, now);
}
