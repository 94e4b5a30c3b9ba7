#include "Views/Focus/FocusSessionCard.h"

#include "Focus/FocusJournalStore.h"
#include "Foundation/Contrast.h"
#include "Views/AppModel.h"
#include "Views/Focus/JournalExcerpt.h"
#include "Views/Kit/Bind.h"
#include "Views/Kit/DividerLine.h"
#include "Views/Kit/KeyedRows.h"
#include "Views/Kit/ProminentButton.h"
#include "Views/Kit/SettingsText.h"
#include "Views/Kit/SymbolButton.h"
#include "Views/Kit/SymbolLabel.h"
#include "Views/Kit/TextLabels.h"
#include "Views/SettingsViewState.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// One of today's priorities: a tick that toggles the task, and its title on one line.
class PriorityRow final : public QWidget {
public:
    PriorityRow(const QUuid &id, FocusJournalStore &journal, QWidget *parent)
        : QWidget(parent)
    {
        m_tick = new SymbolButton(QStringLiteral("circle"), Qt::black, QStringLiteral("Toggle task"), 16, this);
        m_title = new QLabel(this);
        m_title->setFont(KitStyle::font(FontRole::subheadline));
        m_title->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        auto *layout = new QHBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(8);
        layout->addWidget(m_tick);
        layout->addWidget(m_title, 1);
        connect(m_tick, &QAbstractButton::clicked, this, [&journal, id] { journal.toggleTask(id); });
    }

    void present(const FocusTask &task, const QColor &accent)
    {
        m_tick->setSymbol(task.isComplete ? QStringLiteral("checkmark.circle.fill") : QStringLiteral("circle"),
                          task.isComplete ? KitStyle::color(ColorRole::green) : accent);
        QFont font = m_title->font();
        if (font.strikeOut() != task.isComplete) {
            font.setStrikeOut(task.isComplete);
            m_title->setFont(font);
        }
        Bind::text(m_title, JournalExcerpt::forLabel(task.title));
    }

private:
    SymbolButton *m_tick = nullptr;
    QLabel *m_title = nullptr;
};

const QColor heroBlue(0, 122, 255);

// The card's tint at the two ends of its gradient.
QColor tintStart()
{
    return KitStyle::withOpacity(heroBlue, 0.2);
}

QColor tintEnd(const QColor &accent)
{
    return KitStyle::withOpacity(accent.isValid() ? accent : heroBlue, 0.15);
}

}

QLabel *FocusSessionCard::secondaryLabel(FontRole role, QWidget *parent, std::optional<QFont::Weight> weight)
{
    auto *label = new QLabel(parent);
    label->setFont(KitStyle::font(role, weight));
    m_secondaryLabels << label;
    return label;
}

QColor FocusSessionCard::ink(ColorRole role) const
{
    const QColor page = KitStyle::color(ColorRole::windowBackground);
    return Contrast::readable(KitStyle::color(role),
                              {Contrast::over(tintStart(), page), Contrast::over(tintEnd(m_accent), page)});
}

FocusSessionCard::StatusLook FocusSessionCard::statusLook(bool paused, const QString &statusText)
{
    if (paused)
        return {QStringLiteral("pause.circle.fill"), ColorRole::orange};
    if (statusText.contains(QStringLiteral("distraction")))
        return {QStringLiteral("eye.fill"), ColorRole::orange};
    return {QStringLiteral("checkmark.circle.fill"), ColorRole::green};
}

FocusSessionCard::FocusSessionCard(AppModel &app, SettingsViewState &state, QWidget *parent)
    : QWidget(parent)
    , m_app(app)
    , m_state(state)
{
    setObjectName(QStringLiteral("focusSessionCard"));
    m_countdown = new QLabel(this);
    m_countdown->setAccessibleName(QStringLiteral("Time left"));
    QFont countdownFont = KitStyle::font(FontRole::body, QFont::Bold);
    countdownFont.setPixelSize(58);
    m_countdown->setFont(countdownFont);
    m_countdown->setAlignment(Qt::AlignCenter);

    m_goal = new QLabel(this);
    m_goal->setAccessibleName(QStringLiteral("Session goal"));
    m_goal->setFont(KitStyle::font(FontRole::title3, QFont::Bold));
    m_goal->setWordWrap(true);
    m_goal->setAlignment(Qt::AlignCenter);

    m_status = new SymbolLabel(QStringLiteral("checkmark.circle.fill"), QString(),
                               KitStyle::font(FontRole::subheadline, QFont::DemiBold), ColorRole::green, this);
    m_status->setAccessibleName(QStringLiteral("Session status"));
    m_currentApp = secondaryLabel(FontRole::caption, this);

    buildPriorities();
    QHBoxLayout *noteRow = buildNoteRow();
    QHBoxLayout *controls = buildControls();

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 24, 24, 24);
    layout->setSpacing(11);
    layout->addWidget(m_countdown);
    layout->addWidget(m_goal);
    layout->addWidget(m_status, 0, Qt::AlignHCenter);
    layout->addWidget(m_currentApp, 0, Qt::AlignHCenter);
    layout->addWidget(m_priorities);
    layout->addLayout(noteRow);
    layout->addLayout(controls);
}

