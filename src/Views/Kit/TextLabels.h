#pragma once

#include "Views/Kit/KitStyle.h"

#include <QString>

#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

// The text roles every card repeats, as ready-made labels and buttons.
namespace TextLabels {
// An introduction: subheadline, secondary, wrapping.
QLabel *intro(const QString &text, QWidget *parent = nullptr);
// A hint, count or footnote: caption, secondary, wrapping.
QLabel *hint(const QString &text, QWidget *parent = nullptr);
// A service's error line: caption, red, wrapping; hidden while there is no error.
QLabel *error(QWidget *parent = nullptr);
void setError(QLabel *label, const std::optional<QString> &error);
// Colours a label's text with a role, following the scheme.
void tint(QLabel *label, ColorRole role);
// A secondary action: a bordered push button with an optional symbol before its text, both
// in `content`; `extraStyle` adds style-sheet rules of the caller's own.
QPushButton *borderedButton(const QString &symbol, const QString &text, QWidget *parent = nullptr,
                            ColorRole content = ColorRole::primary, const QString &extraStyle = {});
// A wheel-safe picker whose edge stands out from the card in both schemes.
QComboBox *picker(QWidget *parent = nullptr);
// A check box whose square stands out from the card in both schemes.
QCheckBox *checkBox(const QString &text, QWidget *parent = nullptr);
// A one-line text field with the kit's rounded corners and padding.
QLineEdit *textField(QWidget *parent = nullptr);
}
