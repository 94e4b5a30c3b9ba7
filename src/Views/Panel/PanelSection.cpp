#include "Views/Panel/PanelSection.h"

#include "Views/AppModel.h"
#include "Views/Kit/DividerLine.h"
#include "Views/Kit/KitStyle.h"

#include <QVBoxLayout>

PanelSection::PanelSection(AppModel &app, QWidget *parent)
    : QWidget(parent)
    , m_app(app)
    , m_rows(new QVBoxLayout(this))
{
    m_rows->setContentsMargins(0, 0, 0, 0);
    m_rows->setSpacing(12);
}

QColor PanelSection::accent() const
{
    return KitStyle::accent(m_app.settings());
}

void PanelSection::closePanel()
{
    window()->hide();
}

QWidget *PanelSection::divider(QWidget *parent)
{
    return new DividerLine(parent);
}
