#pragma once

#include "Effects/Overlays/StatsOverlayView.h"
#include "Effects/Pet/PetPlacement.h"
#include "Effects/StatsOverlayPresentation.h"

#include <QObject>
#include <QPointer>

#include <functional>

class OverlayWindowSupport;

// The typing HUD: shown while statistics and the HUD are on, placed by a PetPlacement
// within the free room of the screen it is on (inset from its edges), and draggable by the user.
class StatsOverlayController final : public QObject {
    Q_OBJECT

public:
    // Distance kept from every edge of the screen's free area, so even the corners stay clear of
    // a panel and its tray icons that reserve no room of their own.
    static constexpr int screenInset = 28;

    StatsOverlayController(OverlayWindowSupport &support, Scheduler &scheduler, QObject *parent = nullptr);
    ~StatsOverlayController() override;

    StatsOverlayPresentation &presentation() { return m_presentation; }

    void setVisible(bool visible);
    bool isVisible() const;

    PetPlacement placement() const { return m_placement; }
    // Moves the HUD there unless it is there already.
    void setPlacement(PetPlacement placement);
    // Called with the new placement after the user drags the HUD.
    std::function<void(PetPlacement)> onPlacementChanged;

    StatsOverlayView *view() const { return m_view; }

private:
    void applyPlacement();
    void viewMoved();

    OverlayWindowSupport &m_support;
    StatsOverlayPresentation m_presentation;
    PetPlacement m_placement;
    QPointer<StatsOverlayView> m_view;
};
