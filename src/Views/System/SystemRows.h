#pragma once

#include <QPushButton>
#include <QString>

#include <functional>
#include <initializer_list>


// Pieces the System page's sections share.
namespace SystemRows {
// A preview button: its text with the symbol before it, in the interface's push-button look.
QPushButton *previewButton(const QString &symbol, const QString &text, std::function<void()> action,
                           QWidget *parent = nullptr);
// A row of widgets, `spacing` apart, in a widget of its own so it can be disabled as one; a
// null entry is a flexible space.
QWidget *row(std::initializer_list<QWidget *> widgets, int spacing = 6, QWidget *parent = nullptr);
// A thin horizontal line between parts of a section.
QWidget *divider(QWidget *parent = nullptr);
}
