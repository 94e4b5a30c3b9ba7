#pragma once

#include "Effects/ScreenToys/ScreenToyPictureCache.h"
#include "Effects/ScreenToys/ScreenToyScene.h"

#include <QRectF>
#include <QRegion>
#include <QWidget>

// One display's click-through, always-on-top, translucent window on which the equipped toy
// is drawn. It never takes the pointer or focus. Each new scene repaints only the parts the
// old and the new scene draw on.
class ScreenToyCanvasView final : public QWidget {
    Q_OBJECT

public:
    // `screenFrame` in global coordinates (y up); `geometry` the same display in Qt's.
    ScreenToyCanvasView(const QRectF &screenFrame, const QRect &geometry);

    const QRectF &screenFrame() const { return m_screenFrame; }
    const ScreenToyScene &scene() const { return m_scene; }
    void setScene(ScreenToyScene scene);
    void setPointer(std::optional<QPointF> pointer);
    void setHandTone(ScreenToyHandTone tone);

    // The canvas as it would appear now, for tools and tests.
    QImage render() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void sceneChanged();

    QRectF m_screenFrame;
    ScreenToyScene m_scene;
    QRegion m_drawn;
    ScreenToyPictureCache m_pictures;
};
