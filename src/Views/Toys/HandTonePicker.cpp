#include "Views/Toys/HandTonePicker.h"

#include "Services/SettingsStore.h"
#include "Views/Kit/ColorSwatch.h"
#include "Views/Kit/KitStyle.h"

#include <QHBoxLayout>
#include <QLabel>

HandTonePicker::HandTonePicker(SettingsStore &settings, QWidget *parent)
    : QWidget(parent)
    , m_settings(settings)
{
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(12);
    auto *title = new QLabel(QStringLiteral("Hands"), this);
    title->setFont(KitStyle::font(FontRole::subheadline));
    row->addWidget(title);
    row->addStretch();
    for (ScreenToyHandTone tone : allCases<ScreenToyHandTone>()) {
        const QString raw = rawValue(tone);
        const QString word = raw.left(1).toUpper() + raw.mid(1);
        auto *swatch = new ColorSwatch(ScreenToyHandTones::color(tone), word + QStringLiteral(" hand tone"), this);
        swatch->setToolTip(word);
        connect(swatch, &QAbstractButton::clicked, this, [this, raw] { m_settings.setToyHandToneID(raw); });
        row->addWidget(swatch);
        m_swatches.insert(tone, swatch);
    }
    sync();
}

void HandTonePicker::sync()
{
    const QString stored = m_settings.toyHandToneID();
    for (auto it = m_swatches.cbegin(); it != m_swatches.cend(); ++it)
        it.value()->setSelected(rawValue(it.key()) == stored);
}
