#include "Views/Kit/SwitchRow.h"

#include "Views/Kit/SwitchToggle.h"

#include <QHBoxLayout>
#include <QLabel>

SwitchRow::SwitchRow(const QString &title, Binding<bool> value, QWidget *parent)
    : QWidget(parent)
    , m_value(std::move(value))
{
    auto *label = new QLabel(title, this);
    label->setWordWrap(true);
    m_toggle = new SwitchToggle(title, this);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(label, 1);
    layout->addWidget(m_toggle);
    connect(m_toggle, &QAbstractButton::toggled, this, [this](bool on) { m_value.set(on); });
    sync();
}

void SwitchRow::sync()
{
    Bind::checked(m_toggle, m_value.get());
}

void SwitchRow::setAccent(const QColor &accent)
{
    m_toggle->setAccent(accent);
}
