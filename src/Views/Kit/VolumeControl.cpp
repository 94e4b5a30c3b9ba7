#include "Views/Kit/VolumeControl.h"

#include "Views/Kit/KitStyle.h"
#include "Views/Kit/SettingsText.h"
#include "Views/Kit/SymbolIcon.h"
#include "Views/Kit/WheelGuard.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QSlider>
#include <QToolButton>
#include <QVBoxLayout>

#include <cmath>

namespace {

QToolButton *stepButton(const QString &symbol, const QString &name, QWidget *parent)
{
    auto *button = new QToolButton(parent);
    button->setAutoRaise(true);
    button->setIcon(SymbolIcon::icon(symbol, ColorRole::secondary));
    button->setIconSize(QSize(16, 16));
    button->setAccessibleName(name);
    button->setFocusPolicy(Qt::TabFocus);
    return button;
}

}

VolumeControl::VolumeControl(const QString &title, Binding<double> value, QWidget *parent)
    : QWidget(parent)
    , m_value(std::move(value))
{
    setAccessibleName(title);
    auto *titleLabel = new QLabel(title, this);
    titleLabel->setFont(KitStyle::font(FontRole::subheadline));
    m_readout = new QLabel(this);
    m_readout->setFont(KitStyle::font(FontRole::caption, QFont::DemiBold));
    m_readout->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_readout->setMinimumWidth(QFontMetrics(m_readout->font()).horizontalAdvance(QStringLiteral("150%  BOOST")));

    auto *top = new QHBoxLayout;
    top->addWidget(titleLabel);
    top->addStretch();
    top->addWidget(m_readout);

    m_minus = stepButton(QStringLiteral("speaker.minus.fill"), title + QStringLiteral(" down"), this);
    m_plus = stepButton(QStringLiteral("speaker.plus.fill"), title + QStringLiteral(" up"), this);
    m_slider = WheelGuard::guard(new QSlider(Qt::Horizontal, this));
    m_slider->setRange(0, 150);
    m_slider->setAccessibleName(title);
    auto *bottom = new QHBoxLayout;
    bottom->setSpacing(9);
    bottom->addWidget(m_minus);
    bottom->addWidget(m_slider, 1);
    bottom->addWidget(m_plus);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(7);
    layout->addLayout(top);
    layout->addLayout(bottom);

    connect(m_minus, &QToolButton::clicked, this, [this] { m_value.set(SettingsText::volumeStepDown(m_value.get())); });
    connect(m_plus, &QToolButton::clicked, this, [this] { m_value.set(SettingsText::volumeStepUp(m_value.get())); });
    connect(m_slider, &QSlider::valueChanged, this, [this](int percent) { m_value.set(percent / 100.0); });
    sync();
}

void VolumeControl::sync()
{
    const double value = m_value.get();
    const SettingsText::VolumeReadout readout = SettingsText::volumeReadout(value);
    Bind::text(m_readout, readout.text);
    const QString style = QStringLiteral("color: %1")
                              .arg(KitStyle::color(readout.boost ? ColorRole::orange : ColorRole::secondary).name());
    if (m_readout->styleSheet() != style)
        m_readout->setStyleSheet(style);
    // The slider clamps silently; the blocked update keeps that from reaching the setting.
    const int percent = std::isfinite(value) ? int(std::lround(std::clamp(value, 0.0, 1.5) * 100)) : 0;
    Bind::value(m_slider, percent);
}

QString VolumeControl::readoutText() const
{
    return m_readout->text();
}
