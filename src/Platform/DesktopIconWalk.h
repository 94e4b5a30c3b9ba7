#pragma once

#include "Platform/AccessibleNode.h"

#include <QHash>
#include <QRectF>

// The bounded walk that collects a desktop file manager's icon frames from its accessible
// tree: at most maxDepth levels below each of the application's windows and at most
// maxIcons entries, so a huge or cyclic tree cannot stall the caller.
namespace DesktopIconWalk {
inline constexpr int maxDepth = 5;
inline constexpr int maxIcons = 48;

// Icons found under the children of one application element; a later equal title wins.
QHash<QString, QRectF> positions(const AccessibleNode &application);
// Whether a role names a desktop icon.
bool isIconRole(const QString &roleName);
}
