#pragma once

#include <QDBusConnection>
#include <QObject>

// Announces that the session or the machine is about to end: the session manager asks the
// application to save (commitDataRequest) or logind prepares the shutdown. The process may be
// killed soon after, without a normal quit.
class SessionEndWatcher final : public QObject {
    Q_OBJECT

public:
    explicit SessionEndWatcher(QDBusConnection systemBus, QObject *parent = nullptr);

signals:
    void sessionEnding();

private slots:
    void prepareForShutdown(bool starting);
};
