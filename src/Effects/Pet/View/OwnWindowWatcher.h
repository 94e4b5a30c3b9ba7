#pragma once

#include <QObject>
#include <QRectF>

#include <functional>
#include <vector>

class QWidget;
class Scheduler;

// Watches this application's top-level windows and reports the frames of those the pet keeps
// clear of (global y-up coordinates) whenever one is shown, moved, resized or hidden; several
// changes in a row make one report.
class OwnWindowWatcher final : public QObject {
    Q_OBJECT

public:
    enum class Clearance { keptClear, crossed };

    OwnWindowWatcher(Scheduler &scheduler, std::function<void(std::vector<QRectF>)> onFramesChanged,
                     QObject *parent = nullptr);
    ~OwnWindowWatcher() override;

    // Every window a user works in or reads is kept clear of: the control window, the studio,
    // dialogs, the panel and its popups, the HUD. Crossed are the pet's own window, tooltips,
    // and the layers drawn across the desktop: windows that let every click through or sit
    // below all others, or that the window manager never sees. A click-through window with
    // something to read (a toast) asks to be kept clear of with `keepPetClear`.
    static Clearance clearanceOf(const QWidget &window);
    static void keepPetClear(QWidget &clickThroughWindow);

    // The frames of the windows kept clear of now.
    static std::vector<QRectF> frames();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void report();

    Scheduler &m_scheduler;
    std::function<void(std::vector<QRectF>)> m_onFramesChanged;
    bool m_reportPending = false;
};
