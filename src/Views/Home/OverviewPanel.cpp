#include "Views/Home/OverviewPanel.h"

#include "Views/AppModel.h"
#include "Views/Kit/ProminentButton.h"
#include "Views/Kit/TextLabels.h"
#include "Views/SettingsViewState.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

OverviewPanel::OverviewPanel(AppModel &app, SettingsViewState &state, QWidget *parent)
    : SettingsPanel(QStringLiteral("Overview"), QStringLiteral("square.grid.2x2"), parent)
    , m_app(app)
{
    add(TextLabels::intro(QStringLiteral("Choose what runs in the background, or start a focus session."), this));

    m_pause = new ProminentButton(QStringLiteral("pause.fill"), QStringLiteral("Pause effects"), this);
    connect(m_pause, &QPushButton::clicked, this,
            [this] { m_app.settings().setEffectsPaused(!m_app.settings().effectsPaused()); });
    QPushButton *reset = TextLabels::borderedButton(QStringLiteral("arrow.counterclockwise"),
                                                    QStringLiteral("Reset visuals"), this);
    connect(reset, &QPushButton::clicked, this, [this] { m_app.resetVisuals(); });
    // Only the window's own page changes: nothing is published.
    QPushButton *focus = TextLabels::borderedButton(QStringLiteral("timer"), QStringLiteral("Focus"), this);
    connect(focus, &QPushButton::clicked, this, [&state] { state.setPage(SettingsPage::focus); });

    auto *row = new QHBoxLayout;
    row->setSpacing(10);
    row->addWidget(m_pause);
    row->addWidget(reset);
    row->addStretch(1);
    row->addWidget(focus);
    add(row);
}

void OverviewPanel::sync(const QColor &accent)
{
    const bool paused = m_app.settings().effectsPaused();
    const QString text = paused ? QStringLiteral("Resume effects") : QStringLiteral("Pause effects");
    if (m_pause->text() != text) {
        m_pause->setText(text);
        m_pause->setAccessibleName(text);
    }
    m_pause->setSymbol(paused ? QStringLiteral("play.fill") : QStringLiteral("pause.fill"));
    m_pause->setTint(accent);
}
