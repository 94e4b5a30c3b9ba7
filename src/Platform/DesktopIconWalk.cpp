#include "Platform/DesktopIconWalk.h"

namespace {
void visit(const AccessibleNode &node, int depth, QHash<QString, QRectF> &found)
{
    if (depth > DesktopIconWalk::maxDepth || found.size() >= DesktopIconWalk::maxIcons)
        return;
    if (DesktopIconWalk::isIconRole(node.roleName())) {
        const QString title = node.name();
        const auto frame = title.isEmpty() ? std::nullopt : node.extents();
        if (frame) {
            // An icon's own children are its label and emblem, never further icons.
            found.insert(title, QRectF(*frame));
            return;
        }
    }
    for (const auto &child : node.children())
        visit(*child, depth + 1, found);
}
}

bool DesktopIconWalk::isIconRole(const QString &roleName)
{
    return roleName == QLatin1String("icon") || roleName == QLatin1String("image")
           || roleName == QLatin1String("desktop icon");
}

QHash<QString, QRectF> DesktopIconWalk::positions(const AccessibleNode &application)
{
    QHash<QString, QRectF> found;
    for (const auto &window : application.children())
        visit(*window, 0, found);
    return found;
}
