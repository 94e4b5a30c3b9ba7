#pragma once

#include "Effects/Chaos/DesktopVisualItem.h"

#include <QHash>
#include <QStringList>

#include <vector>

// The Desktop's entries as chaos items, read afresh at each run.
namespace DesktopItems {
inline constexpr int maxItems = 24;

// The folder's visible entries (files and folders) in the file manager's order:
// case-insensitive, digits compared as numbers. Empty when the folder cannot be listed.
QStringList sortedEntryNames(const QString &folder);
// At most maxItems items from the folder, each with its icon frame when the file manager
// reports one under the full file name or the name without its extension.
std::vector<DesktopVisualItem> load(const QString &folder, const QHash<QString, QRectF> &iconFrames);
// Exactly count items: the first of the given ones, then placeholders in their fixed order.
std::vector<DesktopVisualItem> expandedItems(const std::vector<DesktopVisualItem> &items, int count);
// The placeholder of row k modulo the table's size.
DesktopVisualItem placeholder(int k);
}
