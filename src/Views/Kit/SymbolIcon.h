#pragma once

#include "Foundation/Appearance.h"

#include <QColor>
#include <QIcon>
#include <QString>
#include <QStringList>

#include <functional>

class QAbstractButton;

// Icons for the interface's symbol names ("keyboard", "pause.fill", "pawprint.fill" …).
// A symbol is drawn from the freedesktop icon theme when the theme has a matching icon and
// from the project's own artwork otherwise; every icon is monochrome and tinted.
namespace SymbolIcon {

// Where an icon takes its ink each time it is drawn, so an icon kept by a widget or a style
// follows a change of scheme.
using Ink = std::function<QColor()>;

// The symbol's icon in `tint`; disabled icons are drawn faded. An unknown symbol gives a
// null icon. Theme icons always come from Adwaita, set explicitly, so every desktop and a
// bare X server show the same icons.
QIcon icon(const QString &symbol, const QColor &tint);
// In the role's colour of the application palette at the moment it is drawn.
QIcon icon(const QString &symbol, ColorRole role);
QIcon icon(const QString &symbol, Ink ink);

// Gives a button with text the symbol as its leading icon, kept a fixed gap from the text
// whatever the style puts between them.
void setLeadingIcon(QAbstractButton *button, const QString &symbol, const QColor &tint);

// Whether the symbol has a source (theme name or artwork).
bool isKnown(const QString &symbol);

// Every symbol name the interface uses, for checks that each of them draws.
QStringList knownSymbols();

}
