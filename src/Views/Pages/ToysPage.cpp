#include "Views/Pages/ToysPage.h"

#include "Views/AppModel.h"
#include "Views/Kit/Bind.h"
#include "Views/Kit/DividerLine.h"
#include "Views/Kit/KitStyle.h"
#include "Views/Kit/SettingsPanel.h"
#include "Views/Kit/SymbolLabel.h"
#include "Views/Kit/TextLabels.h"
#include "Views/Kit/VolumeControl.h"
#include "Views/Toys/HandTonePicker.h"
#include "Views/Toys/ToyBlocking.h"
#include "Views/Toys/ToyTileRow.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

ToysPage::ToysPage(AppModel &app, SettingsViewState &state, QWidget *parent)
    : ControlPage(app, state, parent)
{
    SettingsStore &settings = app.settings();
    ScreenToyController &toys = app.screenToys();
    auto *panel = new SettingsPanel(QStringLiteral("Screen Toys"), QStringLiteral("cursorarrow.motionlines"), this);
    panel->add(TextLabels::intro(QStringLiteral(
        "Click to fire or throw a Grenade; hold to fire the AK-47. Clicks still reach the app underneath. Grab the "
        "Whip, swing, then pull back sharply to crack its tip. Esc clears every toy.")));

    m_tiles = new ToyTileRow(app, panel);
    panel->add(m_tiles);
    m_blocked = TextLabels::hint(QString(), panel);
    panel->add(m_blocked);
    m_status = new SymbolLabel(QStringLiteral("exclamationmark.circle"), QString(), KitStyle::font(FontRole::caption),
                               ColorRole::orange, panel);
    panel->add(m_status);
    // Our own explanation of how to give the application input access.
    m_inputAccess = TextLabels::borderedButton(QStringLiteral("hand.raised"), QStringLiteral("Open Input Access help"),
                                               panel);
    connect(m_inputAccess, &QPushButton::clicked, this, [&app] { app.input().permissions().showInputMonitoringHelp(); });
    auto *accessRow = new QHBoxLayout;
    accessRow->addWidget(m_inputAccess);
    accessRow->addStretch();
    panel->add(accessRow);

    panel->add(new DividerLine(panel));

    m_handTones = new HandTonePicker(settings, panel);
    panel->add(m_handTones);
    m_volume = new VolumeControl(QStringLiteral("Toy sounds"), {[&settings] { return settings.toyVolume(); },
                                                                [&settings](double value) { settings.setToyVolume(value); }},
                                 panel);
    panel->add(m_volume);

    m_clearMarks = TextLabels::borderedButton(QStringLiteral("eraser"), QStringLiteral("Clear marks"), panel);
    connect(m_clearMarks, &QPushButton::clicked, this, [&toys] { toys.clearMarks(); });
    m_stopToy = TextLabels::borderedButton(QStringLiteral("stop.fill"), QStringLiteral("Stop toy"), panel);
    connect(m_stopToy, &QPushButton::clicked, this, [&toys] { toys.stop(); });
    auto *actions = new QHBoxLayout;
    actions->addWidget(m_clearMarks);
    actions->addWidget(m_stopToy);
    actions->addStretch();
    m_exitHint = TextLabels::hint(QStringLiteral("Esc to exit"), panel);
    actions->addWidget(m_exitHint);
    panel->add(actions);
    panel->add(TextLabels::hint(QStringLiteral("Temporary visuals only. Your apps, windows, and files are never changed."), panel));
    addSection(panel);
}

namespace {
// How a toy in hand is put away, as far as Esc reaches.
QString exitHint(ScreenToyController::EscapeReach reach)
{
    switch (reach) {
    case ScreenToyController::EscapeReach::desktop: return QStringLiteral("Esc to exit");
    case ScreenToyController::EscapeReach::ownWindows: return QStringLiteral("Esc exits in Plinkly’s windows");
    case ScreenToyController::EscapeReach::none: return QStringLiteral("Stop toy to exit");
    }
    return {};
}
}

void ToysPage::sync()
{
    const ScreenToyController &toys = app().screenToys();
    const bool toyActive = toys.activeToy().has_value();
    m_tiles->sync(accent());

    const std::optional<QString> blocked =
        ToyBlocking::reason(app().settings().effectsPaused(), app().focusController().session().isActive());
    Bind::text(m_blocked, blocked.value_or(QString()));
    Bind::visible(m_blocked, blocked.has_value());

    const std::optional<QString> &status = toys.status();
    if (status) {
        // Only the toy's own "active" line is good news; a warning while a toy is in hand
        // (Esc or the pointer out of reach) keeps the warning's look.
        const bool good = toyActive && *status == ScreenToyController::activeText(*toys.activeToy());
        m_status->setText(*status);
        m_status->setSymbol(good ? QStringLiteral("checkmark.circle.fill") : QStringLiteral("exclamationmark.circle"));
        m_status->setColor(KitStyle::color(good ? ColorRole::secondary : ColorRole::orange));
    }
    Bind::text(m_exitHint, exitHint(toyActive ? toys.escapeReach() : ScreenToyController::EscapeReach::desktop));
    Bind::visible(m_status, status.has_value());
    Bind::visible(m_inputAccess, !app().input().permissions().hasInputMonitoring());

    m_handTones->sync();
    m_volume->sync();
    Bind::enabled(m_clearMarks, toys.markCount() > 0);
    Bind::enabled(m_stopToy, toyActive);
}
