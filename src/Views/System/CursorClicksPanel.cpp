#include "Views/System/CursorClicksPanel.h"

#include "Foundation/ScreenGeometry.h"
#include "Views/AppModel.h"
#include "Views/Kit/FlowGrid.h"
#include "Views/Kit/KitStyle.h"
#include "Views/Kit/SelectableTile.h"
#include "Views/Kit/SwitchRow.h"
#include "Views/Kit/TextLabels.h"
#include "Views/System/SystemPageText.h"

#include <QCursor>

#include <algorithm>

CursorClicksPanel::CursorClicksPanel(AppModel &app, QWidget *parent)
    : SettingsPanel(QStringLiteral("Cursor Clicks"), QStringLiteral("cursorarrow.click.2"), parent)
    , m_app(app)
{
    SettingsStore &settings = app.settings();
    m_toggle = new SwitchRow(QStringLiteral("Show a tiny effect when I click"),
                             {[&settings] { return settings.cursorEffectsEnabled(); },
                              [&settings](bool on) { settings.setCursorEffectsEnabled(on); }},
                             this);
    add(m_toggle);
    // Chips share the row equally; the row wraps (evenly) before any chip would cut its label.
    auto *chipArea = new QWidget(this);
    int widest = 0;
    for (CursorRippleStyle style : allCases<CursorRippleStyle>()) {
        const SystemPageText::SymbolText chip = SystemPageText::cursorChip(style);
        auto *button = new SelectableTile(chip.symbol, chip.text, SelectableTile::Arrangement::inlined, this);
        button->setFont(KitStyle::font(FontRole::body));
        button->setCornerRadius(9);
        button->setPadding(8);
        connect(button, &QAbstractButton::clicked, this, [this, style] { choose(style); });
        widest = std::max(widest, button->sizeHint().width());
        m_chips.emplace_back(style, button);
    }
    auto *chips = new FlowGrid(widest, 9, 9, chipArea);
    chips->setRows(FlowGrid::Rows::balanced);
    for (const auto &[style, chip] : m_chips) {
        chip->setParent(chipArea);
        chips->addWidget(chip);
    }
    add(chipArea);
    add(TextLabels::hint(QStringLiteral("Only click events are observed\u2014there is no continuous cursor polling. The "
                                        "effect is click-through and disappears in under a second."),
                         this));
}

void CursorClicksPanel::choose(CursorRippleStyle style)
{
    SettingsStore &settings = m_app.settings();
    settings.setCursorEffectStyleID(rawValue(style));
    const QPointF pointer = ScreenGeometry::fromQt(QCursor::pos(), ScreenGeometry::primaryScreenHeight());
    // What the store holds now decides the look, as it does for real clicks.
    m_app.effectsController().overlays().showCursorRipple(
        pointer, fromRawOrFirst<CursorRippleStyle>(settings.cursorEffectStyleID()));
}

void CursorClicksPanel::sync()
{
    const SettingsStore &settings = m_app.settings();
    const QColor accent = KitStyle::accent(settings);
    m_toggle->sync();
    m_toggle->setAccent(accent);
    for (const auto &[style, chip] : m_chips) {
        chip->setSelectionColor(accent);
        chip->setSelected(settings.cursorEffectStyleID() == rawValue(style));
    }
}
