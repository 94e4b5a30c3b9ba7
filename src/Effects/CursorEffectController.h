#pragma once

#include "Effects/CursorRippleStyle.h"
#include "Services/Input/InputSourceLadder.h"

#include <QObject>
#include <QPointF>

#include <functional>

class OverlayCoordinator;

// The click observer: hears every mouse-button press (never the pointer's movement), counts
// it for the statistics while they are on, and shows a ripple at the pointer while cursor
// effects are on.
class CursorEffectController final : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool isObserving READ isObserving NOTIFY isObservingChanged)

public:
    static inline const QString threadLabel = QStringLiteral("local.knockwell.clicks");

    using PointerLocation = std::function<QPointF()>;

    // `recordClick` counts one click; `pointer` gives the pointer's global position, y up
    // (the real pointer when not given).
    CursorEffectController(InputCapture &capture, OverlayCoordinator &overlays, std::function<void()> recordClick,
                           PointerLocation pointer = {}, QObject *parent = nullptr);
    ~CursorEffectController() override;

    void setCountsClicks(bool counts);
    void setShowsRipples(bool shows);
    void setStyle(CursorRippleStyle style) { m_style = style; }
    bool countsClicks() const { return m_countsClicks; }
    bool showsRipples() const { return m_showsRipples; }
    CursorRippleStyle style() const { return m_style; }

    bool isObserving() const { return m_observing; }

signals:
    void changed();
    void isObservingChanged(bool observing);

private:
    void reconcile();
    void handlePress();

    InputSourceLadder m_ladder;
    OverlayCoordinator &m_overlays;
    std::function<void()> m_recordClick;
    PointerLocation m_pointer;
    bool m_countsClicks = false;
    bool m_showsRipples = false;
    bool m_observing = false;
    CursorRippleStyle m_style = CursorRippleStyle::bubbles;
};
