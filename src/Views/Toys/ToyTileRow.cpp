#include "Views/Toys/ToyTileRow.h"

#include "Views/AppModel.h"
#include "Views/Kit/Bind.h"
#include "Views/Kit/SelectableTile.h"
#include "Views/Toys/ToyBlocking.h"

#include <QHBoxLayout>

ToyTileRow::ToyTileRow(AppModel &app, QWidget *parent)
    : QWidget(parent)
    , m_app(app)
{
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(9);
    for (ScreenToyKind kind : allCases<ScreenToyKind>()) {
        auto *tile = new SelectableTile(ScreenToyKinds::symbolName(kind), ScreenToyKinds::title(kind),
                                        SelectableTile::Arrangement::stacked, this);
        tile->setFixedHeight(76);
        connect(tile, &QAbstractButton::clicked, this, [this, kind] { press(kind); });
        row->addWidget(tile, 1);
        m_tiles.insert(kind, tile);
    }
}

void ToyTileRow::sync(const QColor &accent)
{
    const std::optional<ScreenToyKind> active = m_app.screenToys().activeToy();
    Bind::enabled(this, !ToyBlocking::isBlocked(m_app));
    for (auto it = m_tiles.cbegin(); it != m_tiles.cend(); ++it) {
        SelectableTile *tile = it.value();
        const bool selected = active == it.key();
        tile->setSelectionColor(accent);
        tile->setSelected(selected);
        const QString name = (selected ? QStringLiteral("Stop ") : QStringLiteral("Equip ")) + ScreenToyKinds::title(it.key());
        if (tile->accessibleName() != name)
            tile->setAccessibleName(name);
    }
}

void ToyTileRow::press(ScreenToyKind kind)
{
    ScreenToyController &toys = m_app.screenToys();
    if (toys.activeToy() == kind)
        toys.stop();
    else if (!ToyBlocking::isBlocked(m_app))
        toys.equip(kind);
}
