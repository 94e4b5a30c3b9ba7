#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGTERM, SIGINT and SIGHUP (logout, `kill`, Ctrl+C) into a signal on the event loop,
// so the application quits through its normal path and saves what it holds. The handler only
// writes to a pipe; everything else happens on the GUI thread. One instance per process.
class TerminationSignals final : public QObject {
    Q_OBJECT

public:
    explicit TerminationSignals(QObject *parent = nullptr);
    ~TerminationSignals() override;

signals:
    void terminationRequested();

private:
    void drain();

    QSocketNotifier *m_notifier = nullptr;
};
