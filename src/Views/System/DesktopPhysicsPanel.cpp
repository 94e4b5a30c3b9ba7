#include "Views/System/DesktopPhysicsPanel.h"

#include "Views/AppModel.h"
#include "Views/Kit/KitStyle.h"
#include "Views/Kit/FlowGrid.h"
#include "Views/Kit/ProminentButton.h"
#include "Views/Kit/SwitchRow.h"
#include "Views/Kit/SymbolLabel.h"
#include "Views/Kit/TextLabels.h"
#include "Views/System/SystemPageText.h"
#include "Views/System/SystemRows.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr int modeMinimumWidth = 145;
constexpr int modeSpacing = 9;
constexpr int modeVerticalPadding = 8;
}

DesktopPhysicsPanel::DesktopPhysicsPanel(AppModel &app, QWidget *parent)
    : SettingsPanel(QStringLiteral("Desktop Physics"), QStringLiteral("sparkles.rectangle.stack"), parent)
    , m_app(app)
{
    SettingsStore &settings = app.settings();
    ChaosEffectController &chaos = app.effectsController().chaosEffects();
    m_toggle = new SwitchRow(QStringLiteral("Enable safe physics and Chaos"),
                             {[&settings] { return settings.physicsEffectsEnabled(); },
                              [&settings](bool on) { settings.setPhysicsEffectsEnabled(on); }},
                             this);
    add(m_toggle);
    add(TextLabels::hint(QStringLiteral("Plinkly creates visual copies of desktop items. It never moves, renames, "
                                        "deletes, or edits your real files. The effect stays until you open a file, "
                                        "press Esc, or stop it here."),
                         this));

    m_precise = new SymbolLabel(QStringLiteral("checkmark.circle.fill"), QStringLiteral("Precise file manager positions available"),
                                KitStyle::font(FontRole::caption), ColorRole::green, this);
    add(m_precise);
    m_approximate = new QWidget(this);
    auto *approximate = new QVBoxLayout(m_approximate);
    approximate->setContentsMargins(0, 0, 0, 0);
    approximate->setSpacing(8);
    approximate->addWidget(TextLabels::hint(QStringLiteral("Optional file manager Accessibility makes files fall from "
                                                           "their current positions; without it, the layout is "
                                                           "approximate."),
                                            m_approximate));
    QPushButton *enable = TextLabels::borderedButton(QStringLiteral("hand.raised"),
                                                     QStringLiteral("Enable precise icon drop"), m_approximate);
    connect(enable, &QPushButton::clicked, this, [this] {
        m_app.input().permissions().requestAccessibility();
        m_app.effectsController().chaosEffects().enablePreciseIconDrop();
    });
    approximate->addWidget(SystemRows::row({enable, nullptr}, 6, m_approximate));
    add(m_approximate);

    m_modes = new QWidget(this);
    auto *grid = new FlowGrid(modeMinimumWidth, modeSpacing, modeSpacing, m_modes);
    grid->setContentsMargins(0, 0, 0, 0);
    for (ChaosMode mode : allCases<ChaosMode>()) {
        const SystemPageText::SymbolText title = SystemPageText::chaosButton(mode);
        QPushButton *button = TextLabels::borderedButton(title.symbol, title.text, m_modes);
        button->setMinimumHeight(button->fontMetrics().height() + 2 * modeVerticalPadding);
        connect(button, &QPushButton::clicked, this, [&chaos, mode] { chaos.trigger(mode); });
        grid->addWidget(button);
    }
    add(m_modes);

    m_runningLabel = new SymbolLabel(QStringLiteral("play.circle.fill"), QString(), KitStyle::font(FontRole::body),
                                     ColorRole::pink, this);
    auto *stop = new ProminentButton(QStringLiteral("stop.fill"), QStringLiteral("Stop Now"), this);
    stop->setTint(KitStyle::color(ColorRole::red));
    connect(stop, &QPushButton::clicked, this, [&chaos] { chaos.reset(); });
    m_running = SystemRows::row({m_runningLabel, nullptr, stop}, 6, this);
    add(m_running);
}

void DesktopPhysicsPanel::sync()
{
    const SettingsStore &settings = m_app.settings();
    const ChaosEffectController &chaos = m_app.effectsController().chaosEffects();
    m_toggle->sync();
    m_toggle->setAccent(KitStyle::accent(settings));
    Bind::visible(m_precise, chaos.hasIconPositions());
    Bind::visible(m_approximate, !chaos.hasIconPositions());
    Bind::enabled(m_modes, !settings.effectsPaused() && settings.physicsEffectsEnabled());
    Bind::visible(m_running, chaos.isActive());
    m_runningLabel->setText(SystemPageText::chaosRunning(chaos.activeMode()));
}
