#pragma once

#include <QScrollArea>

class QVBoxLayout;

// A control-window page: a vertically scrolling area (bar always shown, never a horizontal
// one) holding a column of sections 16 px apart with 20 px padding. Pages add sections in
// order; the column keeps them at the top.
class PageScaffold : public QScrollArea {
    Q_OBJECT

public:
    explicit PageScaffold(QWidget *parent = nullptr);

    void addSection(QWidget *section);
    void addSection(QLayout *section);
    // Lays the column out and shows or hides the scroll bar now instead of in the next pass of
    // the event loop, so text filled in next is laid out once, at the column's final width.
    void settle();

private:
    QVBoxLayout *m_column = nullptr;
};
