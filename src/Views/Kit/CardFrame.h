#pragma once

#include "Views/Kit/KitStyle.h"

#include <QColor>
#include <QWidget>

#include <optional>

// A widget drawn as a rounded rectangle with a fill and an optional 1-pixel border; the
// base of the panels, cards and pills.
class CardFrame : public QWidget {
    Q_OBJECT

public:
    // A kit colour role at an opacity, resolved when painting so it follows the scheme.
    struct Tone {
        ColorRole role;
        double opacity = 1.0;
    };

    CardFrame(qreal radius, const QColor &fill, const QColor &border, QWidget *parent = nullptr);
    CardFrame(qreal radius, Tone fill, Tone border, QWidget *parent = nullptr);

    void setFill(const QColor &fill);
    // A radius of half the height gives a capsule.
    void setCapsule(bool capsule);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    qreal m_radius;
    QColor m_fill;
    QColor m_border;
    std::optional<Tone> m_fillTone;
    std::optional<Tone> m_borderTone;
    bool m_capsule = false;
};
