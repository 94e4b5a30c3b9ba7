#include "Views/Kit/SettingSlider.h"

#include "Views/Kit/KitStyle.h"
#include "Views/Kit/SettingsText.h"
#include "Views/Kit/TextLabels.h"
#include "Views/Kit/WheelGuard.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QSlider>

#include <cmath>

namespace {
constexpr int sliderSteps = 1000;
}

SettingSlider::SettingSlider(const QString &title, Binding<double> value, double minimum, double maximum,
                             const QString &suffix, QWidget *parent)
    : QWidget(parent)
    , m_value(std::move(value))
    , m_minimum(minimum)
    , m_maximum(maximum)
    , m_suffix(suffix)
{
    auto *titleLabel = new QLabel(title, this);
    titleLabel->setFixedWidth(112);
    m_slider = WheelGuard::guard(new QSlider(Qt::Horizontal, this));
    m_slider->setRange(0, sliderSteps);
    m_slider->setAccessibleName(title);
    m_readout = new QLabel(this);
    m_readout->setFont(KitStyle::font(FontRole::caption));
    TextLabels::tint(m_readout, ColorRole::secondary);
    m_readout->setFixedWidth(50);
    m_readout->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(titleLabel);
    layout->addWidget(m_slider, 1);
    layout->addWidget(m_readout);

    connect(m_slider, &QSlider::valueChanged, this, [this](int step) {
        m_value.set(m_minimum + (m_maximum - m_minimum) * step / sliderSteps);
    });
    sync();
}

void SettingSlider::sync()
{
    const double value = m_value.get();
    Bind::text(m_readout, SettingsText::sliderReadout(value, m_suffix));
    const double span = m_maximum - m_minimum;
    const double fraction = std::isfinite(value) && span > 0 ? std::clamp((value - m_minimum) / span, 0.0, 1.0) : 0.0;
    Bind::value(m_slider, int(std::lround(fraction * sliderSteps)));
}

QString SettingSlider::readoutText() const
{
    return m_readout->text();
}
