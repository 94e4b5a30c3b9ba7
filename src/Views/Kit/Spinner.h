#pragma once

#include <QTimer>
#include <QWidget>

// A small indeterminate progress wheel; it animates only while shown.
class Spinner final : public QWidget {
    Q_OBJECT

public:
    explicit Spinner(int diameter = 16, QWidget *parent = nullptr);

    QSize sizeHint() const override { return {m_diameter, m_diameter}; }
    // The spokes' colour; the secondary colour until set.
    void setColor(const QColor &color);

protected:
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    int m_diameter;
    int m_step = 0;
    QColor m_color;
    QTimer m_timer;
};
