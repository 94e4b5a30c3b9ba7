#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The project's own drawings of the symbols no icon theme names: black SVG on a 24×24 grid,
// tinted when drawn.
namespace SymbolArtwork {
// The SVG document of a symbol, or an empty array when there is no drawing.
QByteArray svg(const QString &symbol);
QStringList symbols();
}
