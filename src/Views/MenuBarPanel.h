#pragma once

#include <QWidget>

#include <array>

class AppModel;
class WindowSync;
class PanelSection;

// The panel the tray icon opens: one fixed-width column of the application's quick controls.
// It keeps no state of its own and redraws from the application's change announcement,
// coalesced into one sync per turn of the event loop; each time it is shown it asks the
// application to start (only the first call does anything).
class MenuBarPanel final : public QWidget {
    Q_OBJECT

public:
    static constexpr int panelWidth = 330;

    explicit MenuBarPanel(AppModel &app);

    // Shows the panel with its current values next to `anchor` (the tray icon, or the pointer
    // as an empty rectangle), inside `available`.
    void popUp(const QRect &anchor, const QRect &available);
    // Shows the current values at once; does nothing while the panel is hidden.
    void sync();

protected:
    void showEvent(QShowEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    void refresh();
    // Brings every layout under the widget up to date, innermost first.
    static void activateLayouts(QWidget *widget);

    AppModel &m_app;
    std::array<PanelSection *, 7> m_sections{};
    WindowSync *m_sync;
    QRect m_anchor;
};
