#include "Views/StudioSheetBody.h"

#include "Views/Kit/KitStyle.h"

#include <QLabel>

QWidget *makeStudioSheetBody(AppModel &)
{
    auto *title = new QLabel(QStringLiteral("Sound Studio"));
    title->setFont(KitStyle::font(FontRole::largeTitle, QFont::DemiBold));
    title->setAlignment(Qt::AlignCenter);
    title->setMinimumSize(520, 360);
    return title;
}
