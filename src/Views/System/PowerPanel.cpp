#include "Views/System/PowerPanel.h"

#include "Views/AppModel.h"
#include "Views/Kit/KitStyle.h"
#include "Views/Kit/SelectableTile.h"
#include "Views/Kit/SwitchRow.h"
#include "Views/Kit/TextLabels.h"
#include "Views/System/SystemPageText.h"
#include "Views/System/SystemRows.h"

#include <QHBoxLayout>
#include <QLabel>

namespace {

using Kind = SystemReactionEvent::Kind;
// "Preview low battery" always shows the 10 % crossing, whatever the battery says.
constexpr int previewThreshold = 10;
constexpr int chipHorizontalPadding = 10;
constexpr int chipVerticalPadding = 6;

}

PowerPanel::PowerPanel(AppModel &app, QWidget *parent)
    : SettingsPanel(QStringLiteral("Power"), QStringLiteral("battery.75percent"), parent)
    , m_app(app)
{
    SettingsStore &settings = app.settings();
    m_toggle = new SwitchRow(QStringLiteral("Charging and battery reactions"),
                             {[&settings] { return settings.batteryReactionsEnabled(); },
                              [&settings](bool on) { settings.setBatteryReactionsEnabled(on); }},
                             this);
    add(m_toggle);
    add(TextLabels::hint(QStringLiteral("Reacts once when the charger changes, the battery becomes full, or it crosses "
                                        "20%, 10%, 5%, and 1%\u2014never on every percentage tick."),
                         this));

    const auto charge = [this] { preview(SystemReactionEvent::of(Kind::chargerConnected)); };
    m_previews = SystemRows::row(
        {SystemRows::previewButton(QStringLiteral("bolt.fill"), QStringLiteral("Preview charge"), charge),
         SystemRows::previewButton(QStringLiteral("battery.25percent"), QStringLiteral("Preview low battery"),
                                   [this] { preview(SystemReactionEvent::lowBattery(previewThreshold)); }),
         SystemRows::previewButton(QStringLiteral("battery.100percent"), QStringLiteral("Preview full"),
                                   [this] { preview(SystemReactionEvent::of(Kind::fullyCharged)); }),
         nullptr},
        6, this);
    add(m_previews);

    m_looks = new QWidget(this);
    auto *looks = new QHBoxLayout(m_looks);
    looks->setContentsMargins(0, 0, 0, 0);
    looks->setSpacing(8);
    auto *title = new QLabel(QStringLiteral("Charging look"), m_looks);
    title->setFont(KitStyle::font(FontRole::caption, QFont::DemiBold));
    looks->addWidget(title);
    looks->addStretch(1);
    for (ChargingVisualStyle style : allCases<ChargingVisualStyle>()) {
        const SystemPageText::SymbolText chip = SystemPageText::chargingChip(style);
        auto *button = new SelectableTile(chip.symbol, chip.text, SelectableTile::Arrangement::inlined, m_looks);
        button->setFont(KitStyle::font(FontRole::caption, QFont::DemiBold));
        button->setSymbolSize(13);
        button->setPadding(chipVerticalPadding);
        // A capsule: fixed to its content with the wider side padding, fully rounded ends.
        const QSize size = button->sizeHint() + QSize(2 * (chipHorizontalPadding - chipVerticalPadding), 0);
        button->setFixedSize(size);
        button->setCornerRadius(size.height() / 2.0);
        connect(button, &QAbstractButton::clicked, this, [this, style, charge] {
            m_app.settings().setChargingVisualStyleID(rawValue(style));
            charge();
        });
        looks->addWidget(button);
        m_chips.emplace_back(style, button);
    }
    add(m_looks);
}

void PowerPanel::preview(const SystemReactionEvent &event)
{
    SystemReactionController &reactions = m_app.effectsController().systemReactions();
    if (reactions.batteryEnabled)
        reactions.report(event);
}

void PowerPanel::sync()
{
    const SettingsStore &settings = m_app.settings();
    m_toggle->sync();
    m_toggle->setAccent(KitStyle::accent(settings));
    const bool systemOn = settings.systemReactionsEnabled();
    const bool previews = systemOn && settings.batteryReactionsEnabled();
    Bind::enabled(m_toggle, systemOn);
    Bind::enabled(m_previews, previews);
    Bind::enabled(m_looks, previews);
    // Green has another shade in each scheme.
    const QColor selection = KitStyle::color(ColorRole::green);
    for (const auto &[style, chip] : m_chips) {
        chip->setSelected(settings.chargingVisualStyleID() == rawValue(style));
        chip->setSelectionColor(selection);
    }
}
