#pragma once

#include "Effects/ScreenToys/ScreenToyKind.h"

#include <QHash>
#include <QWidget>

#include <optional>

class AppModel;
class SelectableTile;

// One tile per toy, sharing the row: the toy in hand is white on the accent and puts the toy
// away when pressed; any other tile equips its toy unless toys rest at the moment of the press.
class ToyTileRow final : public QWidget {
    Q_OBJECT

public:
    explicit ToyTileRow(AppModel &app, QWidget *parent = nullptr);

    void sync(const QColor &accent);
    SelectableTile *tile(ScreenToyKind kind) const { return m_tiles.value(kind); }

private:
    void press(ScreenToyKind kind);

    AppModel &m_app;
    QHash<ScreenToyKind, SelectableTile *> m_tiles;
};
