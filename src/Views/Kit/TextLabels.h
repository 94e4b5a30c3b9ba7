#pragma once

#include <QString>

#include <optional>

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
// A secondary action: a bordered push button with an optional symbol before its text.
QPushButton *borderedButton(const QString &symbol, const QString &text, QWidget *parent = nullptr);
// A one-line text field with the kit's rounded corners and padding.
QLineEdit *textField(QWidget *parent = nullptr);
}
