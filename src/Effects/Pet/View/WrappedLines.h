#pragma once

#include <QFont>
#include <QStringList>

// The text wrapped at word boundaries into at most `maxLines` lines of `width`, the last one
// carrying the rest cut at the end; a word too long for a line is cut there, never broken.
QStringList wrappedLines(const QString &text, const QFont &font, double width, int maxLines);
