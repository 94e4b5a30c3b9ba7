#include "Views/Panel/PanelFocusRow.h"

#include "Views/AppModel.h"
#include "Views/Kit/KitStyle.h"
#include "Views/Kit/SettingsText.h"
#include "Views/Kit/SymbolLabel.h"
#include "Views/Kit/TextLabels.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

PanelFocusRow::PanelFocusRow(AppModel &app, QWidget *parent)
    : PanelSection(app, parent)
{
    FocusSessionController &session = app.focusController().session();
    m_start = TextLabels::borderedButton(QStringLiteral("brain.head.profile"), QStringLiteral("Start 25-minute Focus"), this);
    // The one-click session is always 25 minutes, and that length is kept for the next one.
    connect(m_start, &QPushButton::clicked, this, [&app] {
        app.settings().setFocusMinutes(25);
        app.startFocusSession();
    });
    rows()->addWidget(m_start);

    m_session = new QWidget(this);
    m_countdown = new SymbolLabel(QStringLiteral("timer"), QString(), KitStyle::font(FontRole::subheadline, QFont::DemiBold),
                                  ColorRole::primary, m_session);
    m_pauseResume = TextLabels::borderedButton(QString(), QStringLiteral("Pause"), m_session);
    connect(m_pauseResume, &QPushButton::clicked, this, [&session] {
        if (session.isPaused())
            session.resume();
        else
            session.pause();
    });
    m_end = TextLabels::borderedButton(QString(), QStringLiteral("End"), m_session);
    connect(m_end, &QPushButton::clicked, this, [&session] { session.stop(false); });
    auto *row = new QHBoxLayout(m_session);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(m_countdown, 1);
    row->addWidget(m_pauseResume);
    row->addWidget(m_end);
    rows()->addWidget(m_session);
}

void PanelFocusRow::sync()
{
    const FocusSessionController &session = app().focusController().session();
    const bool active = session.isActive();
    Bind::visible(m_start, !active);
    Bind::visible(m_session, active);
    if (!active)
        return;
    const bool paused = session.isPaused();
    m_countdown->setSymbol(paused ? QStringLiteral("pause.circle") : QStringLiteral("timer"));
    m_countdown->setText((paused ? QStringLiteral("Paused ") : QStringLiteral("Focus "))
                         + SettingsText::countdown(session.remainingSeconds()));
    const QString action = paused ? QStringLiteral("Resume") : QStringLiteral("Pause");
    if (m_pauseResume->text() != action) {
        m_pauseResume->setText(action);
        m_pauseResume->setAccessibleName(action);
    }
}

QString PanelFocusRow::countdownText() const
{
    return m_countdown->text();
}
