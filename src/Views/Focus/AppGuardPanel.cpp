#include "Views/Focus/AppGuardPanel.h"

#include "Focus/FocusController.h"
#include "Views/AppModel.h"
#include "Views/Kit/Bind.h"
#include "Views/Kit/Disclosure.h"
#include "Views/Kit/FlowGrid.h"
#include "Views/Kit/KeyedRows.h"
#include "Views/Kit/ElidedLabel.h"
#include "Views/Kit/KitStyle.h"
#include "Views/Kit/SelectableTile.h"
#include "Views/Kit/TextLabels.h"
#include "Views/SettingsViewState.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// Rows and tiles are keyed by identifier and name, so a renamed application gets a new one.
QString keyOf(const FocusAppOption &option)
{
    return option.bundleIdentifier + QChar(0x1f) + option.name;
}

class UnavailableRow final : public QWidget {
public:
    UnavailableRow(AppModel &app, const FocusAppOption &option, QWidget *parent)
        : QWidget(parent)
    {
        auto *name = new ElidedLabel(option.name, this);
        auto *remove = TextLabels::borderedButton(QString(), QStringLiteral("Remove"), this);
        remove->setAccessibleName(QStringLiteral("Remove ") + option.name);
        auto *layout = new QHBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(name, 1);
        layout->addWidget(remove);
        const QString identifier = option.bundleIdentifier;
        connect(remove, &QPushButton::clicked, this, [&app, identifier] { app.setFocusApp(identifier, false); });
    }
};

}

AppGuardPanel::AppGuardPanel(AppModel &app, SettingsViewState &state, QWidget *parent)
    : QWidget(parent)
    , m_app(app)
    , m_state(state)
{
    auto *intro = TextLabels::intro(QStringLiteral("Choose on-task apps. Bloopy can nudge when you switch away; it sees "
                                                   "app names, not tabs or content."),
                                    this);
    m_allowRecent = TextLabels::borderedButton(QStringLiteral("plus.circle.fill"), QString(), this);
    m_allowRecent->setToolTip(QStringLiteral("Add the app you were using before opening Plinkly"));
    connect(m_allowRecent, &QPushButton::clicked, this, [this] {
        if (const auto recent = m_app.focusController().session().recentExternalApplication())
            m_app.setFocusApp(recent->bundleIdentifier, true);
    });

    m_choices = new Disclosure(QStringLiteral("Choose from open apps"), this);
    m_grid = new KeyedRows(new FlowGrid(170, 9, 9), m_choices);
    m_choices->body()->addWidget(m_grid);
    connect(m_choices, &Disclosure::expandedChanged, this, [this](bool expanded) {
        m_state.appChoicesExpanded = expanded;
    });
    m_noApps = TextLabels::hint(QStringLiteral("Open an app you need, then refresh this list."), this);

    m_unavailableHint =
        TextLabels::hint(QStringLiteral("Still allowed for future sessions, even though they’re not open:"), this);
    m_unavailableRows = new KeyedRows(new QVBoxLayout, this);

    auto *refresh = TextLabels::borderedButton(QStringLiteral("arrow.clockwise"), QStringLiteral("Refresh apps"), this);
    connect(refresh, &QPushButton::clicked, this,
            [this] { m_app.focusController().session().refreshAvailableApplications(); });
    m_count = TextLabels::hint(QString(), this);
    m_count->setWordWrap(false);
    m_count->setAccessibleName(QStringLiteral("Allowed apps"));
    auto *footer = new QHBoxLayout;
    footer->addWidget(refresh);
    footer->addStretch(1);
    footer->addWidget(m_count);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(12);
    layout->addWidget(intro);
    layout->addWidget(m_allowRecent, 0, Qt::AlignLeft);
    layout->addWidget(m_choices);
    layout->addWidget(m_noApps);
    layout->addWidget(m_unavailableHint);
    layout->addWidget(m_unavailableRows);
    layout->addLayout(footer);
}

const QList<FocusAppOption> &AppGuardPanel::unavailableAllowedApplications(const QStringList &allowed)
{
    FocusSessionController &session = m_app.focusController().session();
    QStringList key = allowed;
    key << QStringLiteral("|");
    for (const FocusAppOption &option : session.availableApplications())
        key << option.bundleIdentifier;
    if (const auto recent = session.recentExternalApplication())
        key << QStringLiteral("|") << keyOf(*recent);
    if (key != m_unavailableKey) {
        m_unavailableKey = key;
        m_unavailable = session.unavailableAllowedApplications(allowed);
    }
    return m_unavailable;
}

void AppGuardPanel::sync(const QColor &accent)
{
    FocusSessionController &session = m_app.focusController().session();
    const QStringList allowed = m_app.settings().focusAllowedBundleIDs();

    const std::optional<FocusAppOption> recent = session.recentExternalApplication();
    const bool offerRecent = recent && !allowed.contains(recent->bundleIdentifier);
    Bind::visible(m_allowRecent, offerRecent);
    if (offerRecent) {
        const QString text = QStringLiteral("Allow ") + recent->name;
        if (m_allowRecent->text() != text) {
            m_allowRecent->setText(text);
            m_allowRecent->setAccessibleName(text);
        }
    }

    const QList<FocusAppOption> available = session.availableApplications();
    Bind::visible(m_choices, !available.isEmpty());
    Bind::visible(m_noApps, available.isEmpty());
    m_choices->setExpanded(m_state.appChoicesExpanded);
    QStringList keys;
    for (const FocusAppOption &option : available)
        keys << keyOf(option);
    m_grid->setIds(keys, [this, &available](const QString &key) {
        const FocusAppOption option = *std::find_if(available.begin(), available.end(),
                                                    [&key](const FocusAppOption &o) { return keyOf(o) == key; });
        auto *tile = new SelectableTile(QStringLiteral("square"), option.name, SelectableTile::Arrangement::inlined,
                                        m_grid);
        tile->setAccessibleName(option.name);
        tile->setToolTip(option.name);
        tile->setContentAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        const QString identifier = option.bundleIdentifier;
        connect(tile, &QAbstractButton::clicked, this, [this, identifier] {
            m_app.setFocusApp(identifier, !m_app.settings().focusAllowedBundleIDs().contains(identifier));
        });
        return tile;
    });
    for (const FocusAppOption &option : available) {
        auto *tile = static_cast<SelectableTile *>(m_grid->row(keyOf(option)));
        const bool isAllowed = allowed.contains(option.bundleIdentifier);
        tile->setSelected(isAllowed);
        // Any number of apps may be allowed: check boxes, not radio circles.
        tile->setSymbol(isAllowed ? QStringLiteral("checkmark.square.fill") : QStringLiteral("square"));
        tile->setSelectionColor(accent);
    }

    const QList<FocusAppOption> &unavailable = unavailableAllowedApplications(allowed);
    Bind::visible(m_unavailableHint, !unavailable.isEmpty());
    Bind::visible(m_unavailableRows, !unavailable.isEmpty());
    QStringList unavailableKeys;
    for (const FocusAppOption &option : unavailable)
        unavailableKeys << keyOf(option);
    m_unavailableRows->setIds(unavailableKeys, [this, &unavailable](const QString &key) {
        const FocusAppOption option = *std::find_if(unavailable.begin(), unavailable.end(),
                                                    [&key](const FocusAppOption &o) { return keyOf(o) == key; });
        return new UnavailableRow(m_app, option, m_unavailableRows);
    });

    Bind::text(m_count, QStringLiteral("%1 allowed").arg(allowed.size()));
}