void FocusSessionCard::buildPriorities()
{
    m_priorities = new QWidget(this);
    auto *divider = new DividerLine(m_priorities);
    auto *heading = secondaryLabel(FontRole::caption, m_priorities, QFont::Bold);
    heading->setText(QStringLiteral("Today’s priorities"));
    m_priorityCount = secondaryLabel(FontRole::caption, m_priorities);
    auto *headingRow = new QHBoxLayout;
    headingRow->addWidget(heading);
    headingRow->addStretch(1);
    headingRow->addWidget(m_priorityCount);
    m_priorityRows = new KeyedRows(new QVBoxLayout, m_priorities);
    auto *priorities = new QVBoxLayout(m_priorities);
    priorities->setContentsMargins(0, 0, 0, 0);
    priorities->setSpacing(8);
    priorities->addWidget(divider);
    priorities->addLayout(headingRow);
    priorities->addWidget(m_priorityRows);
}

QHBoxLayout *FocusSessionCard::buildNoteRow()
{
    m_note = TextLabels::textField(this);
    m_note->setPlaceholderText(QStringLiteral("Quick progress note…"));
    m_note->setAccessibleName(QStringLiteral("Quick progress note"));
    m_log = TextLabels::borderedButton(QStringLiteral("square.and.pencil"), QStringLiteral("Log"), this);
    auto *row = new QHBoxLayout;
    row->addWidget(m_note, 1);
    row->addWidget(m_log);
    connect(m_note, &QLineEdit::textEdited, this, [this](const QString &text) {
        m_state.checkInDraft = text;
        refreshLogEnabled();
    });
    connect(m_log, &QPushButton::clicked, this, &FocusSessionCard::logCheckIn);
    return row;
}

QHBoxLayout *FocusSessionCard::buildControls()
{
    FocusSessionController &session = m_app.focusController().session();
    m_pause = new ProminentButton(QStringLiteral("pause.fill"), QStringLiteral("Pause Session"), this);
    m_resume = new ProminentButton(QStringLiteral("play.fill"), QStringLiteral("Resume Session"), this);
    m_end = TextLabels::borderedButton(QStringLiteral("stop.fill"), QStringLiteral("End Session"), this, ColorRole::red);
    auto *controls = new QHBoxLayout;
    controls->addStretch(1);
    controls->addWidget(m_pause);
    controls->addWidget(m_resume);
    controls->addWidget(m_end);
    controls->addStretch(1);
    connect(m_pause, &QPushButton::clicked, &session, &FocusSessionController::pause);
    connect(m_resume, &QPushButton::clicked, &session, &FocusSessionController::resume);
    connect(m_end, &QPushButton::clicked, &session, [&session] { session.stop(false); });
    return controls;
}

void FocusSessionCard::sync(const QColor &accent)
{
    FocusSessionController &session = m_app.focusController().session();
    FocusJournalStore &journal = m_app.journal();
    if (accent != m_accent) {
        m_accent = accent;
        m_pause->setTint(accent);
        m_resume->setTint(accent);
        update();
    }
    Bind::text(m_countdown, SettingsText::countdown(session.remainingSeconds()));
    Bind::text(m_goal, JournalExcerpt::forLabel(m_app.settings().focusGoal()));
    const StatusLook look = statusLook(session.isPaused(), session.statusText());
    m_status->setSymbol(look.symbol);
    m_status->setColor(ink(look.color));
    // Synced again in a new scheme, so the inks follow it.
    const QColor secondary = ink(ColorRole::secondary);
    for (QLabel *label : std::as_const(m_secondaryLabels)) {
        if (label->palette().color(QPalette::WindowText) != secondary) {
            QPalette palette = label->palette();
            palette.setColor(QPalette::WindowText, secondary);
            label->setPalette(palette);
        }
    }
    m_status->setText(session.statusText());
    Bind::text(m_currentApp, QStringLiteral("Current app: ") + session.currentAppName());

    const QList<FocusTask> priorities = journal.todayPriorityTasks();
    Bind::visible(m_priorities, !priorities.isEmpty());
    const auto done = std::count_if(priorities.begin(), priorities.end(), [](const FocusTask &t) { return t.isComplete; });
    Bind::text(m_priorityCount, QStringLiteral("%1/%2").arg(done).arg(priorities.size()));
    QStringList ids;
    for (const FocusTask &task : priorities)
        ids << task.id.toString(QUuid::WithoutBraces);
    m_priorityRows->setIds(ids, [this, &journal](const QString &id) {
        return new PriorityRow(QUuid::fromString(id), journal, m_priorityRows);
    });
    for (const FocusTask &task : priorities)
        static_cast<PriorityRow *>(m_priorityRows->row(task.id.toString(QUuid::WithoutBraces)))->present(task, accent);

    Bind::text(m_note, m_state.checkInDraft);
    refreshLogEnabled();
    Bind::visible(m_pause, !session.isPaused());
    Bind::visible(m_resume, session.isPaused());
}

void FocusSessionCard::logCheckIn()
{
    m_app.journal().addCheckIn(m_state.checkInDraft, m_app.settings().focusGoal());
    m_state.checkInDraft.clear();
    m_note->clear();
    refreshLogEnabled();
}

void FocusSessionCard::refreshLogEnabled()
{
    Bind::enabled(m_log, !m_state.checkInDraft.trimmed().isEmpty());
}

void FocusSessionCard::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF bounds = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QPainterPath shape;
    shape.addRoundedRect(bounds, 20, 20);
    QLinearGradient gradient(bounds.topLeft(), bounds.bottomRight());
    gradient.setColorAt(0, tintStart());
    gradient.setColorAt(1, tintEnd(m_accent));
    painter.fillPath(shape, gradient);
    painter.setPen(QPen(KitStyle::withOpacity(heroBlue, 0.32), 1));
    painter.drawPath(shape);
}
