#include "Effects/Pet/View/OwnWindowWatcher.h"

#include "Effects/Pet/View/PetWindow.h"
#include "Foundation/Scheduler.h"
#include "Foundation/ScreenGeometry.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

namespace {
const char *const keepsPetClearProperty = "plinklyKeepsPetClear";
}

OwnWindowWatcher::OwnWindowWatcher(Scheduler &scheduler, std::function<void(std::vector<QRectF>)> onFramesChanged,
                                   QObject *parent)
    : QObject(parent)
    , m_scheduler(scheduler)
    , m_onFramesChanged(std::move(onFramesChanged))
{
    qApp->installEventFilter(this);
    // Windows already open count from the start.
    report();
}

OwnWindowWatcher::~OwnWindowWatcher()
{
    qApp->removeEventFilter(this);
}

OwnWindowWatcher::Clearance OwnWindowWatcher::clearanceOf(const QWidget &window)
{
    if (!window.isWindow() || !window.isVisible() || window.isMinimized() || window.testAttribute(Qt::WA_DontShowOnScreen)
        || qobject_cast<const PetWindow *>(&window) || window.windowType() == Qt::ToolTip)
        return Clearance::crossed;
    if (window.property(keepsPetClearProperty).toBool())
        return Clearance::keptClear;
    const Qt::WindowFlags layers =
        Qt::WindowTransparentForInput | Qt::WindowStaysOnBottomHint | Qt::X11BypassWindowManagerHint;
    return window.windowFlags() & layers ? Clearance::crossed : Clearance::keptClear;
}

void OwnWindowWatcher::keepPetClear(QWidget &clickThroughWindow)
{
    clickThroughWindow.setProperty(keepsPetClearProperty, true);
}

std::vector<QRectF> OwnWindowWatcher::frames()
{
    std::vector<QRectF> frames;
    const qreal primaryHeight = ScreenGeometry::primaryScreenHeight();
    for (const QWidget *window : QApplication::topLevelWidgets()) {
        if (clearanceOf(*window) == Clearance::keptClear)
            frames.push_back(ScreenGeometry::fromQt(QRectF(window->frameGeometry()), primaryHeight));
    }
    return frames;
}

bool OwnWindowWatcher::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::Show:
    case QEvent::Hide:
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::WindowStateChange:
        // The pet's own moves change nothing it keeps clear of.
        if (watched->isWidgetType() && static_cast<QWidget *>(watched)->isWindow() && !qobject_cast<PetWindow *>(watched)
            && !m_reportPending) {
            m_reportPending = true;
            m_scheduler.schedule(std::chrono::milliseconds(0), this, [this] { report(); });
        }
        break;
    default:
        break;
    }
    return false;
}

void OwnWindowWatcher::report()
{
    m_reportPending = false;
    if (m_onFramesChanged)
        m_onFramesChanged(frames());
}
