#pragma once

#include "Foundation/UniqueFd.h"

#include <QString>

#include <vector>

struct EvdevDeviceChange {
    enum class Kind { added, removed };
    Kind kind;
    QString node;
};

// Hot-plug notices, readable on an fd that a reader thread adds to its poll set.
class EvdevDeviceWatcher {
public:
    virtual ~EvdevDeviceWatcher() = default;
    virtual int fd() const = 0;
    // The changes waiting on fd().
    virtual std::vector<EvdevDeviceChange> receive() = 0;
    // An fd of the added device when it is one we want and may read, else none.
    virtual UniqueFd open(const QString &node) = 0;
};
