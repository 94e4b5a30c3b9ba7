#pragma once

#include <QList>
#include <QString>

#include <functional>

struct MountEntry {
    QString mountPoint;
    QString source;
    QString fileSystemType;

    friend bool operator==(const MountEntry &, const MountEntry &) = default;
};

// The mounted file systems, and a call on the GUI thread whenever the table changes.
class MountWatcher {
public:
    using Handler = std::function<void()>;

    virtual ~MountWatcher() = default;
    virtual bool start(Handler onChange) = 0;
    virtual void stop() = 0;
    virtual QList<MountEntry> mounts() const = 0;
};
