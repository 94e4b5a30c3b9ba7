#include "Effects/CursorEffectController.h"

#include "Effects/OverlayCoordinator.h"
#include "Foundation/ScreenGeometry.h"

#include <QCursor>

CursorEffectController::CursorEffectController(InputCapture &capture, OverlayCoordinator &overlays,
                                               std::function<void()> recordClick, PointerLocation pointer,
                                               QObject *parent)
    : QObject(parent)
    , m_ladder(capture, InputDeviceClass::mouse, threadLabel)
    , m_overlays(overlays)
    , m_recordClick(std::move(recordClick))
    , m_pointer(std::move(pointer))
{
    if (!m_pointer) {
        // Read only when a click happens: no polling of the pointer.
        m_pointer = [] { return ScreenGeometry::fromQt(QCursor::pos(), ScreenGeometry::primaryScreenHeight()); };
    }
}

CursorEffectController::~CursorEffectController()
{
    m_ladder.stop();
}

void CursorEffectController::setCountsClicks(bool counts)
{
    m_countsClicks = counts;
    reconcile();
}

void CursorEffectController::setShowsRipples(bool shows)
{
    m_showsRipples = shows;
    reconcile();
}

void CursorEffectController::reconcile()
{
    const bool wanted = m_countsClicks || m_showsRipples;
    bool observing = m_observing;
    if (wanted && !m_observing) {
        // The reader stops before this object goes, and a queued call dies with its context.
        observing = m_ladder.start([this](const RawInputEvent &event) {
            // Presses only: a click is counted once, not again on release.
            if (event.value != 1 || !InputCodes::isMouseButton(event.code))
                return;
            QMetaObject::invokeMethod(this, [this] { handlePress(); }, Qt::QueuedConnection);
        });
    } else if (!wanted && m_observing) {
        m_ladder.stop();
        observing = false;
    }
    if (observing != m_observing) {
        m_observing = observing;
        emit isObservingChanged(observing);
        emit changed();
    }
}

void CursorEffectController::handlePress()
{
    if (m_countsClicks && m_recordClick)
        m_recordClick();
    if (m_showsRipples)
        m_overlays.showCursorRipple(m_pointer(), m_style);
}
