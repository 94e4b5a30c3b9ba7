#pragma once

#include <QWidget>

// A one-pixel horizontal rule in the separator colour of the current scheme.
class DividerLine final : public QWidget {
    Q_OBJECT

public:
    explicit DividerLine(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};
