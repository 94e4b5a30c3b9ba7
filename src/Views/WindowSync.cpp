#include "Views/WindowSync.h"

#include "Views/AppModel.h"
#include "Views/Kit/KitStyle.h"
#include "Views/Kit/SchemeFollower.h"

#include <QWidget>

WindowSync::WindowSync(QWidget *window, AppModel &app, std::function<void()> sync)
    : QObject(window)
    , m_window(window)
    , m_app(app)
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(0);
    connect(&m_timer, &QTimer::timeout, this, std::move(sync));
    connect(&m_app, &AppModel::changed, &m_timer, qOverload<>(&QTimer::start));
    SchemeFollower::follow(window, [this] {
        m_accent = QColor();
        m_timer.start();
    });
    // A window closed for good is deleted a turn later and may outlive the application.
    connect(&m_app, &QObject::destroyed, &m_timer, &QTimer::stop);
}

std::optional<QColor> WindowSync::refreshAccent()
{
    const QColor accent = KitStyle::accent(m_app.settings());
    if (accent == m_accent)
        return std::nullopt;
    m_accent = accent;
    KitStyle::applyWindowPalette(m_window, accent);
    return accent;
}
