#include "Platform/Linux/QtDisplayWatcher.h"

#include <QGuiApplication>
#include <QScreen>

bool QtDisplayWatcher::start(Handler handler)
{
    stop();
    if (!qGuiApp)
        return false;
    m_handler = std::move(handler);
    m_connections.append(connect(qGuiApp, &QGuiApplication::screenAdded, this, [this] {
        if (m_handler)
            m_handler(DisplayChange::connected);
    }));
    m_connections.append(connect(qGuiApp, &QGuiApplication::screenRemoved, this, [this] {
        if (m_handler)
            m_handler(DisplayChange::disconnected);
    }));
    return true;
}

void QtDisplayWatcher::stop()
{
    for (const auto &connection : std::as_const(m_connections))
        disconnect(connection);
    m_connections.clear();
    m_handler = nullptr;
}
