#include "Views/Focus/WrapUpPanel.h"

#include "Focus/FocusJournalStore.h"
#include "Views/AppModel.h"
#include "Views/Focus/DraftEditor.h"
#include "Views/Kit/Bind.h"
#include "Views/Kit/ProminentButton.h"
#include "Views/Kit/TextLabels.h"
#include "Views/SettingsViewState.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

WrapUpPanel::WrapUpPanel(AppModel &app, SettingsViewState &state, QWidget *parent)
    : QWidget(parent)
    , m_app(app)
    , m_state(state)
{
    auto *prompt = TextLabels::intro(QStringLiteral("What moved forward, and what should future-you do next?"), this);
    m_editor = new DraftEditor(QStringLiteral("Reflection"), 9, 64, this);
    connect(m_editor, &QPlainTextEdit::textChanged, this, [this] {
        m_state.reflectionDraft = m_editor->toPlainText();
        refreshSaveEnabled();
    });
    m_save = new ProminentButton(QStringLiteral("checkmark"), QStringLiteral("Save reflection"), this);
    connect(m_save, &QPushButton::clicked, this, [this] {
        m_app.journal().saveReflection(m_state.reflectionDraft, m_recordID);
        m_state.reflectionDraft.clear();
        const QSignalBlocker blocker(m_editor);
        m_editor->clear();
        refreshSaveEnabled();
    });
    auto *footer = new QHBoxLayout;
    footer->addStretch(1);
    footer->addWidget(m_save);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(12);
    layout->addWidget(prompt);
    layout->addWidget(m_editor);
    layout->addLayout(footer);
}

void WrapUpPanel::sync(const QUuid &recordID, const QColor &accent)
{
    m_recordID = recordID;
    Bind::text(m_editor, m_state.reflectionDraft);
    refreshSaveEnabled();
    m_save->setTint(accent);
}

void WrapUpPanel::refreshSaveEnabled()
{
    Bind::enabled(m_save, !m_state.reflectionDraft.trimmed().isEmpty());
}
