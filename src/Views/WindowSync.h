#pragma once

#include <QColor>
#include <QObject>
#include <QTimer>

#include <functional>
#include <optional>

class AppModel;
class QWidget;

// Keeps a window in step with the app: the app's change announcements and a new colour scheme
// each ask for a sync, coalesced into one per turn of the event loop. It also holds the accent
// the window's palette was made in; a new scheme makes that palette stale (links, dimmed
// sliders), so the next sync makes it again.
class WindowSync final : public QObject {
    Q_OBJECT

public:
    WindowSync(QWidget *window, AppModel &app, std::function<void()> sync);

    // Called as the sync starts: a request still waiting is answered by it.
    void clearRequest() { m_timer.stop(); }
    // The app's accent, when the window's palette was made in another or in an earlier scheme:
    // the palette is made again in it first. None when it is current.
    std::optional<QColor> refreshAccent();
    const QColor &accent() const { return m_accent; }

private:
    QWidget *m_window;
    AppModel &m_app;
    QTimer m_timer;
    QColor m_accent;
};
