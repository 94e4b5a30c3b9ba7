#pragma once

#include <QWidget>

#include <functional>

// Where the whip is grabbed: a small clear window over the grip the canvas draws in the fist
// that, unlike the canvases, takes the pointer. It reports press, drag and release in global
// coordinates (y up) with the time the event reached us on the steady clock, the clock the whip
// model runs on.
class ScreenToyWhipHandle final : public QWidget {
    Q_OBJECT

public:
    static constexpr int side = 52;

    explicit ScreenToyWhipHandle(QWidget *parent = nullptr);

    std::function<void(QPointF point, double time)> onBegin;
    std::function<void(QPointF point, double time)> onDrag;
    std::function<void()> onEnd;

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    static QPointF globalPoint(const QMouseEvent *event);
    static double now();
};
