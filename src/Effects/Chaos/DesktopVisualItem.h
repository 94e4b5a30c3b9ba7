#pragma once

#include <QImage>
#include <QRectF>
#include <QString>
#include <QUrl>

#include <optional>

// One Desktop entry, or a placeholder, as a chaos run shows it.
struct DesktopVisualItem {
    QString name;  // the file name without its extension, or the placeholder's name
    QImage image;  // the file's icon or the placeholder's symbol; may be null
    std::optional<QUrl> url;       // the Desktop entry; none for placeholders
    std::optional<QRectF> axBounds; // where the file manager draws the icon (top-left origin, y down)
};
