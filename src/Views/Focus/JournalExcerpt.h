#pragma once

#include <QString>

// Journal writing as a wrapping label shows it. A label wraps only between words, so one
// long unbroken run (a pasted link, a key held down) would widen the whole page; and laying
// out hundreds of thousands of characters makes the page slow to show. The journal itself
// keeps the whole text.
namespace JournalExcerpt {
inline constexpr qsizetype maximumCharacters = 500;
// Runs longer than this may break anywhere.
inline constexpr qsizetype longestUnbrokenRun = 24;

// The text with a zero-width space between the characters of a run longer than
// longestUnbrokenRun, from that length on, cut after maximumCharacters with an ellipsis.
QString forLabel(const QString &text);
}
