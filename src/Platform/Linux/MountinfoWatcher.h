#pragma once

#include "Foundation/UniqueFd.h"
#include "Platform/MountWatcher.h"

#include <QObject>

#include <memory>

class QSocketNotifier;

// The mount table of /proc/self/mountinfo; the kernel flags the open file when the table
// changes, so no polling is needed.
class MountinfoWatcher final : public QObject, public MountWatcher {
    Q_OBJECT

public:
    explicit MountinfoWatcher(QString path = QStringLiteral("/proc/self/mountinfo"), QObject *parent = nullptr);
    ~MountinfoWatcher() override;

    bool start(Handler onChange) override;
    void stop() override;
    QList<MountEntry> mounts() const override;

    // The entries of a mountinfo text; malformed lines are skipped.
    static QList<MountEntry> parse(const QByteArray &text);

private:
    QString m_path;
    UniqueFd m_fd;
    std::unique_ptr<QSocketNotifier> m_notifier;
    Handler m_onChange;
};
