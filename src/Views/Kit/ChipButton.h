#pragma once

#include "Views/Kit/SelectableTile.h"

// A style chip: title with its symbol, caption font semibold, centred, at least 38 px high,
// corner radius 12. Rows of chips share their width equally.
class ChipButton final : public SelectableTile {
    Q_OBJECT

public:
    ChipButton(const QString &symbol, const QString &title, QWidget *parent = nullptr);
};
