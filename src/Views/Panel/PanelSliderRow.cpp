#include "Views/Panel/PanelSliderRow.h"

#include "Views/Kit/KitStyle.h"
#include "Views/Kit/SettingsText.h"
#include "Views/Kit/SymbolIcon.h"
#include "Views/Kit/SymbolView.h"
#include "Views/Kit/WheelGuard.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QSlider>

#include <cmath>

PanelSliderRow *PanelSliderRow::volume(const QString &title, Binding<double> value, QWidget *parent)
{
    return new PanelSliderRow(title, std::move(value), 0.0, 1.5, 150, true, parent);
}

PanelSliderRow *PanelSliderRow::plain(const QString &title, Binding<double> value, double minimum, double maximum,
                                      QWidget *parent)
{
    return new PanelSliderRow(title, std::move(value), minimum, maximum, 1000, false, parent);
}

PanelSliderRow::PanelSliderRow(const QString &title, Binding<double> value, double minimum, double maximum, int steps,
                               bool volume, QWidget *parent)
    : QWidget(parent)
    , m_value(std::move(value))
    , m_minimum(minimum)
    , m_maximum(maximum)
    , m_steps(steps)
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);
    layout->addWidget(new QLabel(title, this));
    layout->addStretch();

    m_slider = WheelGuard::guard(new QSlider(Qt::Horizontal, this));
    m_slider->setRange(0, steps);
    m_slider->setAccessibleName(title);
    m_slider->setFixedWidth(volume ? 108 : 130);
    if (volume) {
        auto *speaker = new SymbolView(14, this);
        speaker->setIcon(SymbolIcon::icon(QStringLiteral("speaker.fill"), ColorRole::secondary));
        layout->addWidget(speaker);
    }
    layout->addWidget(m_slider);
    if (volume) {
        m_readout = new QLabel(this);
        m_readout->setFont(KitStyle::font(FontRole::caption2));
        m_readout->setFixedWidth(30);
        m_readout->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        layout->addWidget(m_readout);
    }
    connect(m_slider, &QSlider::valueChanged, this,
            [this](int step) { m_value.set(m_minimum + (m_maximum - m_minimum) * step / m_steps); });
    sync();
}

void PanelSliderRow::sync()
{
    const double value = m_value.get();
    if (m_readout)
        Bind::text(m_readout, SettingsText::percent(value));
    const double span = m_maximum - m_minimum;
    const double fraction = std::isfinite(value) ? std::clamp((value - m_minimum) / span, 0.0, 1.0) : 0.0;
    Bind::value(m_slider, int(std::lround(fraction * m_steps)));
}

QString PanelSliderRow::readoutText() const
{
    return m_readout ? m_readout->text() : QString();
}
