#include "Views/System/LidDancePanel.h"

#include "Views/AppModel.h"
#include "Views/Kit/KitStyle.h"
#include "Views/Kit/ChipButton.h"
#include "Views/Kit/SwitchRow.h"
#include "Views/Kit/SymbolLabel.h"
#include "Views/Kit/TextLabels.h"
#include "Views/System/SystemPageText.h"
#include "Views/System/SystemRows.h"

#include <QHBoxLayout>
#include <QLabel>

LidDancePanel::LidDancePanel(AppModel &app, QWidget *parent)
    : SettingsPanel(QStringLiteral("Lid Dance"), QStringLiteral("water.waves"), parent)
    , m_app(app)
    , m_hasSensor(app.effectsController().lidAngle().hasSensor())
{
    SettingsStore &settings = app.settings();
    m_toggle = new SwitchRow(QStringLiteral("Animate the screen as the lid moves"),
                             {[&settings] { return settings.lidDanceEnabled(); },
                              [&settings](bool on) { settings.setLidDanceEnabled(on); }},
                             this);
    add(m_toggle);
    add(TextLabels::hint(QStringLiteral("A screen-wide animation follows the lid, while Bloopy leans with it. Windows, "
                                        "widgets, the panel, and the dock stay visible and clickable."),
                         this));

    auto *chips = new QHBoxLayout;
    chips->setSpacing(8);
    for (LidDanceStyle style : allCases<LidDanceStyle>()) {
        const SystemPageText::SymbolText chip = SystemPageText::lidChip(style);
        auto *button = new ChipButton(chip.symbol, chip.text, this);
        connect(button, &QAbstractButton::clicked, this, [this, style] {
            m_app.settings().setLidDanceStyleID(rawValue(style));
            m_app.effectsController().previewLidDance();
        });
        chips->addWidget(button);
        m_chips.emplace_back(style, button);
    }
    add(chips);

    if (m_hasSensor) {
        m_angle = new QLabel(this);
        m_angle->setFont(KitStyle::font(FontRole::caption));
        TextLabels::tint(m_angle, ColorRole::secondary);
        // Wide enough for any reading, so the digits do not shift the row.
        m_angle->setMinimumWidth(m_angle->fontMetrics().horizontalAdvance(QStringLiteral("Lid angle: turn on to read")));
        add(SystemRows::row({m_angle, nullptr,
                             SystemRows::previewButton(QStringLiteral("water.waves"), QStringLiteral("Preview wave"),
                                                       [this] { m_app.effectsController().previewLidDance(); })},
                            6, this));
    } else {
        add(new SymbolLabel(QStringLiteral("info.circle"), QStringLiteral("Lid-angle sensor not available on this computer"),
                            KitStyle::font(FontRole::caption), ColorRole::secondary, this));
    }
}

void LidDancePanel::sync()
{
    const SettingsStore &settings = m_app.settings();
    m_toggle->sync();
    m_toggle->setAccent(KitStyle::accent(settings));
    Bind::enabled(m_toggle, m_hasSensor);
    // Cyan has another shade in each scheme.
    const QColor selection = KitStyle::color(ColorRole::cyan, 0.76);
    for (const auto &[style, chip] : m_chips) {
        chip->setSelected(settings.lidDanceStyleID() == rawValue(style));
        chip->setSelectionColor(selection);
    }
    if (m_angle)
        Bind::text(m_angle, SystemPageText::lidAngle(m_app.effectsController().lidAngle().angle()));
}
