#pragma once

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QWidget>

#include <functional>

// A value a widget shows and edits: read again on every sync, written only by the user.
template <typename T>
struct Binding {
    std::function<T()> get;
    std::function<void(T)> set;
};

// Updates a widget from a value only when the value differs, with the widget's signals
// blocked, so a sync never writes back and never disturbs what the user is doing.
namespace Bind {

inline void text(QLabel *label, const QString &value)
{
    if (label->text() != value)
        label->setText(value);
}

// A field the user is typing in keeps its text.
inline void text(QLineEdit *field, const QString &value)
{
    if (field->hasFocus() || field->text() == value)
        return;
    const QSignalBlocker blocker(field);
    field->setText(value);
}

inline void text(QPlainTextEdit *editor, const QString &value)
{
    if (editor->hasFocus() || editor->toPlainText() == value)
        return;
    const QSignalBlocker blocker(editor);
    editor->setPlainText(value);
}

inline void checked(QAbstractButton *button, bool value)
{
    if (button->isChecked() == value)
        return;
    const QSignalBlocker blocker(button);
    button->setChecked(value);
}

inline void value(QAbstractSlider *slider, int value)
{
    if (slider->value() == value)
        return;
    const QSignalBlocker blocker(slider);
    slider->setValue(value);
}

inline void enabled(QWidget *widget, bool value)
{
    if (widget->isEnabled() != value)
        widget->setEnabled(value);
}

// Compared with the widget's own flag, not isVisible(), so it also works while the window
// is hidden.
inline void visible(QWidget *widget, bool value)
{
    if (widget->isHidden() == value)
        widget->setVisible(value);
}

}
