#pragma once

#include <QColor>
#include <QWidget>

// A widget drawn as a rounded rectangle with a fill and an optional 1-pixel border; the
// base of the panels, cards and pills.
class CardFrame : public QWidget {
    Q_OBJECT

public:
    CardFrame(qreal radius, const QColor &fill, const QColor &border, QWidget *parent = nullptr);

    void setFill(const QColor &fill);
    // A radius of half the height gives a capsule.
    void setCapsule(bool capsule);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    qreal m_radius;
    QColor m_fill;
    QColor m_border;
    bool m_capsule = false;
};
