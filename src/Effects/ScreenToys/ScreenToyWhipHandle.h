#pragma once

#include <QWidget>

#include <functional>

// The whip's grip: a small window that, unlike the canvases, takes the pointer. It reports
// press, drag and release in global coordinates (y up) with the time the event reached us on
// the steady clock, the clock the whip model runs on.
class ScreenToyWhipHandle final : public QWidget {
    Q_OBJECT

public:
    static constexpr int side = 52;

    explicit ScreenToyWhipHandle(QWidget *parent = nullptr);

    std::function<void(QPointF point, double time)> onBegin;
    std::function<void(QPointF point, double time)> onDrag;
    std::function<void()> onEnd;

    // The grip's rectangle in the view's own y-up coordinates.
    static QRectF gripRect(const QRectF &bounds);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    static QPointF globalPoint(const QMouseEvent *event);
    static double now();
};
