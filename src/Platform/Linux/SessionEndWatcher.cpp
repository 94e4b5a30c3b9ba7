#include "Platform/Linux/SessionEndWatcher.h"

#include <QGuiApplication>

SessionEndWatcher::SessionEndWatcher(QDBusConnection systemBus, QObject *parent) : QObject(parent)
{
    if (auto *application = qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        connect(application, &QGuiApplication::commitDataRequest, this, &SessionEndWatcher::sessionEnding);
    if (systemBus.isConnected())
        systemBus.connect(QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
                          QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("PrepareForShutdown"), this,
                          SLOT(prepareForShutdown(bool)));
}

void SessionEndWatcher::prepareForShutdown(bool starting)
{
    if (starting)
        emit sessionEnding();
}
