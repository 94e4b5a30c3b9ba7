#include "Views/Kit/MetricTile.h"

#include "Views/Kit/Bind.h"
#include "Views/Kit/KitStyle.h"
#include "Views/Kit/TextLabels.h"

#include <QLabel>
#include <QVBoxLayout>

MetricTile::MetricTile(const QString &caption, const QString &value, QWidget *parent)
    : QWidget(parent)
{
    setAccessibleName(caption);
    auto *captionLabel = new QLabel(caption, this);
    captionLabel->setFont(KitStyle::font(FontRole::caption));
    TextLabels::tint(captionLabel, ColorRole::secondary);
    m_value = new QLabel(value, this);
    m_value->setFont(KitStyle::font(FontRole::headline));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(3);
    layout->addWidget(captionLabel);
    layout->addWidget(m_value);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
}

void MetricTile::setValue(const QString &value)
{
    Bind::text(m_value, value);
}
