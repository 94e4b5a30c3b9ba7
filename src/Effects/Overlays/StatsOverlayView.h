#pragma once

#include <QPoint>
#include <QWidget>

#include <functional>

class StatsOverlayPresentation;

// The typing HUD: a small card with keys, clicks and keys per minute. It never takes focus
// but catches the mouse so it can be dragged; `onMoved` reports where a drag left it.
class StatsOverlayView final : public QWidget {
    Q_OBJECT

public:
    static constexpr QSize panelSize{300, 74};

    StatsOverlayView(const StatsOverlayPresentation &presentation, bool blendsTranslucent, QWidget *parent = nullptr);

    std::function<void()> onMoved;

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    const StatsOverlayPresentation &m_presentation;
    bool m_dragging = false;
    QPoint m_grabOffset;
};
