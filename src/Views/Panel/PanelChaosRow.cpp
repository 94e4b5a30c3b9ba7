#include "Views/Panel/PanelChaosRow.h"

#include "Views/AppModel.h"
#include "Views/Kit/KitStyle.h"
#include "Views/Kit/SymbolIcon.h"
#include "Views/Kit/TextLabels.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

PanelChaosRow::PanelChaosRow(AppModel &app, QWidget *parent)
    : PanelSection(app, parent)
{
    ChaosEffectController &chaos = app.effectsController().chaosEffects();
    m_stop = TextLabels::borderedButton(QString(), QStringLiteral("Stop Chaos"), this);
    const QColor red = KitStyle::color(ColorRole::red);
    SymbolIcon::setLeadingIcon(m_stop, QStringLiteral("stop.fill"), red);
    QPalette palette = m_stop->palette();
    palette.setColor(QPalette::ButtonText, red);
    m_stop->setPalette(palette);
    connect(m_stop, &QPushButton::clicked, this, [&chaos] { chaos.reset(); });

    m_chaos = TextLabels::borderedButton(QStringLiteral("sparkles"), QStringLiteral("Chaos"), this);
    connect(m_chaos, &QPushButton::clicked, this, [&chaos] { chaos.trigger(ChaosModes::random()); });
    m_gravity = TextLabels::borderedButton(QStringLiteral("arrow.down.to.line.compact"), QStringLiteral("Gravity"), this);
    connect(m_gravity, &QPushButton::clicked, this, [&chaos] { chaos.trigger(ChaosMode::gravity); });

    auto *row = new QHBoxLayout;
    row->addWidget(m_stop);
    row->addWidget(m_chaos);
    row->addWidget(m_gravity);
    row->addStretch();
    rows()->addLayout(row);
}

void PanelChaosRow::sync()
{
    const ChaosEffectController &chaos = app().effectsController().chaosEffects();
    const bool active = chaos.isActive();
    const bool available = !app().settings().effectsPaused() && app().settings().physicsEffectsEnabled();
    const std::optional<ChaosMode> mode = chaos.activeMode();
    const QString stopText = QStringLiteral("Stop ") + (mode ? ChaosModes::displayName(*mode) : QStringLiteral("Chaos"));
    if (m_stop->text() != stopText) {
        m_stop->setText(stopText);
        m_stop->setAccessibleName(stopText);
    }
    Bind::visible(m_stop, active);
    for (QPushButton *button : {m_chaos, m_gravity}) {
        Bind::visible(button, !active);
        Bind::enabled(button, available);
    }
}
