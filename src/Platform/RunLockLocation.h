#pragma once

#include <QString>

namespace RunLockLocation {
// "<runtime or temporary folder>/plinkly-<uid>.lock".
QString defaultPath();
}
