#pragma once

#include <QElapsedTimer>
#include <QImage>
#include <QTimer>
#include <QWidget>

// A frameless, always-on-top panel that never takes focus and lets every click through to
// the windows beneath. Subclasses draw one frame for a given time since the panel appeared.
// Without a compositor the panel is shaped to what it draws, so its transparent parts show
// the desktop instead of black.
class OverlayPanel : public QWidget {
    Q_OBJECT

public:
    enum class Blending { translucent, shaped };

    OverlayPanel(Blending blending, QWidget *parent = nullptr);

    Blending blending() const { return m_blending; }
    // Places the panel at a Qt global rectangle and starts its animation.
    void present(const QRect &geometry);
    double elapsedSeconds() const;

    // The panel's picture at a time since it appeared, and the window shape that keeps only
    // its clearly drawn pixels.
    QImage frameAt(double elapsedSeconds);
    static QRegion shapeOf(const QImage &frame);

protected:
    virtual void paintFrame(QPainter &painter, double elapsedSeconds) = 0;
    // Whether another frame is needed after this time; still panels stop redrawing.
    virtual bool animates(double elapsedSeconds) const { return true; }

    void paintEvent(QPaintEvent *event) override;
    // Draws the next frame soon, for panels whose content changed while still.
    void refresh();

private:
    void tick();

    Blending m_blending;
    QElapsedTimer m_clock;
    QTimer m_frameTimer;
    QImage m_shapedFrame;
};
