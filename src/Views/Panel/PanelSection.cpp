#include "Views/Panel/PanelSection.h"

#include "Views/AppModel.h"
#include "Views/Kit/KitStyle.h"

#include <QFrame>
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

QFrame *PanelSection::divider(QWidget *parent)
{
    auto *line = new QFrame(parent);
    line->setFrameShape(QFrame::NoFrame);
    line->setFixedHeight(1);
    line->setStyleSheet(QStringLiteral("background: %1;").arg(KitStyle::color(ColorRole::separator).name(QColor::HexArgb)));
    return line;
}
