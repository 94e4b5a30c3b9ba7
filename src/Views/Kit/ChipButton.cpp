#include "Views/Kit/ChipButton.h"

#include "Views/Kit/KitStyle.h"

ChipButton::ChipButton(const QString &symbol, const QString &title, QWidget *parent)
    : SelectableTile(symbol, title, Arrangement::inlined, parent)
{
    setFont(KitStyle::font(FontRole::caption, QFont::DemiBold));
    setCornerRadius(12);
    setSymbolSize(13);
    setPadding(6);
    setContentAlignment(Qt::AlignCenter);
    setMinimumHeight(38);
}
