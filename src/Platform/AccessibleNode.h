#pragma once

#include <QRect>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

// One element of another application's accessible tree, read on demand.
class AccessibleNode {
public:
    virtual ~AccessibleNode() = default;
    // The role's plain name: "icon", "image", "desktop icon", or another role's name.
    virtual QString roleName() const = 0;
    virtual QString name() const = 0;
    // The element's frame on screen (top-left origin), or none when it cannot be read.
    virtual std::optional<QRect> extents() const = 0;
    virtual std::vector<std::unique_ptr<AccessibleNode>> children() const = 0;
};
