#pragma once

#include "Services/InteractionSnapshot.h"

#include <QObject>
#include <QString>

#include <chrono>

class Scheduler;

// What the typing HUD shows: the totals, the typing speed and, for a moment, the last key.
class StatsOverlayPresentation final : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString lastKeyLabel READ lastKeyLabel NOTIFY changed)

public:
    static constexpr std::chrono::milliseconds keyLabelDuration{900};

    explicit StatsOverlayPresentation(Scheduler &scheduler, QObject *parent = nullptr);

    const InteractionSnapshot &snapshot() const { return m_snapshot; }
    // Empty when no key is shown.
    QString lastKeyLabel() const { return m_lastKeyLabel; }

    void update(const InteractionSnapshot &snapshot);
    // Shows the label until keyLabelDuration passes without another key.
    void showKey(const QString &label);

signals:
    void changed();

private:
    Scheduler &m_scheduler;
    InteractionSnapshot m_snapshot;
    QString m_lastKeyLabel;
    quint64 m_keyGeneration = 0;
};
