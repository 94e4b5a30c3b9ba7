#pragma once

#include <QPoint>

#include <functional>

// The pointer and its left button wherever they are on the desktop, whichever window is
// under them. Used on the GUI thread; events arrive there too.
class GlobalPointer {
public:
    enum class Event { moved, leftDown, leftUp };
    using Handler = std::function<void(Event)>;

    virtual ~GlobalPointer() = default;
    // Qt global coordinates.
    virtual QPoint position() const = 0;
    virtual bool leftButtonIsDown() const = 0;
    // False when this session offers no desktop-wide pointer events; nothing is kept then.
    virtual bool start(Handler handler) = 0;
    // Harmless when not started; the handler is not called afterwards.
    virtual void stop() = 0;
};
