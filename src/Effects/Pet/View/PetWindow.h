#pragma once

#include "Effects/Pet/PetPanel.h"

#include <QImage>
#include <QRegion>
#include <QWidget>

class DesktopPetView;
class OverlayWindowSupport;
class PetPresentation;
class Scheduler;

// The pet's panel on the desktop: a frameless tool window above normal windows, on every
// workspace, never taking focus. Only the figure and the open card catch the pointer; clicks
// anywhere else in the panel reach the windows beneath. Without a compositor the window is
// shaped to what it draws.
class PetWindow final : public QWidget, public PetPanel {
    Q_OBJECT

public:
    PetWindow(PetPresentation &presentation, Scheduler &scheduler, const OverlayWindowSupport &support,
              PetPanelCallbacks callbacks);
    ~PetWindow() override;

    QRectF frame() const override;
    void setFrame(const QRectF &frame) override;
    void orderFront() override;
    void orderOut() override;

    DesktopPetView &view() const { return *m_view; }

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void refreshShape();

    const OverlayWindowSupport &m_support;
    DesktopPetView *m_view;
    bool m_shaped;
    QRegion m_inputRegion;
    QRegion m_mask;
};
