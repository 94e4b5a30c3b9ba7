#pragma once

#include "Platform/DisplayWatcher.h"

#include <QObject>

// Displays as the GUI toolkit sees them come and go.
class QtDisplayWatcher final : public QObject, public DisplayWatcher {
    Q_OBJECT

public:
    using QObject::QObject;

    bool start(Handler handler) override;
    void stop() override;

private:
    Handler m_handler;
    QList<QMetaObject::Connection> m_connections;
};
