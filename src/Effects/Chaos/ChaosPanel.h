#pragma once

#include "Effects/Chaos/ChaosClickCounter.h"
#include "Effects/Chaos/ChaosScene.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

// The window of one screen during a chaos run: kept below ordinary windows and above the
// desktop's icons, never activated by showing, and stepping its scene at 60 Hz only
// while it is on screen.
class ChaosPanel final : public QWidget {
    Q_OBJECT

public:
    static inline const QString windowTitle = QStringLiteral("Plinkly desktop physics");

    // A panel that takes focus on click hears Esc itself; for when no global key source runs.
    ChaosPanel(std::unique_ptr<ChaosScene> scene, bool takesFocusOnClick, QWidget *parent = nullptr);

    ChaosScene &scene() { return *m_scene; }
    // Shows the panel at a Qt global rectangle, fading in.
    void present(const QRect &geometry);
    // Stops and empties the scene and closes the panel once control returns to the event
    // loop, so it may be called from the panel's own event handlers.
    void dismiss();

    std::function<void()> onEscape;

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    QPointF scenePoint(QPointF widgetPoint) const;
    void tick();

    std::unique_ptr<ChaosScene> m_scene;
    bool m_takesFocusOnClick;
    ChaosClickCounter m_clicks;
    int m_pressClickCount = 0;
    QTimer m_stepTimer;
    QElapsedTimer m_clock;
    double m_pendingSeconds = 0;
};
