#include "Views/Focus/FocusSetupsList.h"

#include "Focus/FocusJournalStore.h"
#include "Views/AppModel.h"
#include "Views/Focus/JournalExcerpt.h"
#include "Views/Kit/Bind.h"
#include "Views/Kit/KeyedRows.h"
#include "Views/Kit/ElidedLabel.h"
#include "Views/Kit/KitStyle.h"
#include "Views/Kit/ProminentButton.h"
#include "Views/Kit/SymbolButton.h"
#include "Views/Kit/TextLabels.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

std::optional<FocusSetup> findSetup(FocusJournalStore &journal, const QUuid &id)
{
    for (const FocusSetup &setup : journal.savedSetups()) {
        if (setup.id == id)
            return setup;
    }
    return std::nullopt;
}

class SetupRow final : public QWidget {
public:
    SetupRow(AppModel &app, const QUuid &id, QWidget *parent)
        : QWidget(parent)
    {
        m_goal = new ElidedLabel(QString(), this);
        m_goal->setFont(KitStyle::font(FontRole::subheadline, QFont::DemiBold));
        m_summary = TextLabels::hint(QString(), this);
        m_summary->setWordWrap(false);
        auto *text = new QVBoxLayout;
        text->setSpacing(2);
        text->addWidget(m_goal);
        text->addWidget(m_summary);
        auto *use = TextLabels::borderedButton(QString(), QStringLiteral("Use"), this);
        m_start = new ProminentButton(QStringLiteral("play.fill"), QStringLiteral("Start"), this);
        auto *remove = new SymbolButton(QStringLiteral("trash"), KitStyle::color(ColorRole::red),
                                        QStringLiteral("Remove saved setup"), 16, this);
        remove->setToolTip(QStringLiteral("Remove saved setup"));
        auto *layout = new QHBoxLayout(this);
        layout->setContentsMargins(0, 3, 0, 3);
        layout->setSpacing(10);
        layout->addLayout(text, 1);
        layout->addSpacing(6);
        layout->addWidget(use);
        layout->addWidget(m_start);
        layout->addWidget(remove);
        const auto apply = [&app, id](bool start) {
            if (const std::optional<FocusSetup> setup = findSetup(app.journal(), id))
                FocusSetupsList::useFocusSetup(app, *setup, start);
        };
        connect(use, &QPushButton::clicked, this, [apply] { apply(false); });
        connect(m_start, &QPushButton::clicked, this, [apply] { apply(true); });
        connect(remove, &QAbstractButton::clicked, this, [&app, id] { app.journal().removeSetup(id); });
    }

    void present(const FocusSetup &setup, const QColor &accent)
    {
        m_goal->setFullText(JournalExcerpt::forLabel(setup.goal));
        Bind::text(m_summary, QStringLiteral("%1m · %2 on-task apps").arg(setup.minutes).arg(setup.allowedBundleIDs.size()));
        m_start->setTint(accent);
    }

private:
    ElidedLabel *m_goal = nullptr;
    QLabel *m_summary = nullptr;
    ProminentButton *m_start = nullptr;
};

}

FocusSetupsList::FocusSetupsList(AppModel &app, QWidget *parent)
    : QWidget(parent)
    , m_app(app)
{
    auto *rowLayout = new QVBoxLayout;
    rowLayout->setSpacing(0);
    m_rows = new KeyedRows(rowLayout, this);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_rows);
}

void FocusSetupsList::useFocusSetup(AppModel &app, const FocusSetup &setup, bool start)
{
    SettingsStore &settings = app.settings();
    settings.setFocusGoal(setup.goal);
    settings.setFocusMinutes(setup.minutes);
    settings.setFocusAllowedBundleIDs(setup.allowedBundleIDs);
    if (start)
        app.startFocusSession();
}

void FocusSetupsList::sync(const QColor &accent)
{
    const QList<FocusSetup> &setups = m_app.journal().savedSetups();
    QStringList ids;
    for (const FocusSetup &setup : setups)
        ids << setup.id.toString(QUuid::WithoutBraces);
    m_rows->setIds(ids, [this](const QString &id) { return new SetupRow(m_app, QUuid::fromString(id), m_rows); });
    for (const FocusSetup &setup : setups)
        static_cast<SetupRow *>(m_rows->row(setup.id.toString(QUuid::WithoutBraces)))->present(setup, accent);
}
